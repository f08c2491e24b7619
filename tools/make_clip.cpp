// Plays a few seeded seconds of the game and writes them as a small looping clip for the
// release's download page. Brick labels and the timer are left out: at this size, specks.
// Painted on the CPU, an animated PNG put together round stb's portable PNG writer: OpenGL and
// libwebp take paths that differ by processor, and GIF's 256 colours would band the haze.
#include "app/assets.h"
#include "app/game.h"
#include "app/world.h"
#include "support.h"

#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr unsigned kSeed = 7;
constexpr int kShrink = 4;  // world units a clip pixel spans each way: 480 by 270
constexpr int kWidth = static_cast<int>(kWorldWidth);
constexpr int kHeight = static_cast<int>(kWorldHeight);
constexpr int kSkippedFrames = 1560;  // 26 s in: a dozen balls out, most of the wall standing
constexpr int kFrameStep = 3;        // 20 frames a second
constexpr int kKeptFrames = 80;

// The game's picture at one pixel a world unit, painted before it is shrunk.
using World = std::vector<sf::Color>;

int firstPixelFrom(float edge, int limit) {
    const int p = static_cast<int>(std::ceil(edge - 0.5f));  // the first pixel centre past the edge
    return p < 0 ? 0 : (p > limit ? limit : p);
}

void fill(World& world, sf::FloatRect box, sf::Color color) {
    const int right = firstPixelFrom(box.left + box.width, kWidth);
    const int bottom = firstPixelFrom(box.top + box.height, kHeight);
    for (int y = firstPixelFrom(box.top, kHeight); y < bottom; ++y)
        for (int x = firstPixelFrom(box.left, kWidth); x < right; ++x)
            world[y * kWidth + x] = color;
}

// The outline band, then the body inside it; the game's outlines are all drawn inward.
void paintRectangle(World& world, const sf::RectangleShape& shape) {
    const sf::FloatRect box = shape.getTransform().transformRect({{0.f, 0.f}, shape.getSize()});
    const float inset = std::max(0.f, -shape.getOutlineThickness());
    fill(world, box, shape.getOutlineColor());
    fill(world, {box.left + inset, box.top + inset, box.width - 2 * inset, box.height - 2 * inset},
         shape.getFillColor());
}

// A true disc: at this size it is the ball's polygon to within a fraction of a clip pixel.
void paintBall(World& world, const sf::CircleShape& shape) {
    const sf::Vector2f c = shape.getPosition();
    const float r = shape.getRadius();
    const int right = firstPixelFrom(c.x + r, kWidth);
    const int bottom = firstPixelFrom(c.y + r, kHeight);
    for (int y = firstPixelFrom(c.y - r, kHeight); y < bottom; ++y) {
        for (int x = firstPixelFrom(c.x - r, kWidth); x < right; ++x) {
            const float dx = x + 0.5f - c.x, dy = y + 0.5f - c.y;
            if (dx * dx + dy * dy <= r * r)
                world[y * kWidth + x] = shape.getFillColor();
        }
    }
}

// In the order the game draws them.
void paintWorld(const Game& game, const World& background, World& world) {
    world = background;
    paintRectangle(world, game.paddle);
    for (const auto& brick : game.bricks)
        if (brick)
            paintRectangle(world, brick->shape);
    for (const Ball& ball : game.balls)
        paintBall(world, ball.shape);
}

// Each clip pixel the rounded mean of the world pixels it covers.
sf::Image shrink(const World& world) {
    sf::Image image;
    image.create(kWidth / kShrink, kHeight / kShrink);
    for (int y = 0; y < kHeight / kShrink; ++y) {
        for (int x = 0; x < kWidth / kShrink; ++x) {
            std::array<unsigned, 3> sum{};
            for (int i = 0; i < kShrink * kShrink; ++i) {
                const sf::Color c = world[(y * kShrink + i / kShrink) * kWidth + x * kShrink + i % kShrink];
                sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
            }
            constexpr unsigned kCovered = kShrink * kShrink;
            const auto mean = [](unsigned s) { return static_cast<sf::Uint8>((s + kCovered / 2) / kCovered); };
            image.setPixel(x, y, sf::Color(mean(sum[0]), mean(sum[1]), mean(sum[2])));
        }
    }
    return image;
}

World loadBackground() {
    sf::Image image;
    if (!image.loadFromFile(kBackgroundPath) || image.getSize() != sf::Vector2u(kWidth, kHeight))
        throw std::runtime_error(std::string("no world-sized ") + kBackgroundPath);
    const sf::Color* pixels = reinterpret_cast<const sf::Color*>(image.getPixelsPtr());
    return World(pixels, pixels + kWidth * kHeight);
}

void buildGame(Game& game) {
    useScriptedWindow();
    game.font = loadGameFont();
    std::srand(kSeed);
    game.initLevel();
}

