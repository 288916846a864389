#pragma once

// Scaling the 800 x 600 frame into a larger surface with its aspect kept (bars at the sides or top and
// bottom), and mapping surface positions back into the frame.

struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle of the frame's aspect centred in the surface; y counts from the top.
FrameRect LetterboxRect(int surfaceWidth, int surfaceHeight, int frameWidth, int frameHeight);

// Maps a surface position into frame pixels, clamped to the frame.
void SurfaceToFrame(const FrameRect& box, int frameWidth, int frameHeight, int surfaceX, int surfaceY,
                    int& frameX, int& frameY);
