#pragma once

#include <SFML/Graphics/RenderTarget.hpp>

struct Game;

// Draws one frame, object by object, in the game's fixed stacking order.
void drawFrame(const Game& game, sf::RenderTarget& target);
