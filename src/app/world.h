#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

// The game lays everything out in this fixed world, whatever the window's size.
constexpr float kWorldWidth = 1920.f;
constexpr float kWorldHeight = 1080.f;

// Where the world shows in a window of this size, in whole pixels: as large as fits
// at the world's shape, centred, the rest left black.
sf::IntRect worldArea(sf::Vector2u windowSize);

// The view that shows the whole world in worldArea.
sf::View fittedView(sf::Vector2u windowSize);

// The world x under a pointer at window pixel x, through that same fit.
float pointerToWorldX(int pixelX, sf::Vector2u windowSize);
