#pragma once

#include <cstdint>

// The one bitmap font of the game: 1-bit glyphs for the characters 32 to 127, rendered with FreeType from the
// system's bold monospace face at 12 pixels into one texture. Text is drawn at the current raster position
// (its baseline) in the raster colour, after the caller set the colour and raster position, and moves the
// raster position on by the text's advance: pixel for pixel what glBitmap glyphs would give, drawn as
// textured quads, which a software renderer fills far faster than it draws bitmaps.
class TextFont {
public:
    // Most characters one printed text holds; longer texts are cut.
    static constexpr int bufferSize = 256;

    // Builds the glyphs' texture; needs a current GL context. A missing face still gives glyphs that advance.
    void Create();
    // Deletes the texture.
    void Delete();
    // Formats printf-style into the 256-character buffer (cutting what does not fit) and draws the text
    // with no shader program bound; the program that was bound is bound again afterwards.
    void Print(const char* format, ...) const __attribute__((format(printf, 2, 3)));

    // The glyphs' texture; 0 before Create.
    uint32_t texture() const { return texture_; }
    // Path of the face file the glyphs came from; empty when none was found.
    const char* facePath() const { return facePath_; }

    static constexpr int firstChar = 32;
    static constexpr int charCount = 96;

private:
    // Where one glyph's bitmap sits in the texture and how it is placed against the raster position.
    struct Glyph {
        int16_t width = 0;
        int16_t rows = 0;
        int16_t left = 0;    // from the raster position to the bitmap's left edge
        int16_t bottom = 0;  // from the baseline down to the bitmap's bottom row
        int16_t atlasX = 0;
        int16_t atlasY = 0;
        float advance = 0.0f;
    };

    uint32_t texture_ = 0;
    int32_t atlasWidth_ = 1;
    int32_t atlasHeight_ = 1;
    Glyph glyphs_[charCount] = {};
    char facePath_[512] = {};
};
