// Paints every picture the game opens into the run folder, and on request a labelled contact sheet.
//
//   vantor_art --run-dir DIR --layouts DIR --fonts DIR [--contact-sheet FILE]
#include "PictureList.h"
#include "Studio.h"

#include <FreeImage.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// A small town laid out from the tile textures, to check that streets and corners join.
void DrawGroundSample(Studio& studio, Canvas& sheet, int left, int top, int tile)
{
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
bool WriteContactSheet(Studio& studio, const std::string& path)
{
    constexpr int columns = 8, cellW = 196, cellH = 170;
    int count = 0;
    for (const PictureEntry& e : kPictures) {
        count += studio.written.count(std::string(e.path)) ? 1 : 0;
    }
    int rows = (count + columns - 1) / columns;
    constexpr int sampleTile = 56, sampleTiles = 8;
    Canvas sheet(columns * cellW + 20, rows * cellH + 110 + sampleTile * sampleTiles, Palette::Ink);
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
    return sheet.Save(path);
}

} // namespace

int main(int argc, char** argv)
{
    Studio studio;
    std::string fonts, sheet;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--run-dir") == 0) {
            studio.runDir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--layouts") == 0) {
            studio.layoutDir = argv[i + 1];
        } else if (std::strcmp(argv[i], "--fonts") == 0) {
            fonts = argv[i + 1];
        } else if (std::strcmp(argv[i], "--contact-sheet") == 0) {
            sheet = argv[i + 1];
        } else {
            std::fprintf(stderr, "art: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (studio.runDir.empty() || studio.layoutDir.empty() || fonts.empty()) {
        std::fprintf(stderr, "usage: vantor_art --run-dir DIR --layouts DIR --fonts DIR [--contact-sheet FILE]\n");
        return 2;
    }
    if (!studio.font.Open(fonts)) {
        return 1;
    }
    FreeImage_Initialise(FALSE);
    studio.keepThumbnails = !sheet.empty();
    auto start = std::chrono::steady_clock::now();

    MakeTerrain(studio);
    MakeSkins(studio);
    MakeScreens(studio);
    MakeHud(studio);

    std::set<std::string> listed;
    for (const PictureEntry& e : kPictures) {
        listed.emplace(e.path);
        if (!studio.written.count(std::string(e.path))) {
            std::fprintf(stderr, "art: nothing painted for %s\n", std::string(e.path).c_str());
            ++studio.failures;
        }
    }
    for (const auto& [path, thumb] : studio.written) {
        if (!listed.count(path)) {
            std::fprintf(stderr, "art: %s is painted but not in the picture list\n", path.c_str());
            ++studio.failures;
        }
    }
    if (!sheet.empty() && !WriteContactSheet(studio, sheet)) {
        std::fprintf(stderr, "art: cannot write the contact sheet %s\n", sheet.c_str());
        ++studio.failures;
    }
    FreeImage_DeInitialise();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("art: %zu pictures in %.1f s%s%s\n", studio.written.size(), seconds, sheet.empty() ? "" : ", sheet ",
                sheet.c_str());
    return studio.failures == 0 ? 0 : 1;
}
