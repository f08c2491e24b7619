#pragma once

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

// Paints `from` onto `to`, of the same size, pixel for pixel, with one framebuffer blit:
// the cheapest full-window copy the renderer offers, with no shader, blending or vertices
// of SFML's. Returns false, painting nothing, where the sizes differ or the platform has
// no framebuffer objects or no blit.
bool copyWhole(sf::RenderTexture& from, sf::RenderTarget& to);
