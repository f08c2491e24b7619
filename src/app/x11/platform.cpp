#include "app/platform.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

// Elsewhere a terminal is not the game's own window: nothing to detach.
void detachConsole() {}

bool displayReachable() {
    if (Display* display = XOpenDisplay(nullptr)) {
        XCloseDisplay(display);
        return true;
    }
    const char* name = std::getenv("DISPLAY");
    if (name && *name)
        std::fprintf(stderr, "Vornaxi cannot open the display \"%s\" (DISPLAY): start it from a graphical desktop.\n",
                     name);
    else
        std::fprintf(stderr, "Vornaxi needs a graphical desktop: no display is set (DISPLAY is %s).\n",
                     name ? "empty" : "unset");
    return false;
}

// Linux's sleeps end some 50 to 150 microseconds late, never early.
void sleepMicros(std::int64_t micros) {
    if (micros <= 0)
        return;
    timespec rest{static_cast<time_t>(micros / 1'000'000), static_cast<long>(micros % 1'000'000 * 1000)};
    while (nanosleep(&rest, &rest) != 0) {
    }
}
