// Paints the game's icon, a paddle sending the ball up at a wall on a rounded dark
// square, at the sizes desktops look for, and writes them as PNGs: DIR/48x48.png and so on.
#include <SFML/Graphics/Image.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {
constexpr unsigned kSizes[] = {48, 64, 128, 256};
constexpr int kSubsamples = 4;  // per axis, so edges are smooth at every size

struct Rgba {
    float r, g, b, a;
};

// Distance outside a rectangle with rounded corners, centred at cx, cy; negative inside.
float roundedBox(float x, float y, float cx, float cy, float halfW, float halfH, float radius) {
    const float qx = std::fabs(x - cx) - halfW + radius;
    const float qy = std::fabs(y - cy) - halfH + radius;
    const float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - radius;
}

// The picture in units of the icon's side, y down; later shapes cover earlier ones.
Rgba colourAt(float x, float y) {
    if (roundedBox(x, y, 0.5f, 0.5f, 0.5f, 0.5f, 0.18f) > 0.f) return {0, 0, 0, 0};
    Rgba c{10.f + 30.f * y, 8.f + 10.f * y, 40.f + 40.f * y, 255.f};
    constexpr int kColumns = 4, kRows = 3;
    for (int row = 0; row < kRows; ++row) {
        for (int col = 0; col < kColumns; ++col) {
            if (row == kRows - 1 && col == 2) continue;  // the brick the ball just broke
            const float cx = 0.2f + 0.2f * col, cy = 0.2f + 0.11f * row;
            const float d = roundedBox(x, y, cx, cy, 0.09f, 0.045f, 0.01f);
            if (d > 0.f) continue;
            const bool special = row == 1 && col == 1;
            if (d > -0.018f)
                c = special ? Rgba{200, 30, 30, 255} : Rgba{150, 170, 255, 255};
            else
                c = Rgba{0, 0, 150.f + 60.f * (kRows - row) / kRows, 255};
        }
    }
    if (std::hypot(x - 0.58f, y - 0.64f) < 0.065f) c = {255, 255, 255, 255};
    const float paddle = roundedBox(x, y, 0.5f, 0.8f, 0.2f, 0.045f, 0.02f);
    if (paddle <= 0.f) c = paddle > -0.02f ? Rgba{255, 255, 0, 255} : Rgba{255, 0, 0, 255};
    return c;
}

sf::Image paint(unsigned size) {
    sf::Image image;
    image.create(size, size);
    const float step = 1.f / (static_cast<float>(size) * kSubsamples);
    for (unsigned py = 0; py < size; ++py) {
        for (unsigned px = 0; px < size; ++px) {
            Rgba sum{0, 0, 0, 0};  // colours weighted by their alpha, so edges don't darken
            for (int sy = 0; sy < kSubsamples; ++sy) {
                for (int sx = 0; sx < kSubsamples; ++sx) {
                    const Rgba s = colourAt((px * kSubsamples + sx + 0.5f) * step,
                                            (py * kSubsamples + sy + 0.5f) * step);
                    const float w = s.a / 255.f;
                    sum = {sum.r + s.r * w, sum.g + s.g * w, sum.b + s.b * w, sum.a + s.a};
                }
            }
            const float coverage = sum.a / 255.f;
            const auto byte = [](float v) { return static_cast<sf::Uint8>(std::lround(std::clamp(v, 0.f, 255.f))); };
            const float n = kSubsamples * kSubsamples;
            image.setPixel(px, py, coverage > 0.f
                                       ? sf::Color(byte(sum.r / coverage), byte(sum.g / coverage),
                                                   byte(sum.b / coverage), byte(sum.a / n))
                                       : sf::Color::Transparent);
        }
    }
    return image;
}
}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : "packaging/icons";
    for (const unsigned size : kSizes) {
        const std::string out = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + ".png";
        if (!paint(size).saveToFile(out)) {
            std::fprintf(stderr, "could not write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}
