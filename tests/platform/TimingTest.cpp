#include "platform/FakeClock.h"
#include "platform/FramePacing.h"
#include "platform/HighResTimer.h"
#include "platform/Letterbox.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FramePacing, SleepsTheTruncatedRestOfTheFrame) {
    EXPECT_EQ(FrameSleepMilliseconds(16.0f), 0u) << "16.0 ms leaves 0.67 ms, truncated to 0";
    EXPECT_EQ(FrameSleepMilliseconds(1.5f), 15u);
    EXPECT_EQ(FrameSleepMilliseconds(5.9f), 10u);
    EXPECT_EQ(FrameSleepMilliseconds(16.2f), 0u);
    EXPECT_EQ(FrameSleepMilliseconds(16.7f), 0u);
    EXPECT_EQ(FrameSleepMilliseconds(40.0f), 0u);
    EXPECT_EQ(FrameSleepMilliseconds(0.0f), 16u);
    EXPECT_EQ(FrameSleepMilliseconds(NAN), 0u);
    EXPECT_EQ(FrameSleepMilliseconds(-5000.0f), 16u)
        << "a clock running backwards never sleeps longer than a frame";
}

TEST(FramePacing, ConvertsTicksWithTheCounterFrequency) {
    EXPECT_FLOAT_EQ(FrameMilliseconds(1500, 1000000), 1.5f);
    EXPECT_FLOAT_EQ(FrameMilliseconds(3000000, 3000000000), 1.0f);
    EXPECT_TRUE(std::isnan(FrameMilliseconds(100, 0)));
    EXPECT_EQ(FrameSleepMilliseconds(FrameMilliseconds(16700, 1000000)), 0u);
}

TEST(HighResTimer, CountsFromItsStartAndFreezesWhenStopped) {
    FakeClock clock;
    clock.now = 5000;
    HighResTimer& timer = HighResTimer::Get();
    timer.Restart();
    EXPECT_EQ(timer.Frequency, 1000000);
    EXPECT_EQ(timer.Elapsed(), 0);
    clock.now = 7500;
    EXPECT_EQ(timer.Elapsed(), 2500);

    clock.readable = false;
    EXPECT_EQ(timer.Elapsed(), -1);
    clock.readable = true;

    clock.now = 9000;
    timer.Stop();
    clock.now = 12000;
    EXPECT_EQ(timer.Elapsed(), 4000);
    timer.Stop();
    EXPECT_EQ(timer.Elapsed(), 4000);
    timer.Restart();
    EXPECT_EQ(timer.Elapsed(), 0);

    Sleep(20);
    EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{20});
    EXPECT_EQ(timer.Elapsed(), 20000);
}

TEST(HighResTimer, SystemClockNeverRunsBackwards) {
    HighResTimer& timer = HighResTimer::Get();
    int64_t previous = timer.Elapsed();
    for (int i = 0; i < 1000; ++i) {
        const int64_t now = timer.Elapsed();
        ASSERT_GE(now, previous);
        previous = now;
    }
    EXPECT_GT(timer.Frequency, 0);
}

TEST(Letterbox, KeepsTheAspectAndMapsPositionsBack) {
    const FrameRect wide = LetterboxRect(1920, 1080, 800, 600);
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 1080);
    EXPECT_EQ(wide.x, 240);
    EXPECT_EQ(wide.y, 0);

    const FrameRect tall = LetterboxRect(1000, 1000, 800, 600);
    EXPECT_EQ(tall.width, 1000);
    EXPECT_EQ(tall.height, 750);
    EXPECT_EQ(tall.y, 125);

    int x = 0;
    int y = 0;
    SurfaceToFrame(wide, 800, 600, 240 + 720, 540, x, y);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 300);
    SurfaceToFrame(wide, 800, 600, 10, 1079, x, y);
    EXPECT_EQ(x, 0) << "positions on the bars clamp to the frame's edge";
    EXPECT_EQ(y, 599);
    SurfaceToFrame(wide, 800, 600, 1919, 0, x, y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 0);

    const FrameRect same = LetterboxRect(800, 600, 800, 600);
    SurfaceToFrame(same, 800, 600, 123, 456, x, y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 456);
}
