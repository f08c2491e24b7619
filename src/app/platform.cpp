#include "app/platform.h"

#ifdef _WIN32
#include <windows.h>
void detachConsole() { FreeConsole(); }
#else
// Elsewhere a terminal is not the game's own window: nothing to detach.
void detachConsole() {}
#endif
