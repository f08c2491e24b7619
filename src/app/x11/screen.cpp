#include "app/screen.h"

#include <SFML/System/Sleep.hpp>

// SFML's own fullscreen window is not used on X: it takes the GL visual from the mode's
// colour depth, 24 bits at the desktop's mode, where Mesa's software renderer draws into a
// buffer without alpha far more slowly; any other depth sends it down its mode-switching path;
// with no primary monitor it places the window by the first output even when that one is off,
// an X error that ends the process; and without a window manager nothing keeps the window on
// its monitor as the monitors change. So the game makes the window and SFML draws into it.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// The game's own connection, beside SFML's hidden one, and what it knows of the window.
struct Desktop {
    Display* display = nullptr;
    int randrEvents = 0;    // RandR's first event code
    bool listsMonitors = false;  // RandR 1.5, which lists monitors as xrandr --listmonitors does
    bool readsModes = false;     // RandR 1.3, whose modes can be read without probing the outputs
    ::Window window = 0;
    Atom protocols = None;  // WM_PROTOCOLS, what a window manager's requests come as
    bool placesWindow = false;  // no window manager: the game puts the window where it belongs
    sf::IntRect placed;
    double refresh = 0.;         // of the monitor the window is on, as last looked up
    bool refreshStale = true;    // the monitors changed since
    int framesSinceLook = 0;
    ~Desktop() {
        if (display)
            XCloseDisplay(display);
    }
};
Desktop desktop;

// Xlib's own handler ends the process on any error, and one can be raced by a monitor going.
int reportXError(Display* display, XErrorEvent* error) {
    char text[160];
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "Vornaxi: X error passed over: %s (request %d.%d)\n", text, error->request_code,
                 error->minor_code);
    return 0;
}

std::vector<Monitor> monitors(Display* display) {
    std::vector<Monitor> found;
    int count = 0;
    XRRMonitorInfo* info =
        desktop.listsMonitors ? XRRGetMonitors(display, DefaultRootWindow(display), True, &count) : nullptr;
    for (int i = 0; i < count; ++i)
        found.push_back({{info[i].x, info[i].y, info[i].width, info[i].height}, info[i].primary != 0});
    if (info)
        XRRFreeMonitors(info);
    if (found.empty())  // a server that lists none: its whole screen
        found.push_back({{0, 0, DisplayWidth(display, DefaultScreen(display)),
                          DisplayHeight(display, DefaultScreen(display))},
                         true});
    return found;
}

int glAttribute(Display* display, XVisualInfo& visual, int attribute) {
    int value = 0;
    return glXGetConfig(display, &visual, attribute, &value) == 0 ? value : 0;
}

// A double-buffered RGBA visual of the screen's own depth, 8 bits a channel, alpha included,
// and none of the depth, stencil or multisample buffers the game never uses. A deeper visual
// than the screen's would let a compositor show the window see-through.
XVisualInfo glVisual(Display* display) {
    XVisualInfo wanted{};
    wanted.screen = DefaultScreen(display);
    wanted.depth = DefaultDepth(display, wanted.screen);
    wanted.c_class = TrueColor;
    int count = 0;
    XVisualInfo* all = XGetVisualInfo(display, VisualScreenMask | VisualDepthMask | VisualClassMask, &wanted, &count);
    XVisualInfo best = wanted;
    best.visual = DefaultVisual(display, wanted.screen);
    best.visualid = XVisualIDFromVisual(best.visual);
    long lowest = LONG_MAX;
    for (int i = 0; i < count; ++i) {
        XVisualInfo& v = all[i];
        if (!glAttribute(display, v, GLX_USE_GL) || !glAttribute(display, v, GLX_RGBA) ||
            !glAttribute(display, v, GLX_DOUBLEBUFFER))
            continue;
        const int colour = glAttribute(display, v, GLX_RED_SIZE) + glAttribute(display, v, GLX_GREEN_SIZE) +
                           glAttribute(display, v, GLX_BLUE_SIZE);
        const long cost = 1000L * std::abs(colour - 24) + 100L * std::abs(glAttribute(display, v, GLX_ALPHA_SIZE) - 8) +
                          glAttribute(display, v, GLX_DEPTH_SIZE) + glAttribute(display, v, GLX_STENCIL_SIZE) +
                          glAttribute(display, v, GLX_SAMPLES);
        if (cost < lowest) {
            lowest = cost;
            best = v;
        }
    }
    if (all)
        XFree(all);
    return best;
}

