#pragma once

#include "Export.h"
#include "types.h"

namespace lumo {

// The one source of time for the tick count, message times and timers. The
// program runs on the system's monotonic clock; tests install a ManualClock
// and move it forward themselves.
class PLATFORM_API Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like the device's count.
    virtual DWORD now() const = 0;
    // Blocks the calling thread for that long; a manual clock just moves on.
    virtual void sleep(DWORD milliseconds);

    static Clock& current();
    // Installs a clock (not owned; null restores the system clock).
    static void install(Clock* clock);
};

class PLATFORM_API ManualClock : public Clock {
public:
    explicit ManualClock(DWORD start = 0) : m_now(start) {}
    DWORD now() const override { return m_now; }
    void set(DWORD now) { m_now = now; }
    void advance(DWORD milliseconds) { m_now += milliseconds; }
    void sleep(DWORD milliseconds) override { advance(milliseconds); }

private:
    DWORD m_now;
};

} // namespace lumo

// Milliseconds from the current clock.
PLATFORM_API DWORD GetTickCount();
// Waits on the current clock.
PLATFORM_API void Sleep(DWORD milliseconds);
