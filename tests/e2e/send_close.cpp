// Asks a window to close the way a window manager does: a WM_DELETE_WINDOW
// client message. Xvfb runs no window manager, so the e2e test sends it itself.
//
// Usage: send_close WINDOW_ID   (decimal or 0x-hex, as xdotool prints it)
// Exit: 0 sent; 1 bad usage or no display; 2 the window does not take
// WM_DELETE_WINDOW (a window manager would not send it either).

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

bool parseWindow(const char* text, Window& out) {
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value == 0)
        return false;
    out = static_cast<Window>(value);
    return true;
}

// A window manager only sends the request to windows that list it.
bool takesDeleteRequest(Display* display, Window window, Atom deleteAtom) {
    Atom* protocols = nullptr;
    int count = 0;
    if (!XGetWMProtocols(display, window, &protocols, &count))
        return false;
    bool found = false;
    for (int i = 0; i < count; ++i)
        if (protocols[i] == deleteAtom)
            found = true;
    XFree(protocols);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    Window window = 0;
    if (argc != 2 || !parseWindow(argv[1], window)) {
        std::fprintf(stderr, "usage: send_close WINDOW_ID\n");
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "send_close: cannot open display\n");
        return 1;
    }
    const Atom protocolsAtom = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    if (!takesDeleteRequest(display, window, deleteAtom)) {
        std::fprintf(stderr, "send_close: window 0x%lx does not list WM_DELETE_WINDOW\n",
                     static_cast<unsigned long>(window));
        XCloseDisplay(display);
        return 2;
    }

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = protocolsAtom;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteAtom);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    // Make sure the request has left before the display goes.
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