::Window supportingWindow(Display* display, ::Window of) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    ::Window found = 0;
    if (XGetWindowProperty(display, of, XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False), 0, 1, False,
                           XA_WINDOW, &type, &format, &items, &after, &data) == Success &&
        type == XA_WINDOW && items == 1)
        found = *reinterpret_cast<::Window*>(data);
    if (data)
        XFree(data);
    return found;
}

// Whether a window manager of today's conventions (EWMH) runs: it then fullscreens the window
// on its monitor and keeps it there.
bool windowManaged(Display* display) {
    const ::Window check = supportingWindow(display, DefaultRootWindow(display));
    return check && supportingWindow(display, check) == check;
}

void setAtom(Display* display, ::Window window, const char* property, const char* value) {
    const Atom atom = XInternAtom(display, value, False);
    XChangeProperty(display, window, XInternAtom(display, property, False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&atom), 1);
}

void name(Display* display, ::Window window, const char* title) {
    XStoreName(display, window, title);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
    XClassHint hint{const_cast<char*>("vornaxi"), const_cast<char*>(title)};
    XSetClassHint(display, window, &hint);
}

// The fullscreen state asked for before the window shows, so a window manager maps it so;
// placed on its monitor first, which is where window managers then fullscreen it.
::Window createWindow(Display* display, const XVisualInfo& visual, const sf::IntRect& at, const char* title) {
    const ::Window root = DefaultRootWindow(display);
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, root, visual.visual, AllocNone);
    attributes.override_redirect = desktop.placesWindow ? True : False;
    const ::Window window =
        XCreateWindow(display, root, at.left, at.top, static_cast<unsigned>(at.width), static_cast<unsigned>(at.height),
                      0, visual.depth, InputOutput, visual.visual,
                      CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect, &attributes);
    name(display, window, title);
    XSizeHints place{};
    place.flags = USPosition | USSize;
    place.x = at.left, place.y = at.top, place.width = at.width, place.height = at.height;
    XSetWMNormalHints(display, window, &place);
    setAtom(display, window, "_NET_WM_STATE", "_NET_WM_STATE_FULLSCREEN");
    const long bypass = 1;  // nothing of the desktop's drawn over a game
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_BYPASS_COMPOSITOR", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&bypass), 1);
    XFlush(display);
    return window;
}

bool viewable(Display* display, ::Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

// SFML leaves alone a window it did not make: this one goes with its SFML side.
class GameWindow final : public sf::RenderWindow {
public:
    explicit GameWindow(::Window window) : sf::RenderWindow(window) {}
    ~GameWindow() override {
        close();
        XDestroyWindow(desktop.display, desktop.window);
        XFlush(desktop.display);
        desktop.window = 0;
    }
};
}  // namespace

std::unique_ptr<sf::RenderWindow> openFullscreen(const char* title, sf::VideoMode& mode) {
    XSetErrorHandler(reportXError);
    if (!desktop.display)
        desktop.display = XOpenDisplay(nullptr);
    Display* display = desktop.display;
    int errors = 0, major = 0, minor = 0;
    const bool randr = XRRQueryExtension(display, &desktop.randrEvents, &errors) && XRRQueryVersion(display, &major, &minor);
    desktop.listsMonitors = randr && (major > 1 || minor >= 5);
    desktop.readsModes = randr && (major > 1 || minor >= 3);
    desktop.placesWindow = !windowManaged(display);
    desktop.protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    // Heard of by the game whether or not it places the window: a mode's refresh rate may change.
    if (desktop.readsModes)
        XRRSelectInput(display, DefaultRootWindow(display), RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask);
    desktop.placed = monitorFor(monitors(display), {});
    XVisualInfo visual = glVisual(display);
    desktop.window = createWindow(display, visual, desktop.placed, title);
    auto window = std::make_unique<GameWindow>(desktop.window);  // SFML shows it

    // Focus and the pointer held in the window, as SFML's fullscreen does, once it shows.
    for (int tries = 0; tries < 200 && !viewable(display, desktop.window); ++tries)
        sf::sleep(sf::milliseconds(10));
    window->requestFocus();
    window->setMouseCursorGrabbed(true);
    mode = sf::VideoMode(static_cast<unsigned>(desktop.placed.width), static_cast<unsigned>(desktop.placed.height),
                         static_cast<unsigned>(glAttribute(display, visual, GLX_BUFFER_SIZE)));
    return window;
}

// What a window manager asks of a window (to close, whether it still answers) goes to the
// connection that made it, this one: passed on to SFML's, which takes the window's events.
bool passedOn(Display* display, XEvent& event) {
    if (event.type != ClientMessage || event.xclient.message_type != desktop.protocols)
        return false;
    XSendEvent(display, desktop.window, False, StructureNotifyMask, &event);
    return true;
}

