#pragma once

#include "app/pacing.h"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <memory>
#include <vector>

// One monitor of the desktop, in the screen's pixels.
struct Monitor {
    sf::IntRect area;
    bool primary = false;
};

// The monitor a fullscreen window at `window` belongs on: the one it covers most; where it
// covers none (at start, or its monitor gone), the primary; where none is primary, the first.
// Empty when there are no monitors.
sf::IntRect monitorFor(const std::vector<Monitor>& monitors, const sf::IntRect& window);

// The game's window, fullscreen over the monitor monitorFor picks, at that monitor's own mode:
// no monitor's mode is ever switched. `mode` is set to the window's size and colour depth.
std::unique_ptr<sf::RenderWindow> openFullscreen(const char* title, sf::VideoMode& mode);

// Called once a frame: passes the window manager's requests on to the window, and after any
// change of the monitors puts the window back over the monitor it belongs on, at that
// monitor's mode, where no window manager does it.
void followDesktop();

// The refresh rate of the monitor the game's window is on, in Hz, from its mode's own
// timings; 0 where it cannot be told. Called once a frame: it looks again after a change
// of the monitors and every second, in case the window was moved to another monitor.
double monitorRefresh();

// The game window's swaps: its driver's swap interval, and the frame put up.
SwapSeam windowSwaps(sf::RenderWindow& window);
