#pragma once

#include "platform/sdl/RenderTarget.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A copy of a layer of the battlefield (colour, depth and stencil of the view) for frames that would draw
// it again exactly as before: the ground (the tile blocks and the backdrop behind them), the ground with the
// mechs on it, or those with the marker plates over them. What shapes the layer (the camera's matrices, the
// viewport, every tile's block and texture, the lights, where each mech stands and how it looks, the
// markers) is summed up in a key; while the key stays the same, one copy into the frame replaces drawing it.
// A software renderer spends most of a still battle frame on those tiles and mechs.
//
// The layer is copied only once its key has held for two frames in a row, so a moving camera never pays
// for copies it cannot use; a caller that knows better may have it copied at once.
class GroundLayer {
public:
    using Key = std::vector<uint32_t>;

    GroundLayer() = default;
    GroundLayer(const GroundLayer&) = delete;
    GroundLayer& operator=(const GroundLayer&) = delete;

    // Copies the kept layer into the view of the bound framebuffer when it was kept for this key; false
    // (nothing done) otherwise, and the caller draws the layer.
    bool Restore(const Key& key);
    // Tells the layer that the caller has just drawn the ground for key into the bound framebuffer. It is
    // kept when the same key was offered the frame before, or at once when the caller knows the next frames
    // will most likely show the same.
    void Offer(const Key& key, bool keepAtOnce = false);

    // True when the GL can copy framebuffers and the copies worked so far.
    bool available() const { return !unavailable_; }
    // How many frames the layer was restored in, for tests.
    uint64_t restores() const { return restores_; }

private:
    bool Prepare(int32_t width, int32_t height);

    Key kept_;
    Key offered_;
    bool held_ = false;
    bool unavailable_ = false;
    RenderTarget target_;
    uint64_t restores_ = 0;
};

// Appends a value's bytes to a key, a word at a time (the last word padded with zeros).
void AppendToKey(GroundLayer::Key& key, const void* data, size_t bytes);