// Steered as a player would, off-centre by turns so the balls sweep the wall.
std::vector<sf::Image> play(Game& game) {
    const World background = loadBackground();
    World world;
    std::vector<sf::Image> frames;
    script().events.push_back(mousePress());
    for (int frame = 0; frame < kSkippedFrames + kKeptFrames * kFrameStep; ++frame) {
        script().mouse = {mouseUnderFallingBall(game, ((frame / 97) % 9 - 4) * 17), 900};
        game.update();
        if (frame >= kSkippedFrames && (frame - kSkippedFrames) % kFrameStep == 0) {
            paintWorld(game, background, world);
            frames.push_back(shrink(world));
        }
    }
    return frames;
}

// What changed since the previous frame, within the box of the changes; the rest transparent,
// so the frame drawn over the last one leaves it be.
sf::Image changes(const sf::Image& before, const sf::Image& now, sf::Vector2u& corner) {
    const sf::Vector2u size = now.getSize();
    unsigned left = size.x, top = size.y, right = 0, bottom = 0;
    for (unsigned y = 0; y < size.y; ++y) {
        for (unsigned x = 0; x < size.x; ++x) {
            if (before.getPixel(x, y) != now.getPixel(x, y)) {
                left = std::min(left, x), right = std::max(right, x + 1);
                top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
    }
    if (right == 0)
        left = top = 0, right = bottom = 1;  // nothing moved: one unchanged pixel
    sf::Image part;
    part.create(right - left, bottom - top, sf::Color::Transparent);
    for (unsigned y = top; y < bottom; ++y)
        for (unsigned x = left; x < right; ++x)
            if (before.getPixel(x, y) != now.getPixel(x, y))
                part.setPixel(x - left, y - top, now.getPixel(x, y));
    corner = {left, top};
    return part;
}

// SFML 2.5 writes PNGs only to files: this one goes through a scratch file.
std::string pngBytes(const sf::Image& image, const std::string& file) {
    if (!image.saveToFile(file))
        throw std::runtime_error("could not write " + file);
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t readBig(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = v << 8 | static_cast<unsigned char>(s[at + i]);
    return v;
}

std::string big(std::uint32_t v, int bytes = 4) {
    std::string s;
    for (int i = bytes - 1; i >= 0; --i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

// The data of a PNG's chunks of one type, run together (IDAT, where the picture is).
std::string chunkData(const std::string& png, const std::string& type) {
    std::string data;
    for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + readBig(png, at))
        if (png.compare(at + 4, 4, type) == 0)
            data += png.substr(at + 8, readBig(png, at));
    return data;
}

std::uint32_t crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char b : bytes) {
        crc ^= static_cast<unsigned char>(b);
        for (int k = 0; k < 8; ++k)
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void appendChunk(std::string& out, const std::string& type, const std::string& data) {
    out += big(static_cast<std::uint32_t>(data.size())) + type + data + big(crc32(type + data));
}

// The first frame whole, each next one as its changes blended over it, looping for ever.
std::string animatedPng(const std::vector<sf::Image>& frames, const std::string& scratch) {
    const std::string first = pngBytes(frames[0], scratch);
    std::string out = first.substr(0, 8);
    appendChunk(out, "IHDR", chunkData(first, "IHDR"));
    appendChunk(out, "acTL", big(static_cast<std::uint32_t>(frames.size())) + big(0));
    std::uint32_t sequence = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        sf::Vector2u corner;
        const sf::Image part = i == 0 ? frames[0] : changes(frames[i - 1], frames[i], corner);
        const char blend = i == 0 ? 0 : 1;  // the source as it is, then over the last frame
        appendChunk(out, "fcTL",
                    big(sequence++) + big(part.getSize().x) + big(part.getSize().y) + big(corner.x) +
                        big(corner.y) + big(kFrameStep, 2) + big(kFramesPerSecond, 2) + '\0' + blend);
        const std::string data = chunkData(i == 0 ? first : pngBytes(part, scratch), "IDAT");
        if (i == 0)
            appendChunk(out, "IDAT", data);
        else
            appendChunk(out, "fdAT", big(sequence++) + data);
    }
    appendChunk(out, "IEND", "");
    return out;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_clip OUT_FILE (run from the repository root)\n");
        return 2;
    }
    const std::string out = argv[1], scratch = out + ".frame.png";
    try {
        Game game;
        buildGame(game);
        const std::string clip = animatedPng(play(game), scratch);
        std::remove(scratch.c_str());
        std::ofstream file(out, std::ios::binary);
        if (!(file << clip).flush())
            throw std::runtime_error("could not write " + out);
        std::printf("%s: %d frames, %zu bytes\n", out.c_str(), kKeptFrames, clip.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_clip: %s\n", e.what());
        return 1;
    }
    return 0;
}
