#include "app/screen.h"

#include <windows.h>
#include <GL/gl.h>
#include <dwmapi.h>

#include <cmath>
#include <cstdio>

namespace {
// The window the game shows, for the look-ups that need its handle.
sf::RenderWindow* gameWindow = nullptr;
double lastRefresh = 0.;
int framesToNextLook = 0;
// Every so many frames the game looks which monitor its window is on, and that one's mode.
constexpr int kFramesBetweenLooks = 60;

using DwmTiming = HRESULT(WINAPI*)(HWND, DWM_TIMING_INFO*);
using SwapIntervalExt = BOOL(WINAPI*)(int);

// The composition's refresh, as a fraction; dwmapi is loaded only where it is there.
double compositionRefresh() {
    static const DwmTiming timing = [] {
        const HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
        return dwm ? reinterpret_cast<DwmTiming>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetCompositionTimingInfo")))
                   : nullptr;
    }();
    DWM_TIMING_INFO info{};
    info.cbSize = sizeof info;
    if (!timing || FAILED(timing(nullptr, &info)) || info.rateRefresh.uiDenominator == 0)
        return 0.;
    return static_cast<double>(info.rateRefresh.uiNumerator) / info.rateRefresh.uiDenominator;
}

// The current mode's whole number of hertz, made exact by the composition's timing where the
// two agree; without it, Windows' way of writing 59.94 as 59 (and 119.88 as 119) read back.
double refreshOf(HMONITOR monitor) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!GetMonitorInfoW(monitor, &info) || !EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode) ||
        mode.dmDisplayFrequency <= 1)  // 0 and 1 stand for the hardware's default
        return 0.;
    const double whole = mode.dmDisplayFrequency;
    const double exact = compositionRefresh();
    if (std::abs(exact - whole) < 1.)
        return exact;
    if (mode.dmDisplayFrequency % 60 == 59)
        return (whole + 1.) / 1.001;
    return whole;
}
}  // namespace

// A borderless window over the primary monitor at its current mode, not SFML's fullscreen
// style: that sets the mode (at start and again at exit) and may pick another refresh rate.
std::unique_ptr<sf::RenderWindow> openFullscreen(const char* title, sf::VideoMode& mode) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT area = info.rcMonitor;
    mode = sf::VideoMode(static_cast<unsigned>(area.right - area.left), static_cast<unsigned>(area.bottom - area.top),
                         sf::VideoMode::getDesktopMode().bitsPerPixel);
    auto window = std::make_unique<sf::RenderWindow>(mode, title, sf::Style::None, sf::ContextSettings());
    window->setPosition({area.left, area.top});
    window->requestFocus();
    window->setMouseCursorGrabbed(true);
    gameWindow = window.get();
    return window;
}

void followDesktop() {}

double monitorRefresh() {
    if (!gameWindow || framesToNextLook-- > 0)
        return lastRefresh;
    framesToNextLook = kFramesBetweenLooks;
    lastRefresh = refreshOf(MonitorFromWindow(gameWindow->getSystemHandle(), MONITOR_DEFAULTTOPRIMARY));
    return lastRefresh;
}

SwapSeam windowSwaps(sf::RenderWindow& window) {
    return SwapSeam{
        [&window](int interval) {
            if (!window.setActive(true))
                return false;
            const auto set =
                reinterpret_cast<SwapIntervalExt>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
            return set && set(interval) != FALSE;
        },
        [&window](bool synced) {
            window.display();
            // A driver may queue frames ahead of the display; waiting here keeps it to one.
            if (synced)
                glFinish();
        },
        [](const char* line) { std::fprintf(stderr, "Vornaxi: %s\n", line); },
    };
}
