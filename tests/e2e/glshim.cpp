// A GL driver's swap control as a real one has it, over Mesa's software GL, which has none
// under Xvfb or Xorg's dummy driver: GLX_EXT_swap_control alone, each swap waiting for the
// refresh its interval asks on a grid at the rate of the mode at the screen's corner, as a
// synced driver's would. Loaded by LD_PRELOAD for the Linux game, or for wine as the libGL.so.1
// first on LD_LIBRARY_PATH, the rest of GL then coming from glvnd's libGLX and libOpenGL.
//   VORNAXI_GLSHIM_LOG  its record: "refresh HZ", "interval N", and a line a swap, "swap CALLED
//       SHOWN REFRESH INTERVAL RETURNED", times in ms from the first swap, REFRESH the grid's
//       count ("-" unsynced)
//   VORNAXI_GLSHIM_NO_SWAP_CONTROL  set: no swap control offered, as under Xvfb
#include <GL/glx.h>
#include <X11/extensions/Xrandr.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace {
struct Shim {
    void* glx = dlopen("libGLX.so.0", RTLD_NOW | RTLD_LOCAL);
    FILE* log = std::getenv("VORNAXI_GLSHIM_LOG") ? std::fopen(std::getenv("VORNAXI_GLSHIM_LOG"), "w") : nullptr;
    bool withheld = std::getenv("VORNAXI_GLSHIM_NO_SWAP_CONTROL") != nullptr;
    int interval = 1;  // a driver's default
    Display* own = nullptr;  // the shim's own connection, for the mode
    double refreshHz = 0.;
    double start = -1., anchor = 0., lookedAt = -1.;  // seconds of the monotonic clock
    long lastShown = 0;
} shim;

template <typename Function>
Function real(const char* name) {
    return reinterpret_cast<Function>(shim.glx ? dlsym(shim.glx, name) : nullptr);
}

double seconds() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

template <typename... Values>
void record(const char* format, Values... values) {
    if (shim.log)
        std::fprintf(shim.log, format, values...), std::fflush(shim.log);
}

// Looked at every quarter of a second; the grid laid anew when the mode's refresh changes.
void followMode(double now) {
    if ((shim.lookedAt >= 0. && now - shim.lookedAt < 0.25) || (!shim.own && !(shim.own = XOpenDisplay(nullptr))))
        return;
    shim.lookedAt = now;
    double hz = 0.;
    XRRScreenResources* res = XRRGetScreenResourcesCurrent(shim.own, DefaultRootWindow(shim.own));
    for (int c = 0; res && c < res->ncrtc; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(shim.own, res, res->crtcs[c]);
        for (int m = 0; crtc && crtc->x == 0 && crtc->y == 0 && m < res->nmode; ++m)
            if (res->modes[m].id == crtc->mode && res->modes[m].hTotal && res->modes[m].vTotal)
                hz = static_cast<double>(res->modes[m].dotClock) / res->modes[m].hTotal / res->modes[m].vTotal;
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(res);
    if (hz > 0. && hz != shim.refreshHz) {
        shim.refreshHz = hz, shim.anchor = now, shim.lastShown = 0;
        record("refresh %.3f\n", hz);
    }
}
}  // namespace

extern "C" {
void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    const double called = seconds();
    shim.start = shim.start < 0. ? called : shim.start;
    followMode(called);
    const int n = shim.withheld ? 0 : shim.interval;
    double shown = called;
    long refresh = -1;
    if (n > 0 && shim.refreshHz > 0.) {  // at a refresh, and n after the last swap's at the soonest
        const double period = 1. / shim.refreshHz;
        refresh = std::max(static_cast<long>(std::ceil((called - shim.anchor) / period)), shim.lastShown + n);
        shown = shim.anchor + static_cast<double>(refresh) * period;
        timespec at{static_cast<time_t>(shown), static_cast<long>((shown - std::floor(shown)) * 1e9)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) != 0) {
        }
        shim.lastShown = refresh;
    }
    real<void (*)(Display*, GLXDrawable)>("glXSwapBuffers")(display, drawable);
    record("swap %.3f %.3f %s %d %.3f\n", (called - shim.start) * 1e3, (shown - shim.start) * 1e3,
           refresh < 0 ? "-" : std::to_string(refresh).c_str(), n, (seconds() - shim.start) * 1e3);
}

void glXSwapIntervalEXT(Display*, GLXDrawable, int interval) {
    shim.interval = interval;
    record("interval %d\n", interval);
}

// The driver's own list with every swap control taken out, and EXT's put back unless withheld.
const char* glXQueryExtensionsString(Display* display, int screen) {
    static std::string list;
    list = std::string(" ") + real<const char* (*)(Display*, int)>("glXQueryExtensionsString")(display, screen) + " ";
    for (const char* name : {"GLX_EXT_swap_control_tear", "GLX_EXT_swap_control", "GLX_MESA_swap_control", "GLX_SGI_swap_control"})
        for (std::size_t at; (at = list.find(std::string(" ") + name + " ")) != std::string::npos;)
            list.erase(at, std::strlen(name) + 1);
    list += shim.withheld ? "" : "GLX_EXT_swap_control ";
    return list.c_str() + 1;
}

__GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
    const std::string n = reinterpret_cast<const char*>(name);
    if (n == "glXSwapIntervalEXT")
        return shim.withheld ? nullptr : reinterpret_cast<__GLXextFuncPtr>(glXSwapIntervalEXT);
    if (n == "glXSwapBuffers" || n == "glXQueryExtensionsString")
        return n == "glXSwapBuffers" ? reinterpret_cast<__GLXextFuncPtr>(glXSwapBuffers)
                                     : reinterpret_cast<__GLXextFuncPtr>(glXQueryExtensionsString);
    return real<__GLXextFuncPtr (*)(const GLubyte*)>("glXGetProcAddressARB")(name);
}
__GLXextFuncPtr glXGetProcAddress(const GLubyte* name) { return glXGetProcAddressARB(name); }
}