void followDesktop() {
    Display* display = desktop.display;
    if (!display || !desktop.window)
        return;
    bool changed = false;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (passedOn(display, event))
            continue;
        if (event.type == desktop.randrEvents + RRScreenChangeNotify)
            XRRUpdateConfiguration(&event);
        changed = true;
    }
    XFlush(display);
    desktop.refreshStale |= changed;
    if (!changed || !desktop.placesWindow)
        return;
    const sf::IntRect to = monitorFor(monitors(display), desktop.placed);
    if (to == desktop.placed || to.width <= 0 || to.height <= 0)
        return;
    desktop.placed = to;
    XMoveResizeWindow(display, desktop.window, to.left, to.top, static_cast<unsigned>(to.width),
                      static_cast<unsigned>(to.height));
    XFlush(display);
}

namespace {
// Every so many frames the game looks where its window is, in case a window manager moved it
// to another monitor; a change of the monitors themselves is heard of at once.
constexpr int kFramesBetweenLooks = 60;

sf::IntRect windowArea(Display* display, ::Window window) {
    XWindowAttributes attributes{};
    int x = 0, y = 0;
    ::Window child = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child))
        return {};
    return {x, y, attributes.width, attributes.height};
}

// From the mode's own timings: xrandr's figure is rounded, and 59.94 is not 60.
double modeRefresh(const XRRModeInfo& mode) {
    if (mode.hTotal == 0 || mode.vTotal == 0)
        return 0.;
    double refresh = static_cast<double>(mode.dotClock) / (static_cast<double>(mode.hTotal) * mode.vTotal);
    if (mode.modeFlags & RR_DoubleScan)
        refresh /= 2.;
    if (mode.modeFlags & RR_Interlace)
        refresh *= 2.;
    return refresh;
}

// The refresh of the CRTC showing the monitor at `area`, the one holding its top left corner.
double crtcRefresh(Display* display, const sf::IntRect& area) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    if (!resources)
        return 0.;
    double refresh = 0.;
    for (int c = 0; c < resources->ncrtc && refresh == 0.; ++c) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc && crtc->mode != None &&
            sf::IntRect(crtc->x, crtc->y, static_cast<int>(crtc->width), static_cast<int>(crtc->height))
                .contains(area.left, area.top))
            for (int m = 0; m < resources->nmode; ++m)
                if (resources->modes[m].id == crtc->mode)
                    refresh = modeRefresh(resources->modes[m]);
        if (crtc)
            XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return refresh;
}

bool hasExtension(const char* list, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = list ? std::strstr(list, name) : nullptr; at; at = std::strstr(at + 1, name))
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned);
using SwapIntervalSgi = int (*)(int);

template <typename Function>
Function glxFunction(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// Through whichever of the three extensions the driver has, as SFML would for on or off.
bool setSwapInterval(sf::RenderWindow& window, int interval) {
    if (!window.setActive(true))
        return false;
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable)
        return false;
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        if (auto set = glxFunction<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(display, drawable, interval);
            return true;
        }
    }
    if (hasExtension(extensions, "GLX_MESA_swap_control"))
        if (auto set = glxFunction<SwapIntervalMesa>("glXSwapIntervalMESA"))
            return interval >= 0 && set(static_cast<unsigned>(interval)) == 0;
    if (hasExtension(extensions, "GLX_SGI_swap_control") && interval > 0)  // it cannot turn sync off
        if (auto set = glxFunction<SwapIntervalSgi>("glXSwapIntervalSGI"))
            return set(interval) == 0;
    return false;
}
}  // namespace

double monitorRefresh() {
    Display* display = desktop.display;
    if (!display || !desktop.window || !desktop.readsModes)
        return 0.;
    if (++desktop.framesSinceLook < kFramesBetweenLooks && !desktop.refreshStale)
        return desktop.refresh;
    desktop.framesSinceLook = 0;
    desktop.refreshStale = false;
    desktop.refresh = crtcRefresh(display, monitorFor(monitors(display), windowArea(display, desktop.window)));
    return desktop.refresh;
}

SwapSeam windowSwaps(sf::RenderWindow& window) {
    return SwapSeam{
        [&window](int interval) { return setSwapInterval(window, interval); },
        [&window](bool synced) {
            window.display();
            // A driver may queue frames ahead of the display; waiting here keeps it to one.
            if (synced)
                glFinish();
        },
        [](const char* line) { std::fprintf(stderr, "Vornaxi: %s\n", line); },
    };
}
