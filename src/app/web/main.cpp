// The game in a browser tab. A page must not block, so the browser drives the frames: it calls
// frame() at each of its animation frames, and FrameCadence says which of them take a step of
// play and draw it.
#include "app/batched_draw.h"
#include "app/game.h"
#include "app/platform.h"
#include "app/screen.h"
#include "app/web/cadence.h"
#include "app/world.h"

#include <emscripten/emscripten.h>

#include <cstdlib>
#include <ctime>
#include <memory>

namespace {
// Outlives main, which returns once the frames are under way.
struct Play {
    Game game{};
    std::unique_ptr<BatchedDraw> batched;
    FrameCadence cadence;
};
Play* play = nullptr;

// The animation frame's own time, the same for everything it runs: steadier than the clock
// read once the frame's work has begun.
EM_JS(double, frameTime, (), {
    const timeline = document.timeline;
    return timeline && timeline.currentTime != null ? timeline.currentTime : performance.now();
});

// Tells the page the game is over: "ended" after Escape, "no-webgl" where it could not start.
EM_JS(void, tellPage, (const char* why), {
    if (Module['gameEnded'])
        Module['gameEnded'](UTF8ToString(why));
});

// Steps counted where the page can read them, for the pace its check and the bench print.
EM_JS(void, countStep, (), { Module['steps'] = (Module['steps'] || 0) + 1; });

void frame() {
    followDesktop();
    if (!play->cadence.stepDue(frameTime()))
        return;
    Game& game = play->game;
    countStep();
    game.update();
    if (!game.window->isOpen()) {
        emscripten_cancel_main_loop();
        delete play;
        play = nullptr;
        tellPage("ended");
        return;
    }
    game.window->clear(sf::Color(0, 0, 0, 255));
    game.window->setView(fittedView(game.window->getSize()));
    play->batched->draw(game, *game.window);
    game.window->display();
}
}  // namespace

int main() {
    if (!displayReachable()) {
        tellPage("no-webgl");
        return 1;
    }
    play = new Play;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    play->game.initWindow();
    if (!play->game.window->isOpen()) {
        tellPage("no-webgl");
        return 1;
    }
    play->game.initLevel();
    play->batched = std::make_unique<BatchedDraw>();
    emscripten_set_main_loop(frame, 0, false);
    return 0;
}
