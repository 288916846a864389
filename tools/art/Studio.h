#pragma once

#include "Canvas.h"
#include "Font.h"
#include "Layout.h"

#include <map>
#include <string>
#include <vector>

// The house palette: every picture takes its colours from here.
namespace Palette {
inline const Colour Ink = Hex(0x0B1118);
inline const Colour Night = Hex(0x121C27);
inline const Colour Steel = Hex(0x1C2936);
inline const Colour Panel = Hex(0x243445);
inline const Colour Line = Hex(0x3E556B);
inline const Colour Gold = Hex(0xF2A93B);
inline const Colour GoldLight = Hex(0xFFD27A);
inline const Colour Cyan = Hex(0x4CC6D6);
inline const Colour Text = Hex(0xE8EEF2);
inline const Colour Muted = Hex(0x8DA2B5);
inline const Colour Red = Hex(0xE0503A);
inline const Colour Green = Hex(0x6CCB5F);
} // namespace Palette

// How a button label is drawn: resting on the screen, or lit under the mouse.
enum class ButtonLook { Resting, Lit };

// Shared state of one generator run: the font, the folders, the layouts and what has been written.
class Studio {
public:
    Font font;
    std::string runDir;
    std::string layoutDir;
    // Keeps a small copy of every picture for the contact sheet.
    bool keepThumbnails = false;

    // Writes a picture under its game path (backslashes) below the run folder; false on failure.
    bool Save(const std::string& gamePath, const Canvas& canvas);
    // The buttons of a layout file in the layout folder, read once; empty when the file is unusable.
    const std::vector<LayoutButton>& Layout(const std::string& fileName);
    // The rectangle of a button of a layout; a fallback rectangle (with a message) when it is missing.
    LayoutButton Button(const std::string& fileName, int function, int data);

    // Game paths written so far, each with its thumbnail when thumbnails are kept.
    std::map<std::string, Canvas> written;
    // Full-size copies of every picture when thumbnails are kept, for the screen mock-ups.
    std::map<std::string, Canvas> full;
    // Number of files that could not be written or layouts that could not be read.
    int failures = 0;

private:
    std::map<std::string, std::vector<LayoutButton>> layouts_;
};

// The dark, faintly gridded backdrop shared by the menu screens.
Canvas Backdrop(int width, int height, uint32_t seed);
// A bordered panel with one cut corner.
void DrawPanel(Canvas& canvas, float x, float y, float w, float h, Colour fill = Palette::Steel,
               Colour border = Palette::Line);
// A menu button plate with its label filling the rectangle of a layout button.
void DrawButton(Studio& studio, Canvas& canvas, const LayoutButton& b, const std::string& label,
                ButtonLook look, int size = 20);
// A screen title in the display size with a gold rule under it.
void DrawTitle(Studio& studio, Canvas& canvas, const std::string& text, float y, int size = 44);
// The game's wordmark centred at (cx, baseline).
void DrawWordmark(Studio& studio, Canvas& canvas, float cx, float baseline, int size);

// Each group of pictures; every function saves its pictures through the studio.
void MakeTerrain(Studio& studio);
void MakeSkins(Studio& studio);
void MakeScreens(Studio& studio);
void MakeHud(Studio& studio);
// Paints the desktop icon (256 x 256) into a file outside the run folder; false on failure.
bool MakeIcon(Studio& studio, const std::string& path);
