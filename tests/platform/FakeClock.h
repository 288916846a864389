#pragma once

#include "platform/HighResTimer.h"

#include <vector>

// A clock that moves only when told; installed for its lifetime, then the system clock returns.
class FakeClock : public TimeSource {
public:
    FakeClock() { UseTimeSource(this); }
    ~FakeClock() override { UseTimeSource(nullptr); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    bool Counter(int64_t& ticks) override {
        ticks = now;
        return readable;
    }
    int64_t CounterFrequency() override { return frequency; }
    uint32_t TickCount() override { return static_cast<uint32_t>(now * 1000 / frequency); }
    void Sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        now += static_cast<int64_t>(milliseconds) * frequency / 1000;
    }

    // Ticks per second: one tick is one microsecond.
    int64_t frequency = 1000000;
    int64_t now = 0;
    bool readable = true;
    std::vector<uint32_t> sleeps;
};
