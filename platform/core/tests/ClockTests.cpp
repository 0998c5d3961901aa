#include "platform/core/Clock.h"

#include <gtest/gtest.h>

namespace {

TEST(Clock, ManualClockDrivesTickCountAndSleep) {
    lumo::ManualClock clock(0xFFFFFF00u);
    lumo::Clock::install(&clock);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);
    Sleep(1000);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u + 1000u) << "wraps like the device's count";
    clock.advance(5);
    EXPECT_EQ(GetTickCount(), 0x000002EDu);
    lumo::Clock::install(nullptr);
    DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u) << "the system clock really waits";
}

} // namespace
