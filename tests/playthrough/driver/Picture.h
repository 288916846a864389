#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Pictures as a player sees them: frames read back from the window, the game's own art, and the
// comparisons a play-through asserts on (how much of a screen changed, whether pixels wear a skin's colours).

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// A point in window pixels, x from the left and y from the top.
struct PixelPoint {
    int x = 0;
    int y = 0;
};

// A rectangle in window pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

// An RGB picture, top row first.
class Picture {
public:
    Picture() = default;
    Picture(int width, int height);
    // A picture of the given rows of red, green, blue bytes, top row first.
    Picture(int width, int height, std::vector<uint8_t> bytes);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    // The whole picture as a rectangle.
    PixelRect bounds() const { return {0, 0, width_, height_}; }

    // The pixel at (x, y); black outside the picture.
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb colour);
    // Rows of red, green, blue bytes, top row first.
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> bytes_;
};

// Reads the colour buffer being drawn (the back buffer) of the current GL context.
Picture ReadFrameBuffer(int width, int height);
// Writes the picture as a PNG file, making its folder; false when it cannot be written.
bool SavePng(const Picture& picture, const std::string& path);
// Loads one of the game's pictures by its game path ("Art Assets\..."), top row first.
std::optional<Picture> LoadGamePicture(const std::string& gamePath);

// The share of pixels of the area whose colour differs in some channel by more than tolerance.
double DifferingShare(const Picture& a, const Picture& b, const PixelRect& area, int tolerance = 24);
// The average colour of the pixels.
Rgb AverageColour(const Picture& picture, const std::vector<PixelPoint>& pixels);

// The colours of a picture grouped by hue whatever their brightness (a lit and a shaded face of one paint are
// one group), each with the share of the picture it covers; groups under minShare are left out.
struct ColourGroup {
    Rgb colour;
    double share = 0.0;
};
std::vector<ColourGroup> ColourGroups(const Picture& picture, double minShare = 0.02);

// How far some shown pixels wear a picture's colours, whatever the light: a pixel matches a group when it is
// the group's colour lit brighter or darker. Pixels too dark to tell a hue are not judged. The likeness is
// the overlap of the shares the groups have among the matched pixels with their shares of the picture, so a
// model painted with a few of the picture's colours, or with another picture of similar colours in other
// shares, scores low.
struct ColourMatch {
    int judged = 0;
    int matched = 0;
    double likeness = 0.0;
    // Matched pixels of each group, in the groups' order.
    std::vector<int> counts;
    double share() const { return judged > 0 ? double(matched) / double(judged) : 0.0; }
};
ColourMatch MatchColours(const Picture& shown, const std::vector<PixelPoint>& pixels,
                         const std::vector<ColourGroup>& groups);
