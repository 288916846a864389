#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour with straight (not premultiplied) alpha, each channel 0..1.
struct Colour {
    float r = 0.0f, g = 0.0f, b = 0.0f, a = 1.0f;
};

// Builds a colour from 0xRRGGBB and an alpha.
Colour Hex(uint32_t rgb, float alpha = 1.0f);
// Linear mix of two colours, t = 0 gives a.
Colour Mix(Colour a, Colour b, float t);
// Multiplies the colour channels (not alpha) by s.
Colour Shade(Colour c, float s);
// The same colour with another alpha.
Colour WithAlpha(Colour c, float alpha);

// An RGBA picture in floats, origin top left, that every generator draws into.
class Canvas {
public:
    Canvas() = default;
    // A canvas of the given size filled with one colour.
    Canvas(int width, int height, Colour fill = Colour{0, 0, 0, 0});

    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel at (x, y); coordinates must lie inside.
    Colour& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // The pixel at (x, y) with both coordinates wrapped around the edges.
    const Colour& Wrapped(int x, int y) const;

    // Paints a colour over one pixel with the given coverage (0..1); outside pixels are ignored.
    void Blend(int x, int y, Colour c, float coverage = 1.0f);
    // Replaces every pixel by one colour.
    void Fill(Colour c);
    // Paints an axis-aligned rectangle, edges at whole pixels.
    void FillRect(int x, int y, int w, int h, Colour c);
    // Paints a rectangle with a vertical gradient from top to bottom.
    void FillGradient(int x, int y, int w, int h, Colour top, Colour bottom);
    // Paints a rounded rectangle with antialiased edges; a border of width > 0 is drawn inside the edge.
    void RoundRect(float x, float y, float w, float h, float radius, Colour fill, float borderWidth = 0.0f,
                   Colour border = Colour{});
    // Paints a filled circle with an antialiased edge.
    void Circle(float cx, float cy, float radius, Colour c);
    // Paints a ring (circle outline) of the given width.
    void Ring(float cx, float cy, float radius, float width, Colour c);
    // Paints a line with round caps.
    void Line(float x0, float y0, float x1, float y1, float width, Colour c);
    // Paints a closed polygon (even-odd rule), antialiased by supersampling.
    void Polygon(const std::vector<float>& xy, Colour c);
    // Paints a soft radial glow that fades to nothing at the radius.
    void Glow(float cx, float cy, float radius, Colour c, float falloff = 2.0f);
    // Paints another canvas over this one with its top-left corner at (x, y).
    void Draw(const Canvas& src, int x, int y, float opacity = 1.0f);
    // Paints another canvas scaled (box filter) into the rectangle.
    void DrawScaled(const Canvas& src, int x, int y, int w, int h);
    // Darkens the picture towards the edges.
    void Vignette(float strength);

    // Writes the picture as 32-bit PNG, or as 24-bit BMP when the name ends in .bmp; false on failure.
    bool Save(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Colour> pixels_;
};

// Tileable value noise: period cells across the unit square, sample at (u, v) in 0..1, result 0..1.
float TileNoise(float u, float v, int period, uint32_t seed);
// Several octaves of tileable noise starting at the given period.
float TileFbm(float u, float v, int period, int octaves, uint32_t seed);
// A reproducible pseudo-random number 0..1 from two integers and a seed.
float Hash01(int x, int y, uint32_t seed);
