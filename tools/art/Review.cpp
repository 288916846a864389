// The review sheet: every picture, a ground sample and the screens as the game lays them out.
#include "Review.h"

#include "PictureList.h"

#include <map>
#include <string>
#include <vector>

namespace {

// The picture of a texture slot as the game would draw it: slot 2 is transparent, empty slots are white.
Canvas SlotPicture(Studio& studio, int slot) {
    if (slot == 2) {
        return Canvas(1, 1);
    }
    for (const PictureEntry& e : kPictures) {
        auto found = e.slot == slot ? studio.full.find(std::string(e.path)) : studio.full.end();
        if (found != studio.full.end()) {
            return found->second;
        }
    }
    return Canvas(1, 1, Colour{1, 1, 1, 1});
}

void DrawPicture(Studio& studio, Canvas& screen, int slot, int x, int y, int w, int h) {
    Canvas picture = SlotPicture(studio, slot);
    if (picture.Width() == w && picture.Height() == h) {
        screen.Draw(picture, x, y);
    } else {
        screen.DrawScaled(picture, x, y, w, h);
    }
}

// Draws a layout's buttons as the game's HUD does; the button at index hover shows its mouse-over picture.
void DrawLayout(Studio& studio, Canvas& screen, const std::string& layout, int hover = -1) {
    const std::vector<LayoutButton>& buttons = studio.Layout(layout);
    for (size_t k = 0; k < buttons.size(); ++k) {
        const LayoutButton& b = buttons[k];
        DrawPicture(studio, screen, int(k) == hover ? b.MOtex : b.tex, b.xPos, b.yPos, b.xSize, b.ySize);
        if (!b.text.empty()) {
            studio.font.Draw(
                screen, b.text, float(b.xPos + b.textX), float(b.yPos + b.textY), 12, true,
                Hex((uint32_t(b.r & 255) << 16) | (uint32_t(b.g & 255) << 8) | uint32_t(b.b & 255)));
        }
    }
}

Canvas Screen(Studio& studio, int slot, const std::string& layout, int hover = -1) {
    Canvas screen(800, 600, Colour{0, 0, 0, 1});
    DrawPicture(studio, screen, slot, 0, 0, 800, 600);
    DrawLayout(studio, screen, layout, hover);
    return screen;
}

Canvas Battle(Studio& studio) {
    Canvas screen(800, 600, Colour{0, 0, 0, 1});
    DrawPicture(studio, screen, 3, 0, 0, 800, 600);
    DrawLayout(studio, screen, "combat.xml");
    DrawPicture(studio, screen, 50, 200, 0, 140, 50);
    DrawPicture(studio, screen, 46, 340, 0, 110, 50);
    DrawPicture(studio, screen, 49, 450, 0, 150, 50);
    DrawPicture(studio, screen, 66, 0, 455, 252, 144);
    DrawPicture(studio, screen, 41, 548, 455, 252, 144);
    const char* lines[] = {"Distance: 6", "Ratio: 2", "HP: 80/100", "Accuracy: 70", "Defense: 20"};
    for (int k = 0; k < 5; ++k) {
        studio.font.Draw(screen, lines[k], 30, float(500 + 15 * k), 12, true, Palette::Text);
    }
    studio.font.Draw(screen, "No Unit Detected", 578, 515, 12, true, Palette::Text);
    // Floating bars over an imaginary unit.
    DrawPicture(studio, screen, 31, 384, 250, 32, 7);
    DrawPicture(studio, screen, 27, 384, 250, 24, 7);
    DrawPicture(studio, screen, 26, 384, 250, 32, 7);
    DrawPicture(studio, screen, 31, 384, 260, 32, 7);
    DrawPicture(studio, screen, 28, 384, 260, 12, 7);
    DrawPicture(studio, screen, 26, 384, 260, 32, 7);
    return screen;
}

std::vector<std::pair<std::string, Canvas>> MockScreens(Studio& studio) {
    std::vector<std::pair<std::string, Canvas>> mocks;
    mocks.emplace_back("Main menu, START under the mouse", Screen(studio, 1, "menu.xml", 0));
    Canvas options = Screen(studio, 8, "options.xml", 1);
    studio.font.Draw(options, "5", 630, 185, 12, true, Colour{0, 0, 0, 1});
    mocks.emplace_back("Options, volume up under the mouse", std::move(options));
    mocks.emplace_back("Credits", Screen(studio, 9, "credits.xml"));
    mocks.emplace_back("How to play 1", Screen(studio, 19, "howtoplay1.xml", 2));
    mocks.emplace_back("How to play 2", Screen(studio, 20, "howtoplay2.xml"));
    mocks.emplace_back("How to play 3 (slot 21 is empty)", Screen(studio, 21, "howtoplay3.xml"));
    Canvas map = Screen(studio, 11, "map.xml", 1);
    const int standing[] = {50, 80, 20};
    for (int k = 0; k < 3; ++k) {
        int x = 25 + 40 * k;
        DrawPicture(studio, map, 27, x, 535 - standing[k], 30, standing[k]);
        DrawPicture(studio, map, 26, x, 435, 30, 100);
        DrawPicture(studio, map, 76 + k, x, 545, 30, 30);
    }
    DrawPicture(studio, map, 17, 300, 200, 24, 24);
    DrawPicture(studio, map, 18, 520, 330, 24, 24);
    mocks.emplace_back("World map with two missions, BUILD under the mouse", std::move(map));
    Canvas build = Screen(studio, 25, "buildScreen.xml", 3);
    for (int r = 0; r < 9; ++r) {
        studio.font.Draw(build, "Part " + std::to_string(r + 1), 25, float(130 + 50 * r), 12, true,
                         Palette::Text);
        studio.font.Draw(build, "2", 175, float(130 + 50 * r), 12, true, Palette::Text);
    }
    studio.font.Draw(build, "Page 1/3", 205, 395, 12, true, Palette::Text);
    const char* stats[] = {"HP: 100/100", "Defense: 20", "Distance: 6", "Ratio: 2", "Accuracy: 70"};
    for (int k = 0; k < 5; ++k) {
        studio.font.Draw(build, stats[k], 250, float(315 + 15 * k), 12, true, Palette::Text);
        studio.font.Draw(build, "Damage: 10", 400, float(315 + 15 * k), 12, true, Palette::Text);
    }
    studio.font.Draw(build, "Time: 30", 400, 390, 12, true, Palette::Text);
    const char* modules[] = {"Wolf Core", "Sensor Head", "Engine Tail", "Blue"};
    for (int k = 0; k < 4; ++k) {
        studio.font.Draw(build, modules[k], 610, float(105 + 100 * k), 12, true, Palette::Text);
    }
    mocks.emplace_back("Build screen with the game's text, row 4 under the mouse", std::move(build));
    mocks.emplace_back("Squad", Screen(studio, 10, "squadScreen.xml"));
    mocks.emplace_back("Battle", Battle(studio));
    Canvas pause = Battle(studio);
    DrawPicture(studio, pause, 7, 0, 0, 800, 600);
    DrawPicture(studio, pause, 57, 300, 150, 200, 50);
    DrawLayout(studio, pause, "pause.xml", 0);
    mocks.emplace_back("Pause, CONTINUE under the mouse", std::move(pause));
    mocks.emplace_back("Paused options", Screen(studio, 8, "options_p.xml"));
    mocks.emplace_back("Victory", Screen(studio, 12, "win.xml", 0));
    mocks.emplace_back("Defeat", Screen(studio, 13, "win.xml"));
    return mocks;
}

// A small town laid out from the tile textures, to check that streets and corners join.
void DrawGroundSample(Studio& studio, Canvas& sheet, int left, int top, int tile) {
    const char* const plan[] = {
        "g g L R g w w w", "g b L R B g w w", "T T a c T T T T", "D D e f D D D D",
        "g p L R d d P g", "g p L R d s d d", "g g l r g d d d", "g g L R g g g w",
    };
    const std::map<char, std::string> names = {
        {'g', "Art Assets\\grass_texture.png"},
        {'d', "Art Assets\\dirt_texture.png"},
        {'w', "Art Assets\\water_texture.png"},
        {'L', "Art Assets\\Textures\\Street_Left.png"},
        {'R', "Art Assets\\Textures\\Street_Right.png"},
        {'l', "Art Assets\\Textures\\Street_Left_NL.png"},
        {'r', "Art Assets\\Textures\\Street_Right_NL.png"},
        {'T', "Art Assets\\Textures\\Street_Top.png"},
        {'D', "Art Assets\\Textures\\Street_Bottom.png"},
        {'a', "Art Assets\\Textures\\Corner_TL.png"},
        {'c', "Art Assets\\Textures\\Corner_TR.png"},
        {'e', "Art Assets\\Textures\\Corner_BL.png"},
        {'f', "Art Assets\\Textures\\Corner_BR.png"},
        {'b', "Art Assets\\Textures\\Blue_Building_Texture.png"},
        {'B', "Art Assets\\Textures\\Silver_Building_Texture.png"},
        {'p', "Art Assets\\Textures\\Pitch_Blue_Building_Texture.png"},
        {'P', "Art Assets\\Textures\\Pitch_Silver_Building_Texture.png"},
        {'s', "Art Assets\\Textures\\Green_Building_Texture.png"},
        {'S', "Art Assets\\Textures\\Street.png"},
    };
    studio.font.Draw(sheet, "GROUND SAMPLE", float(left), float(top - 8), 14, true, Palette::GoldLight);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            auto name = names.find(plan[y][x * 2]);
            auto found = name == names.end() ? studio.written.end() : studio.written.find(name->second);
            if (found != studio.written.end()) {
                sheet.DrawScaled(found->second, left + x * tile, top + y * tile, tile, tile);
            }
        }
    }
}

