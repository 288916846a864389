#pragma once

#include "Canvas.h"

#include <string>

// Horizontal placement of a line of text relative to its x coordinate.
enum class Align { Left, Centre, Right };

// The game's one typeface (DejaVu Sans, book and bold) rendered through FreeType.
class Font {
public:
    // Opens the two faces from the font folder; false (with a message) when either is missing.
    bool Open(const std::string& folder);
    ~Font();

    // Width in pixels of a UTF-8 line at the given pixel size.
    float Measure(const std::string& text, int size, bool bold) const;
    // Draws a UTF-8 line with its baseline at y; returns the pen position after the last glyph.
    float Draw(Canvas& canvas, const std::string& text, float x, float y, int size, bool bold, Colour c,
               Align align = Align::Left) const;
    // Draws a line centred in a box, vertically centred on the capital height.
    void DrawCentred(Canvas& canvas, const std::string& text, float x, float y, float w, float h, int size,
                     bool bold, Colour c) const;
    // Draws text broken into lines no wider than width; returns the y of the next line's baseline.
    float DrawWrapped(Canvas& canvas, const std::string& text, float x, float y, float width, int size,
                      bool bold, Colour c, float lineHeight) const;

private:
    void* library_ = nullptr;
    void* book_ = nullptr;
    void* bold_ = nullptr;
};
