#pragma once

#include <cstdint>

// All time in the game is measured with one stopwatch on a performance counter. The counter, the
// millisecond tick count and sleeping come from a TimeSource: the window layer installs SDL's, tests
// install a fake one, and window-free programs use the system's monotonic clock.

class TimeSource {
public:
    virtual ~TimeSource() = default;
    // Reads the performance counter into ticks; false when it cannot be read.
    virtual bool Counter(int64_t& ticks) = 0;
    // Counter ticks per second; 0 when unknown.
    virtual int64_t CounterFrequency() = 0;
    // Milliseconds since the source started, wrapping at 32 bits.
    virtual uint32_t TickCount() = 0;
    // Blocks the calling thread for about the given number of milliseconds.
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The system's monotonic clock in nanoseconds; used until another source is installed.
TimeSource& SystemTimeSource();

// Makes the source the clock of the whole game (null restores the system clock); the timer restarts from it.
void UseTimeSource(TimeSource* source);

// The clock currently in use.
TimeSource& CurrentTimeSource();

// Milliseconds of the current clock, wrapping at 32 bits.
uint32_t GetTickCount();

// Sleeps on the current clock.
void Sleep(uint32_t milliseconds);

// The process-wide stopwatch: ticks elapsed since its first use.
class HighResTimer {
public:
    // Returns the one timer, starting it on the first call.
    static HighResTimer& Get();

    ~HighResTimer();
    HighResTimer(const HighResTimer&) = delete;
    HighResTimer& operator=(const HighResTimer&) = delete;

    // Ticks since the start; frozen once stopped; -1 when the counter cannot be read.
    int64_t Elapsed();
    // Freezes Elapsed at its current value; later calls do nothing.
    void Stop();
    // Starts again from the current clock (used when the clock is replaced).
    void Restart();

    // Counter ticks per second, read by the callers to convert ticks.
    int64_t Frequency = 0;

private:
    HighResTimer();

    int64_t start_ = 0;
    int64_t stop_ = 0;
    bool stopped_ = false;
};