// Lays every thumbnail out in a grid with its file name under it.
bool WriteSheet(Studio& studio, const std::string& path) {
    constexpr int columns = 8, cellW = 196, cellH = 170;
    int count = 0;
    for (const PictureEntry& e : kPictures) {
        count += studio.written.count(std::string(e.path)) ? 1 : 0;
    }
    int rows = (count + columns - 1) / columns;
    constexpr int sampleTile = 56, sampleTiles = 8;
    std::vector<std::pair<std::string, Canvas>> mocks = MockScreens(studio);
    constexpr int mockW = 400, mockH = 300, mockColumns = 3;
    int mockTop = 110 + rows * cellH + sampleTile * sampleTiles;
    int mockRows = (int(mocks.size()) + mockColumns - 1) / mockColumns;
    Canvas sheet(columns * cellW + 20, mockTop + 40 + mockRows * (mockH + 36), Palette::Ink);
    studio.font.Draw(sheet, "VANTOR PICTURES", 20, 40, 26, true, Palette::GoldLight);
    int index = 0;
    for (const PictureEntry& e : kPictures) {
        auto found = studio.written.find(std::string(e.path));
        if (found == studio.written.end()) {
            continue;
        }
        int x = 10 + (index % columns) * cellW, y = 60 + (index / columns) * cellH;
        const Canvas& thumb = found->second;
        // A checkerboard shows which parts of a picture are transparent.
        for (int j = 0; j < 132; ++j) {
            for (int i = 0; i < 176; ++i) {
                sheet.At(x + 10 + i, y + 4 + j) = ((i / 8 + j / 8) % 2) ? Hex(0x2A2F36) : Hex(0x3A4048);
            }
        }
        sheet.Draw(thumb, x + 10 + (176 - thumb.Width()) / 2, y + 4 + (132 - thumb.Height()) / 2);
        std::string name(e.path.substr(e.path.rfind('\\') + 1));
        if (studio.font.Measure(name, 10, false) > 184) {
            name = name.substr(0, 28) + "...";
        }
        studio.font.Draw(sheet, name, x + 98, y + 152, 10, false, Palette::Text, Align::Centre);
        ++index;
    }
    DrawGroundSample(studio, sheet, 20, 70 + rows * cellH, sampleTile);
    studio.font.Draw(sheet, "SCREENS AS THE GAME LAYS THEM OUT", 20, float(mockTop + 20), 14, true,
                     Palette::GoldLight);
    for (size_t k = 0; k < mocks.size(); ++k) {
        int x = 20 + int(k % mockColumns) * (mockW + 20),
            y = mockTop + 36 + int(k / mockColumns) * (mockH + 36);
        sheet.DrawScaled(mocks[k].second, x, y, mockW, mockH);
        studio.font.Draw(sheet, mocks[k].first, float(x), float(y + mockH + 18), 13, false, Palette::Text);
        // Each screen also at full size beside the sheet: <sheet>_screen<N>.png.
        mocks[k].second.Save(path.substr(0, path.size() - 4) + "_screen" + std::to_string(k + 1) + ".png");
    }
    return sheet.Save(path);
}

} // namespace

bool WriteContactSheet(Studio& studio, const std::string& path) {
    return WriteSheet(studio, path);
}
