// A GL driver's swap control as a real one has it, for the end-to-end tests, over Mesa's
// software GL, which has none under Xvfb or Xorg's dummy driver. Each swap waits for the
// refresh its interval asks for on a grid at the refresh rate of the first monitor's mode,
// as a synced driver's would, and is written down with what was asked.
//
// Loaded by LD_PRELOAD for the Linux game, or for wine as the libGL.so.1 found first on
// LD_LIBRARY_PATH: the rest of GL then comes from glvnd's libGLX and libOpenGL, which this
// library is linked to.
//   VORNAXI_GLSHIM_LOG          the record's file: "refresh HZ", "interval N by EXT|MESA|SGI",
//                               and a line a swap: "swap CALLED SHOWN REFRESH INTERVAL RETURNED", times
//                               in ms from the first swap, REFRESH the grid's count ("-" unsynced)
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
const char* const kSwapExtensions[] = {"GLX_EXT_swap_control", "GLX_EXT_swap_control_tear", "GLX_MESA_swap_control",
                                       "GLX_SGI_swap_control"};

struct Shim {
    void* glx = dlopen("libGLX.so.0", RTLD_NOW | RTLD_LOCAL);
    FILE* log = std::getenv("VORNAXI_GLSHIM_LOG") ? std::fopen(std::getenv("VORNAXI_GLSHIM_LOG"), "w") : nullptr;
    bool withheld = std::getenv("VORNAXI_GLSHIM_NO_SWAP_CONTROL") != nullptr;
    int interval = 1;  // a driver's default
    Display* own = nullptr;  // the shim's own connection, for the mode
    double refreshHz = 0.;
    double start = -1., anchor = 0., lookedAt = -1.;  // seconds of the monotonic clock
    long lastShown = -1000000;
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

void sleepUntil(double at) {
    timespec t{static_cast<time_t>(at), static_cast<long>((at - std::floor(at)) * 1e9)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, nullptr) != 0) {
    }
}

template <typename... Values>
void record(const char* format, Values... values) {
    if (!shim.log)
        return;
    std::fprintf(shim.log, format, values...);
    std::fflush(shim.log);
}

// The refresh of the mode of the CRTC at the screen's corner, from its timings; looked at
// every quarter of a second, and the grid laid anew when it changes.
void followMode(double now) {
    if (shim.lookedAt >= 0. && now - shim.lookedAt < 0.25)
        return;
    shim.lookedAt = now;
    if (!shim.own && !(shim.own = XOpenDisplay(nullptr)))
        return;
    double hz = 0.;
    if (XRRScreenResources* res = XRRGetScreenResourcesCurrent(shim.own, DefaultRootWindow(shim.own))) {
        for (int c = 0; c < res->ncrtc && hz == 0.; ++c) {
            XRRCrtcInfo* crtc = XRRGetCrtcInfo(shim.own, res, res->crtcs[c]);
            for (int m = 0; crtc && crtc->x == 0 && crtc->y == 0 && m < res->nmode; ++m)
                if (res->modes[m].id == crtc->mode && res->modes[m].hTotal && res->modes[m].vTotal)
                    hz = static_cast<double>(res->modes[m].dotClock) / res->modes[m].hTotal / res->modes[m].vTotal;
            if (crtc)
                XRRFreeCrtcInfo(crtc);
        }
        XRRFreeScreenResources(res);
    }
    if (hz > 0. && hz != shim.refreshHz) {
        shim.refreshHz = hz;
        shim.anchor = now;
        shim.lastShown = -1000000;
        record("refresh %.3f\n", hz);
    }
}

void setInterval(int interval, const char* by) {
    shim.interval = interval;
    record("interval %d by %s\n", interval, by);
}
}  // namespace

extern "C" {
void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    const double called = seconds();
    if (shim.start < 0.)
        shim.start = called;
    followMode(called);
    const int n = shim.withheld ? 0 : shim.interval;
    double shown = called;
    long refresh = -1;
    if (n != 0 && shim.refreshHz > 0.) {
        const double period = 1. / shim.refreshHz;
        const long next = static_cast<long>(std::ceil((called - shim.anchor) / period));
        // A negative interval swaps at once when the frame is late: late-swap tearing.
        if (n > 0 || next <= shim.lastShown - n) {
            refresh = std::max(next, shim.lastShown + std::abs(n));
            shown = shim.anchor + static_cast<double>(refresh) * period;
            sleepUntil(shown);
            shim.lastShown = refresh;
        }
    }
    real<void (*)(Display*, GLXDrawable)>("glXSwapBuffers")(display, drawable);
    record("swap %.3f %.3f %s %d %.3f\n", (called - shim.start) * 1e3, (shown - shim.start) * 1e3,
           refresh < 0 ? "-" : std::to_string(refresh).c_str(), n, (seconds() - shim.start) * 1e3);
}

void glXSwapIntervalEXT(Display*, GLXDrawable, int interval) { setInterval(interval, "EXT"); }
int glXSwapIntervalMESA(unsigned interval) {
    setInterval(static_cast<int>(interval), "MESA");
    return 0;
}
int glXSwapIntervalSGI(int interval) {
    if (interval <= 0)
        return GLX_BAD_VALUE;
    setInterval(interval, "SGI");
    return 0;
}

const char* glXQueryExtensionsString(Display* display, int screen) {
    static std::string list;
    list = " ";
    list += real<const char* (*)(Display*, int)>("glXQueryExtensionsString")(display, screen);
    list += " ";
    for (const char* name : kSwapExtensions) {
        const std::string word = std::string(" ") + name + " ";
        for (std::size_t at; (at = list.find(word)) != std::string::npos;)
            list.erase(at, word.size() - 1);
        if (!shim.withheld)
            list += std::string(name) + " ";
    }
    return list.c_str() + 1;
}

__GLXextFuncPtr glXGetProcAddressARB(const GLubyte* name) {
    const char* n = reinterpret_cast<const char*>(name);
    const struct {
        const char* name;
        __GLXextFuncPtr function;
        bool swapControl;
    } own[] = {
        {"glXSwapIntervalEXT", reinterpret_cast<__GLXextFuncPtr>(glXSwapIntervalEXT), true},
        {"glXSwapIntervalMESA", reinterpret_cast<__GLXextFuncPtr>(glXSwapIntervalMESA), true},
        {"glXSwapIntervalSGI", reinterpret_cast<__GLXextFuncPtr>(glXSwapIntervalSGI), true},
        {"glXSwapBuffers", reinterpret_cast<__GLXextFuncPtr>(glXSwapBuffers), false},
        {"glXQueryExtensionsString", reinterpret_cast<__GLXextFuncPtr>(glXQueryExtensionsString), false},
    };
    for (const auto& o : own)
        if (std::strcmp(n, o.name) == 0)
            return o.swapControl && shim.withheld ? nullptr : o.function;
    return real<__GLXextFuncPtr (*)(const GLubyte*)>("glXGetProcAddressARB")(name);
}
__GLXextFuncPtr glXGetProcAddress(const GLubyte* name) { return glXGetProcAddressARB(name); }
}
