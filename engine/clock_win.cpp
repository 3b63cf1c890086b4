// Windows: the performance counter, and a high-resolution waitable timer for
// sleeps (Windows 10 1803 and later); where there is none, Sleep() with the
// system timer at 1 ms, since its default 15.6 ms tick would miss every frame.
#include <windows.h>
#include <timeapi.h>

#include "engine/clock.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

double CounterPeriodMs() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return 1000.0 / double(f.QuadPart);
}

// One timer per thread that sleeps; nullptr when the system has none.
HANDLE ThreadTimer() {
    thread_local HANDLE timer = [] {
        HANDLE t = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
        // The system tick at 1 ms for the Sleep() fallback, for as long as
        // the process runs.
        if (!t) timeBeginPeriod(1);
        return t;
    }();
    return timer;
}

} // namespace

double tideClockMs() {
    static const double periodMs = CounterPeriodMs();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) * periodMs;
}

void tideClockSleep(double seconds) {
    if (seconds <= 0) return;
    if (HANDLE timer = ThreadTimer()) {
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(seconds * 1e7); // relative, in 100 ns
        if (SetWaitableTimerEx(timer, &due, 0, nullptr, nullptr, nullptr, 0)) {
            WaitForSingleObject(timer, INFINITE);
            return;
        }
    }
    Sleep(static_cast<DWORD>(seconds * 1000.0 + 0.5));
}
