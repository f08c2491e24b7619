// The whole frame as a player's machine pays for it: update, clear, draw and display
// into a real 1920x1080 window limited to 60 frames a second. For each scene it prints
// the process's CPU time per frame, all threads together (the renderer runs several),
// and the frame rate.
//
// Mesa's software renderer keeps some 30 KB of working memory per draw call until
// the frame is shown: about 27 MB a frame for the 900 draws of the wall object by
// object. Whether glibc hands that back to the kernel after each frame and faults it
// in again depends on what the process allocated before (its thresholds adapt), and
// it costs several times the frame. So the bench pins the allocator from the start:
// memory kept, as the game was seen to run, or with --trimmed, glibc's starting
// thresholds held, as a process may run for its first second or for good.
//
// Usage, from the repository root: frame_bench [--trimmed] [FRAMES [SCENE]]
// FRAMES per scene, in interleaved rounds; SCENE keeps only the scenes whose name
// contains it, for profiling one.
#include "app/batched_draw.h"
#include "draw_frame.h"
#include "app/window_seam.h"
#include "app/world.h"
#include "scenes.h"

#include <SFML/OpenGL.hpp>

#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {
constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kDefaultFrames = 600;
constexpr int kRounds = 3;          // scenes take turns, so a passing load hits them alike
constexpr int kWarmUpFrames = 30;   // glyphs rendered, textures uploaded, heap grown
constexpr int kSweepingBalls = 5;
constexpr unsigned kSeed = 2024;
// glibc's thresholds: what it starts with, and far above any frame's needs.
constexpr int kGlibcDefaultThreshold = 128 * 1024;
constexpr int kMmapThresholdKept = 32 * 1024 * 1024;
constexpr int kTrimThresholdKept = 1024 * 1024 * 1024;

enum class Wall { None, Full, Half };
enum class Drawing { None, ObjectByObject, Batched };

struct Scene {
    const char* name;
    Wall wall;
    Drawing drawing;
};

constexpr Scene kScenes[] = {
    {"empty window", Wall::None, Drawing::None},
    {"full wall, object by object", Wall::Full, Drawing::ObjectByObject},
    {"full wall, batched", Wall::Full, Drawing::Batched},
    {"half wall, object by object", Wall::Half, Drawing::ObjectByObject},
    {"half wall, batched", Wall::Half, Drawing::Batched},
};

struct Measure {
    int frames = 0;
    double cpuSeconds = 0.;
    double wallSeconds = 0.;
    long pageFaults = 0;
    std::vector<double> cpuMsPerRound;
    int drawCalls = 0;
};

sf::RenderWindow* window = nullptr;  // for the seam, whose functions cannot capture

double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

long pageFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

void pinAllocator(bool trimmed) {
    mallopt(M_MMAP_THRESHOLD, trimmed ? kGlibcDefaultThreshold : kMmapThresholdKept);
    mallopt(M_TRIM_THRESHOLD, trimmed ? kGlibcDefaultThreshold : kTrimThresholdKept);
}

// Draw calls the frame issues: a shape with an outline makes two, a text one.
int drawCalls(const Game& game, Drawing drawing) {
    if (drawing == Drawing::None)
        return 0;
    int bricks = 0;
    for (const auto& slot : game.bricks)
        bricks += slot != nullptr;
    const int balls = static_cast<int>(game.balls.size());
    const int backgroundTimerPaddle = 4;
    const int wallBatches = 2;
    return backgroundTimerPaddle + balls + (drawing == Drawing::ObjectByObject ? 3 * bricks : wallBatches);
}

void runRound(const Scene& scene, int frames, Measure& m) {
    Game game{};  // the bench owns the window; the game's stays empty
    BatchedDraw batch;
    if (scene.wall != Wall::None) {
        setUpGame(game, kSeed);
        sweepBalls(game, kSweepingBalls);
        if (scene.wall == Wall::Half)
            destroyHalfTheWall(game, kSeed);
    }
    const auto frame = [&] {
        if (scene.wall == Wall::None) {
            sf::Event event;
            while (window->pollEvent(event)) {
            }
        } else {
            game.update();
        }
        window->clear(sf::Color::Black);
        if (scene.drawing == Drawing::ObjectByObject)
            drawFrame(game, *window);
        else if (scene.drawing == Drawing::Batched)
            batch.draw(game, *window);
        window->display();
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
}  // namespace

int main(int argc, char** argv) {
    const bool trimmed = argc > 1 && std::string(argv[1]) == "--trimmed";
    const int first = trimmed ? 2 : 1;
    const int frames = argc > first ? std::atoi(argv[first]) : kDefaultFrames;
    const std::string only = argc > first + 1 ? argv[first + 1] : "";
    if (frames < kRounds) {
        std::fprintf(stderr, "usage: %s [--trimmed] [FRAMES [SCENE]]   FRAMES at least %d\n", argv[0], kRounds);
        return 2;
    }
    pinAllocator(trimmed);

    sf::RenderWindow target(sf::VideoMode(kWidth, kHeight), "Vornaxi frame bench", sf::Style::None);
    target.setVerticalSyncEnabled(false);
    target.setFramerateLimit(kFramesPerSecond);
    window = &target;
    useScriptedWindow();  // the mouse held still mid-screen, and the real queue drained
    windowSeam().pollEvent = [](sf::RenderWindow*, sf::Event&) {
        sf::Event ignored;
        while (window->pollEvent(ignored)) {
        }
        return false;
    };

    std::vector<const Scene*> scenes;
    for (const Scene& scene : kScenes)
        if (std::string(scene.name).find(only) != std::string::npos)
            scenes.push_back(&scene);
    std::vector<Measure> measures(scenes.size());
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t i = 0; i < scenes.size(); ++i)
            runRound(*scenes[i], frames / kRounds, measures[i]);

    std::printf("Whole frame: update, clear, draw and display in a %ux%u window limited to %u fps "
                "(a budget of %.2f ms a frame)\n",
                kWidth, kHeight, kFramesPerSecond, 1e3 / kFramesPerSecond);
    std::printf("Renderer: %s, OpenGL %s. CPU time: the whole process, all threads. Freed memory: %s.\n\n",
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                reinterpret_cast<const char*>(glGetString(GL_VERSION)),
                trimmed ? "trimmed after each frame" : "kept");
    std::printf("| scene | frames | draw calls | CPU per frame | rounds (ms) | page faults per frame "
                "| frames per second | CPU vs object by object |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|\n");
    double objectByObjectMs = 0.;
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        const Scene& scene = *scenes[i];
        const Measure& m = measures[i];
        const double ms = m.cpuSeconds * 1e3 / m.frames;
        std::string rounds;
        for (const double r : m.cpuMsPerRound) {
            char one[32];
            std::snprintf(one, sizeof one, "%s%.1f", rounds.empty() ? "" : " / ", r);
            rounds += one;
        }
        std::printf("| %s | %d | %d | %.2f ms | %s | %ld | %.1f |", scene.name, m.frames, m.drawCalls, ms,
                    rounds.c_str(), m.pageFaults / m.frames, m.frames / m.wallSeconds);
        if (scene.drawing == Drawing::ObjectByObject)
            objectByObjectMs = ms;
        if (scene.drawing == Drawing::Batched && objectByObjectMs > 0.)
            std::printf(" %.2f |\n", ms / objectByObjectMs);
        else
            std::printf(" |\n");
    }
    return 0;
}
