#include "scenes.h"

#include "app/window_seam.h"
#include "app/world.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
constexpr float kMargin = 20.f;  // keeps spread balls off the world's edges
// Quasi-random steps (golden ratios) spread any number of balls evenly.
constexpr float kStepX = 0.618034f;
constexpr float kStepY = 0.754878f;
constexpr float kGoldenAngle = 2.399963f;
constexpr float kSweepTop = 620.f;
constexpr float kSweepSpacing = 40.f;
constexpr int kBallTypes = 5;

sf::RenderWindow* benchWindow = nullptr;  // for the seam, whose functions cannot capture
}  // namespace

sf::RenderWindow& openBenchWindow(Game& owner) {
    owner.initWindow();
    benchWindow = owner.window.get();
    useScriptedWindow();
    windowSeam().pollEvent = [](sf::RenderWindow*, sf::Event&) {
        sf::Event ignored;
        while (benchWindow->pollEvent(ignored)) {
        }
        return false;
    };
    return *benchWindow;
}

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void setUpGame(Game& game, unsigned seed) {
    game.font = loadGameFont();
    const bool fontFound = fontLoaded(*game.font);
    std::srand(seed);
    game.initLevel();
    game.started = true;
    // Without them the figures would be for another picture.
    if (!fontFound || game.backgroundTexture.getSize().x == 0) {
        std::fprintf(stderr, "fonts/ or assets/ missing: run from the repository root\n");
        std::exit(EXIT_FAILURE);
    }
}

void spreadBalls(Game& game, int count) {
    game.balls.erase(game.balls.begin() + 1, game.balls.end());
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            game.balls.push_back(makeBall(BallType::White));
        const float fx = std::fmod(static_cast<float>(i) * kStepX + 0.5f, 1.f);
        const float fy = std::fmod(static_cast<float>(i) * kStepY + 0.5f, 1.f);
        const float angle = static_cast<float>(i) * kGoldenAngle;
        Ball& ball = game.balls.back();
        ball.shape.setPosition(kMargin + fx * (kWorldWidth - 2.f * kMargin),
                               kMargin + fy * (kWorldHeight - 2.f * kMargin));
        ball.velocity = scaleToBallSpeed(std::cos(angle), std::sin(angle));
    }
}

void sweepBalls(Game& game, int count) {
    game.balls.erase(game.balls.begin() + 1, game.balls.end());
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            game.balls.push_back(makeBall(static_cast<BallType>(i % kBallTypes)));
        Ball& ball = game.balls.back();
        ball.shape.setPosition(kWorldWidth * static_cast<float>(i + 1) / static_cast<float>(count + 1),
                               kSweepTop + kSweepSpacing * static_cast<float>(i));
        ball.velocity = scaleToBallSpeed(i % 2 == 0 ? 1.f : -1.f, 0.f);
    }
}

void destroyHalfTheWall(Game& game, unsigned seed) {
    std::srand(seed);
    int left = kBrickCount / 2;
    while (left > 0) {
        auto& slot = game.bricks[static_cast<std::size_t>(std::rand() % kBrickCount)];
        if (!slot)
            continue;
        slot.reset();
        ++game.destroyedCount;
        --left;
    }
    for (auto& slot : game.bricks)
        if (slot && std::rand() % 2 == 0)
            slot->hit();
}
