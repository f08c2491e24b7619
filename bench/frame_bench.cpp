// The whole frame as a player's machine pays for it: update, clear, draw and display
// into a real window the size of the screen, through the fitted view, paced at 60
// frames a second as the game paces them. For each scene it prints the process's CPU time per frame, all
// threads together (the renderer runs several), and the frame rate.
//
// The scenes: an empty frame (the timer, paddle and balls alone, the floor of any
// picture); a full-window copy (drawFrame's wall kept in a window-sized texture and
// copied each frame with one framebuffer blit, copyWhole, then timer, paddle and balls:
// what a frame costs that paints every pixel of the window once, the yardstick); the
// full wall object by object (drawFrame) and as the game draws it (BatchedDraw); and
// the half wall as the game draws it.
//
// Mesa's software renderer keeps some 30 KB of working memory per draw call until
// the frame is shown: about 27 MB a frame for the 900 draws of the wall object by
// object. Whether glibc hands that back to the kernel after each frame and faults it
// in again depends on what the process allocated before (its thresholds adapt), and
// it costs several times the frame. So the bench pins the allocator from the start:
// memory kept, as the game was seen to run, or with --trimmed, glibc's starting
// thresholds held, as a process may run for its first second or for good.
//
// Usage, from the repository root:
//   frame_bench [--trimmed] [--no-header] [FRAMES [SCENE]]
// FRAMES per scene, in interleaved rounds; SCENE keeps only the scenes whose name
// contains it, for profiling one; --no-header prints the table's rows alone, to follow
// another screen's table.
#include "app/batched_draw.h"
#include "app/pacing.h"
#include "app/world.h"
#include "draw_frame.h"
#include "framebuffer_copy.h"
#include "scenes.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/OpenGL.hpp>

#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr int kDefaultFrames = 600;
constexpr int kRounds = 3;          // scenes take turns, so a passing load hits them alike
constexpr int kWarmUpFrames = 30;   // glyphs rendered, textures uploaded, heap grown
constexpr int kSweepingBalls = 5;
constexpr unsigned kSeed = 2024;
// glibc's thresholds: what it starts with, and far above any frame's needs.
constexpr int kGlibcDefaultThreshold = 128 * 1024;
constexpr int kMmapThresholdKept = 32 * 1024 * 1024;
constexpr int kTrimThresholdKept = 1024 * 1024 * 1024;

enum class Wall { Full, Half };
enum class Drawing { Bare, FullWindowCopy, ObjectByObject, Batched };

struct Scene {
    const char* name;
    Wall wall;
    Drawing drawing;
};

constexpr Scene kScenes[] = {
    {"empty frame: timer, paddle, balls", Wall::Full, Drawing::Bare},
    {"full-window copy", Wall::Full, Drawing::FullWindowCopy},
    {"full wall, object by object", Wall::Full, Drawing::ObjectByObject},
    {"full wall, as the game draws it", Wall::Full, Drawing::Batched},
    {"half wall, as the game draws it", Wall::Half, Drawing::Batched},
};

struct Options {
    bool trimmed = false;
    bool header = true;
    int frames = kDefaultFrames;
    std::string only;
};

struct Measure {
    int frames = 0;
    double cpuSeconds = 0.;
    double wallSeconds = 0.;
    long pageFaults = 0;
    std::vector<double> cpuMsPerRound;
    int drawCalls = 0;
};

sf::RenderWindow* window = nullptr;

long pageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

void pinAllocator(bool trimmed) {
    mallopt(M_MMAP_THRESHOLD, trimmed ? kGlibcDefaultThreshold : kMmapThresholdKept);
    mallopt(M_TRIM_THRESHOLD, trimmed ? kGlibcDefaultThreshold : kTrimThresholdKept);
}

bool parse(int argc, char** argv, Options& options) {
    int at = 1;
    for (; at < argc && argv[at][0] == '-'; ++at) {
        const std::string flag = argv[at];
        if (flag == "--trimmed")
            options.trimmed = true;
        else if (flag == "--no-header")
            options.header = false;
        else
            return false;
    }
    if (at < argc)
        options.frames = std::atoi(argv[at++]);
    if (at < argc)
        options.only = argv[at++];
    return at == argc && options.frames >= kRounds;
}

// Draw calls the frame issues: a shape with an outline makes two, a text one.
int drawCalls(const Game& game, Drawing drawing) {
    int bricks = 0;
    for (const auto& slot : game.bricks)
        bricks += slot != nullptr;
    const int timerPaddleBalls = 2 + static_cast<int>(game.balls.size());
    switch (drawing) {
    case Drawing::Bare:
        return timerPaddleBalls;
    case Drawing::FullWindowCopy:
        return 1 + timerPaddleBalls;
    case Drawing::ObjectByObject:
        return 1 + timerPaddleBalls + 3 * bricks;
    case Drawing::Batched:
        return 1 + timerPaddleBalls + 3;  // background, wall, labels
    }
    return 0;
}

void drawTimerPaddleBalls(const Game& game, sf::RenderTarget& target) {
    target.draw(game.timerText);
    target.draw(game.paddle);
    for (const Ball& ball : game.balls)
        target.draw(ball.shape);
}

