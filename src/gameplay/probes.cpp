#include "gameplay/probes.h"

#include "app/game.h"
#include "app/world.h"

#include <cmath>

namespace {
constexpr int kProbeReach = static_cast<int>(kBallRadius);
// Far beyond the wall, yet well inside int: a ball that has fallen for ages must
// not overflow the truncation below.
constexpr float kProbeLimit = 1.0e9f;

// Where a probe looks and which way a brick found there turns the ball.
struct Probe {
    int dx;
    int dy;
    float sf::Vector2f::*axis;
    float sign;
};

constexpr Probe kProbes[] = {
    {-kProbeReach, 0, &sf::Vector2f::x, 1.f},   // left: now moving right
    {kProbeReach, 0, &sf::Vector2f::x, -1.f},   // right: now moving left
    {0, -kProbeReach, &sf::Vector2f::y, 1.f},   // top: now moving down
    {0, kProbeReach, &sf::Vector2f::y, -1.f},   // bottom: now moving up
};
}  // namespace

std::pair<int, int> cellAt(int px, int py) {
    if (px > 0 && px < static_cast<int>(kWorldWidth) && py > kGridTop &&
        py < kGridTop + kGridRows * kCellHeight) {
        const int col = static_cast<int>(static_cast<float>(px) / static_cast<float>(kCellWidth));
        const int row = static_cast<int>((static_cast<float>(py) - static_cast<float>(kGridTop)) /
                                         static_cast<float>(kCellHeight));
        return {col, row};
    }
    return {-1, -1};
}

void Game::probeBricks(std::size_t ballIndex) {
    for (const Probe& probe : kProbes) {
        // Looked up afresh: a contact may append bonus balls and move the array.
        const sf::Vector2f pos = balls[ballIndex].shape.getPosition();
        if (!(std::fabs(pos.x) < kProbeLimit && std::fabs(pos.y) < kProbeLimit))
            return;
        const int tx = static_cast<int>(pos.x);
        const int ty = static_cast<int>(pos.y);
        const auto [col, row] = cellAt(tx + probe.dx, ty + probe.dy);
        if (col < 0 || !bricks[slotIndex(col, row)])
            continue;
        Ball& ball = balls[ballIndex];
        if (ball.type != BallType::Blue)
            ball.velocity.*probe.axis = probe.sign * std::fabs(ball.velocity.*probe.axis);
        onBrickContact(col, row, ball.type);
    }
}
