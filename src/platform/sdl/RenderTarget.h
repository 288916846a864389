#pragma once

#include <cstdint>

// An off-screen framebuffer: a colour buffer of 8 bits a channel and a depth buffer of 24 bits with 8 of
// stencil, the layout the game asks of its window.
class RenderTarget {
public:
    RenderTarget() = default;
    // Frees the buffers while a GL context is current (at process exit there may be none left).
    ~RenderTarget();
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Makes the buffers at the size, again when the size changed. False, with nothing kept, when the GL has
    // no framebuffer objects or cannot draw into them. The bound framebuffer is left as it was.
    bool Make(int32_t width, int32_t height);
    void Release();

    uint32_t framebuffer() const { return frame_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    uint32_t frame_ = 0;
    uint32_t colour_ = 0;
    uint32_t depth_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};
