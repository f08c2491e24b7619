#include "app/batched_draw.h"
#include "app/game.h"
#include "app/pacing.h"
#include "app/platform.h"
#include "app/screen.h"
#include "app/world.h"

#include <cstdlib>
#include <ctime>

int main() {
    detachConsole();
    if (!displayReachable())
        return 1;
    Game game{};
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    game.initWindow();
    game.initLevel();
    BatchedDraw batched;
    DisplayPacing pacing(windowSwaps(*game.window));

    while (game.window->isOpen()) {
        followDesktop();
        pacing.follow(monitorRefresh());
        game.update();
        game.window->clear(sf::Color(0, 0, 0, 255));
        // Fitted afresh each frame, so the world follows any change of the window's size.
        game.window->setView(fittedView(game.window->getSize()));
        batched.draw(game, *game.window);
        pacing.show();
    }
    return 0;
}
