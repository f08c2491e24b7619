#include "app/platform.h"

#include <windows.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

void detachConsole() { FreeConsole(); }
bool displayReachable() { return true; }  // a Windows desktop is always there

// Sleep() and SFML's sleep count whole ticks of the system timer, up to 15.6 ms and at
// best a millisecond, which would put frames a millisecond or two off their deadline.
// Windows 10 from 1803 has a timer to the tenth of a millisecond; before it the system
// timer is asked for its finest tick.
void sleepMicros(std::int64_t micros) {
    static const HANDLE timer = [] {
        HANDLE fine = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
        if (fine)
            return fine;
        timeBeginPeriod(1);
        return CreateWaitableTimerExW(nullptr, nullptr, 0, TIMER_ALL_ACCESS);
    }();
    if (micros <= 0)
        return;
    LARGE_INTEGER due;
    due.QuadPart = -micros * 10;  // relative, in 100 ns
    if (timer && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer, INFINITE);
    else
        Sleep(static_cast<DWORD>((micros + 999) / 1000));
}
