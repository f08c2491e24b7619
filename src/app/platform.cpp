#include "app/platform.h"

#ifdef _WIN32
#include <windows.h>
void detachConsole() { FreeConsole(); }
bool displayReachable() { return true; }  // a Windows desktop is always there
#else
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

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
#endif
