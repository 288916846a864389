#include "platform/Letterbox.h"

#include <algorithm>
#include <cstdint>

FrameRect LetterboxRect(int surfaceWidth, int surfaceHeight, int frameWidth, int frameHeight) {
    FrameRect box;
    if (surfaceWidth <= 0 || surfaceHeight <= 0 || frameWidth <= 0 || frameHeight <= 0) {
        return box;
    }
    // Compare surfaceWidth / surfaceHeight with frameWidth / frameHeight without rounding.
    const int64_t wide = static_cast<int64_t>(surfaceWidth) * frameHeight;
    const int64_t tall = static_cast<int64_t>(surfaceHeight) * frameWidth;
    if (wide > tall) {
        box.height = surfaceHeight;
        box.width = static_cast<int>(tall / frameHeight);
    } else {
        box.width = surfaceWidth;
        box.height = static_cast<int>(wide / frameWidth);
    }
    box.x = (surfaceWidth - box.width) / 2;
    box.y = (surfaceHeight - box.height) / 2;
    return box;
}

void SurfaceToFrame(const FrameRect& box, int frameWidth, int frameHeight, int surfaceX, int surfaceY,
                    int& frameX, int& frameY) {
    if (box.width <= 0 || box.height <= 0) {
        frameX = std::clamp(surfaceX, 0, frameWidth - 1);
        frameY = std::clamp(surfaceY, 0, frameHeight - 1);
        return;
    }
    const int64_t x = static_cast<int64_t>(surfaceX - box.x) * frameWidth / box.width;
    const int64_t y = static_cast<int64_t>(surfaceY - box.y) * frameHeight / box.height;
    frameX = static_cast<int>(std::clamp<int64_t>(x, 0, frameWidth - 1));
    frameY = static_cast<int>(std::clamp<int64_t>(y, 0, frameHeight - 1));
}
