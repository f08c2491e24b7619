// Asks a window to close as a window manager would, with a WM_DELETE_WINDOW client
// message: Xvfb runs no window manager, so the e2e test sends it itself.
// Usage: send_close WINDOW_ID (decimal or 0x-hex). Exit 0 sent; 1 bad usage or no
// display; 2 the window does not list WM_DELETE_WINDOW, so no manager would send it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const Window window = argc == 2 ? std::strtoul(argv[1], nullptr, 0) : 0;
    Display* display = window != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (!display) {
        std::fprintf(stderr, "usage: send_close WINDOW_ID, with DISPLAY set\n");
        return 1;
    }
    const Atom deleteAtom = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool listed = false;
    if (XGetWMProtocols(display, window, &protocols, &count)) {
        for (int i = 0; i < count; ++i)
            listed = listed || protocols[i] == deleteAtom;
        XFree(protocols);
    }
    if (listed) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(deleteAtom);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    } else {
        std::fprintf(stderr, "send_close: window %s does not take WM_DELETE_WINDOW\n", argv[1]);
    }
    XCloseDisplay(display);  // flushes the request out first
    return listed ? 0 : 2;
}
