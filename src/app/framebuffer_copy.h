#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

// Paints `from` onto `to`, of the same size, pixel for pixel, with one framebuffer blit:
// on a software renderer the cheapest way to fill a window, a copy of memory with no
// texture sampled. Returns false, painting nothing, where the sizes differ or the
// platform has no framebuffer objects or no blit.
bool copyWhole(sf::RenderTexture& from, sf::RenderTarget& to);