// The background and the wall, as drawFrame paints them, into a window-sized texture.
void paintWall(const Game& game, sf::RenderTexture& picture) {
    picture.create(window->getSize().x, window->getSize().y);
    picture.setView(fittedView(window->getSize()));
    picture.clear(sf::Color::Black);
    picture.draw(game.background);
    for (const auto& brick : game.bricks) {
        if (brick) {
            picture.draw(brick->shape);
            picture.draw(brick->label);
        }
    }
    picture.display();
}

void runRound(const Scene& scene, int frames, Measure& m) {
    Game game{};  // drawn into the window the owner opened
    BatchedDraw batch;
    sf::RenderTexture picture;
    setUpGame(game, kSeed);
    sweepBalls(game, kSweepingBalls);
    if (scene.wall == Wall::Half)
        destroyHalfTheWall(game, kSeed);
    if (scene.drawing == Drawing::FullWindowCopy)
        paintWall(game, picture);
    FramePacer pacer;

    const auto frame = [&] {
        game.update();
        window->clear(sf::Color::Black);
        const sf::View fitted = fittedView(window->getSize());
        switch (scene.drawing) {
        case Drawing::Bare:
            window->setView(fitted);
            drawTimerPaddleBalls(game, *window);
            break;
        case Drawing::FullWindowCopy:
            if (!copyWhole(picture, *window)) {
                std::fprintf(stderr, "this renderer cannot copy a render texture to the window\n");
                std::exit(EXIT_FAILURE);
            }
            window->setView(fitted);
            drawTimerPaddleBalls(game, *window);
            break;
        case Drawing::ObjectByObject:
            window->setView(fitted);
            drawFrame(game, *window);
            break;
        case Drawing::Batched:
            window->setView(fitted);
            batch.draw(game, *window);
            break;
        }
        window->display();
        pacer.endFrame();
    };

    for (int i = 0; i < kWarmUpFrames; ++i)
        frame();
    const double cpuStart = processCpuSeconds();
    const long faultsStart = pageFaults();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        frame();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = processCpuSeconds() - cpuStart;
    m.frames += frames;
    m.cpuSeconds += cpu;
    m.wallSeconds += wall;
    m.pageFaults += pageFaults() - faultsStart;
    m.cpuMsPerRound.push_back(cpu * 1e3 / frames);
    m.drawCalls = drawCalls(game, scene.drawing);
}

// Every scene the same number of frames, taking turns round after round.
std::vector<Measure> measure(const std::vector<const Scene*>& scenes, int frames) {
    std::vector<Measure> measures(scenes.size());
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < scenes.size(); ++i)
            runRound(*scenes[i], frames / kRounds, measures[i]);
    return measures;
}

void printHeader(const Options& options) {
    std::printf("Whole frame: update, clear, draw and display in a window the size of the screen, "
                "paced at %d fps (a budget of %.2f ms a frame)\n",
                kFramesPerSecond, 1e3 / kFramesPerSecond);
    std::printf("Renderer: %s, OpenGL %s. CPU time: the whole process, all threads. Freed memory: %s.\n\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                options.trimmed ? "trimmed after each frame" : "kept");
    std::printf("| screen | scene | draw calls | CPU per frame | rounds (ms) | page faults per frame "
                "| frames per second | CPU vs full-window copy |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|---:|\n");
}

std::string roundsText(const Measure& m) {
    std::string text;
    for (const double r : m.cpuMsPerRound) {
        char one[32];
        std::snprintf(one, sizeof one, "%s%.1f", text.empty() ? "" : " / ", r);
        text += one;
    }
    return text;
}

void printRows(const std::vector<const Scene*>& scenes, const std::vector<Measure>& measures) {
    const sf::Vector2u screen = window->getSize();
    double copyMs = 0.;
    for (std::size_t i = 0; i < scenes.size(); ++i)
        if (scenes[i]->drawing == Drawing::FullWindowCopy)
            copyMs = measures[i].cpuSeconds * 1e3 / measures[i].frames;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const Measure& m = measures[i];
        const double ms = m.cpuSeconds * 1e3 / m.frames;
        std::printf("| %ux%u | %s | %d | %.2f ms | %s | %ld | %.1f |", screen.x, screen.y, scenes[i]->name,
                    m.drawCalls, ms, roundsText(m).c_str(), m.pageFaults / m.frames, m.frames / m.wallSeconds);
        if (copyMs > 0.)
            std::printf(" %.2f |\n", ms / copyMs);
        else
            std::printf(" |\n");
    }
}
}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s [--trimmed] [--no-header] [FRAMES [SCENE]]   FRAMES at least %d\n",
                     argv[0], kRounds);
        return 2;
    }
    pinAllocator(options.trimmed);
    Game owner{};
    window = &openBenchWindow(owner);

    std::vector<const Scene*> scenes;
    for (const Scene& scene : kScenes)
        if (std::string(scene.name).find(options.only) != std::string::npos)
            scenes.push_back(&scene);
    const std::vector<Measure> measures = measure(scenes, options.frames);

    if (options.header)
        printHeader(options);
    printRows(scenes, measures);
    return 0;
}
