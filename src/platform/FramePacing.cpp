#include "platform/FramePacing.h"

#include <limits>

float FrameMilliseconds(int64_t ticks, int64_t frequency) {
    if (frequency <= 0) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const float seconds = static_cast<float>(static_cast<double>(ticks) / static_cast<double>(frequency));
    return seconds * 1000.0f;
}

uint32_t FrameSleepMilliseconds(float frameMs) {
    if (!(frameMs < kFrameMilliseconds)) {
        return 0;
    }
    // A clock that went backwards (or could not be read) must not put the game to sleep for long.
    if (frameMs < 0.0f) {
        frameMs = 0.0f;
    }
    return static_cast<uint32_t>(kFrameMilliseconds - frameMs);
}
