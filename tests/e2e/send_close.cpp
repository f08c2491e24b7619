// Asks a window to close as a window manager would, with a WM_DELETE_WINDOW message: Xvfb
// runs no manager, so the end-to-end test sends it itself. Usage: send_close WINDOW_ID.
// Exits 1 without a display or a window, 2 if the window does not take the message.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const Window window = argc == 2 ? std::strtoul(argv[1], nullptr, 0) : 0;
    Display* display = window != 0 ? XOpenDisplay(nullptr) : nullptr;
    if (!display)
        return 1;
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool takesIt = false;
    if (XGetWMProtocols(display, window, &protocols, &count)) {
        for (int i = 0; i < count; ++i)
            takesIt = takesIt || protocols[i] == deleteWindow;
        XFree(protocols);
    }
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    if (takesIt)
        XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);  // flushes the message out first
    return takesIt ? 0 : 2;
}
