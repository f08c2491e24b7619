// Paints the game's background, a dim starfield over a deep blue haze, and writes
// it as a PNG. Its own generator keeps the picture the same on every machine.
#include <SFML/Graphics/Image.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kStars = 2200;

struct Lcg {
    std::uint32_t state;
    std::uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    float unit() { return static_cast<float>(next() & 0xFFFF) / 65535.f; }
};

sf::Uint8 clampByte(float v) { return static_cast<sf::Uint8>(v < 0.f ? 0.f : (v > 255.f ? 255.f : v)); }
}  // namespace

int main(int argc, char** argv) {
    const char* out = argc > 1 ? argv[1] : "assets/space.png";
    sf::Image image;
    image.create(kWidth, kHeight);
    for (unsigned y = 0; y < kHeight; ++y) {
        for (unsigned x = 0; x < kWidth; ++x) {
            const float fy = static_cast<float>(y) / kHeight;
            const float fx = static_cast<float>(x) / kWidth;
            // Two soft glows, quantised coarsely so the file stays small.
            const float glow = std::exp(-((fx - 0.7f) * (fx - 0.7f) * 6.f + (fy - 0.35f) * (fy - 0.35f) * 10.f));
            const float glow2 = std::exp(-((fx - 0.2f) * (fx - 0.2f) * 8.f + (fy - 0.8f) * (fy - 0.8f) * 8.f));
            const float r = std::floor((8.f + 40.f * glow + 10.f * glow2) / 2.f) * 2.f;
            const float g = std::floor((6.f + 12.f * glow + 25.f * glow2) / 2.f) * 2.f;
            const float b = std::floor((20.f + 45.f * glow + 40.f * glow2 + 10.f * fy) / 2.f) * 2.f;
            image.setPixel(x, y, sf::Color(clampByte(r), clampByte(g), clampByte(b)));
        }
    }
    Lcg rng{20261206u};
    for (int i = 0; i < kStars; ++i) {
        const unsigned x = rng.next() % kWidth;
        const unsigned y = rng.next() % kHeight;
        const float bright = 90.f + 165.f * rng.unit() * rng.unit();
        const sf::Uint8 v = clampByte(bright);
        image.setPixel(x, y, sf::Color(v, v, clampByte(bright + 20.f)));
        if (bright > 220.f && x + 1 < kWidth && y + 1 < kHeight) {
            const sf::Uint8 half = clampByte(bright / 2.f);
            image.setPixel(x + 1, y, sf::Color(half, half, half));
            image.setPixel(x, y + 1, sf::Color(half, half, half));
        }
    }
    if (!image.saveToFile(out)) {
        std::fprintf(stderr, "could not write %s\n", out);
        return 1;
    }
    return 0;
}
