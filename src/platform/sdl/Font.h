#pragma once

#include <cstdint>

// The one bitmap font of the game: 96 display lists of glBitmap glyphs for the characters 32 to 127,
// rendered with FreeType from the system's bold monospace face at 12 pixels. Text is drawn at the current
// raster position (its baseline), after the caller set the colour and raster position.
class TextFont {
public:
    // Most characters one printed text holds; longer texts are cut.
    static constexpr int bufferSize = 256;

    // Builds the 96 lists; needs a current GL context. A missing face still gives lists that advance.
    void Create();
    // Deletes the lists.
    void Delete();
    // Formats printf-style into the 256-character buffer (cutting what does not fit) and draws the text
    // with no shader program bound; the program that was bound is bound again afterwards.
    void Print(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    // First of the 96 list names; 0 before Create.
    uint32_t base() const { return base_; }
    // Path of the face file the glyphs came from; empty when none was found.
    const char* facePath() const { return facePath_; }

private:
    uint32_t base_ = 0;
    char facePath_[512] = {};
};
