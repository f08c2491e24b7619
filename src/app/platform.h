#pragma once

#include <cstdint>

// Drops the console window the process may have been started with (Windows only).
void detachConsole();

// Whether the game can open a window here. SFML aborts the process when it cannot
// reach the display, so this asks first, and says why on the error stream if not.
bool displayReachable();

// Sleeps for about this long, as closely as the system can.
void sleepMicros(std::int64_t micros);
