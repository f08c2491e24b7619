#pragma once

// Drops the console window the process may have been started with (Windows only).
void detachConsole();
