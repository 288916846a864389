#pragma once

#include <cstdint>

// The frame cap: a frame lasts at least 16.666666 ms (about 60 frames a second).

// Length of one capped frame in milliseconds.
constexpr float kFrameMilliseconds = 16.666666f;

// Converts a tick count to milliseconds in 32-bit floats; NaN when the frequency is not positive.
float FrameMilliseconds(int64_t ticks, int64_t frequency);

// Whole milliseconds to sleep after a frame that took frameMs: the rest of the frame truncated toward
// zero, 0 for a frame at or over the cap or an unmeasurable one; never more than one frame.
uint32_t FrameSleepMilliseconds(float frameMs);
