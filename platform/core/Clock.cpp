#include "Clock.h"

#include <time.h>

namespace lumo {

namespace {

class SystemClock final : public Clock {
public:
    DWORD now() const override {
        timespec ts;
        clock_gettime(CLOCK_MONOTONIC, &ts);
        auto ms = static_cast<unsigned long long>(ts.tv_sec) * 1000ull +
                  static_cast<unsigned long long>(ts.tv_nsec) / 1000000ull;
        return static_cast<DWORD>(ms);
    }
};

SystemClock g_systemClock;
Clock* g_current = &g_systemClock;

} // namespace

void Clock::sleep(DWORD milliseconds) {
    timespec ts{static_cast<time_t>(milliseconds / 1000),
                static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&ts, &ts) != 0) {
    }
}

Clock& Clock::current() {
    return *g_current;
}

void Clock::install(Clock* clock) {
    g_current = clock ? clock : &g_systemClock;
}

} // namespace lumo

DWORD GetTickCount() {
    return lumo::Clock::current().now();
}

void Sleep(DWORD milliseconds) {
    lumo::Clock::current().sleep(milliseconds);
}
