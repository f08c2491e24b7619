#pragma once

// The page's one canvas, which stands for SFML's window module in the browser.

// The canvas's CSS selector, as the page names it.
inline constexpr const char* kCanvas = "#canvas";

namespace sf::priv {
class GlContext;
}

// Makes the canvas's WebGL context on first use and makes it current; false where the browser
// gives none. Every sf::Context and the window share it: a page has one context per canvas.
bool canvasContextCurrent();
// That context, as SFML's classes hold it.
sf::priv::GlContext* canvasContext();
