#include "app/batched_draw.h"
#include "app/game.h"
#include "app/platform.h"

#include <cstdlib>
#include <ctime>

int main() {
    detachConsole();
    Game game{};
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    game.initWindow();
    game.initLevel();
    BatchedDraw batched;

    while (game.window->isOpen()) {
        game.update();
        game.window->clear(sf::Color(0, 0, 0, 255));
        batched.draw(game, *game.window);
        game.window->display();
    }
    return 0;
}
