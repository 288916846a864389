#include "platform/HighResTimer.h"

#include <cerrno>
#include <ctime>

namespace {

class MonotonicTimeSource : public TimeSource {
public:
    bool Counter(int64_t& ticks) override {
        timespec now{};
        if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) {
            return false;
        }
        ticks = static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
        return true;
    }

    int64_t CounterFrequency() override { return 1000000000; }

    uint32_t TickCount() override {
        int64_t ticks = 0;
        Counter(ticks);
        return static_cast<uint32_t>(ticks / 1000000);
    }

    void Sleep(uint32_t milliseconds) override {
        timespec wait{static_cast<time_t>(milliseconds / 1000),
                      static_cast<long>(milliseconds % 1000) * 1000000};
        while (nanosleep(&wait, &wait) != 0 && errno == EINTR) {
        }
    }
};

TimeSource* currentSource = nullptr;

} // namespace

TimeSource& SystemTimeSource() {
    // Never destroyed: the timer still reads the clock while static objects are torn down.
    static MonotonicTimeSource* source = new MonotonicTimeSource;
    return *source;
}

void UseTimeSource(TimeSource* source) {
    currentSource = source;
    HighResTimer::Get().Restart();
}

TimeSource& CurrentTimeSource() {
    return currentSource ? *currentSource : SystemTimeSource();
}

uint32_t GetTickCount() {
    return CurrentTimeSource().TickCount();
}

void Sleep(uint32_t milliseconds) {
    CurrentTimeSource().Sleep(milliseconds);
}

HighResTimer& HighResTimer::Get() {
    static HighResTimer timer;
    return timer;
}

HighResTimer::HighResTimer() {
    Restart();
}

HighResTimer::~HighResTimer() {
    Stop();
}

void HighResTimer::Restart() {
    stopped_ = false;
    start_ = 0;
    Frequency = CurrentTimeSource().CounterFrequency();
    if (Frequency > 0) {
        CurrentTimeSource().Counter(start_);
    }
}

int64_t HighResTimer::Elapsed() {
    if (stopped_) {
        return stop_ - start_;
    }
    int64_t now = 0;
    if (!CurrentTimeSource().Counter(now)) {
        return -1;
    }
    return now - start_;
}

void HighResTimer::Stop() {
    if (stopped_) {
        return;
    }
    int64_t now = 0;
    stop_ = CurrentTimeSource().Counter(now) ? now : start_;
    stopped_ = true;
}
