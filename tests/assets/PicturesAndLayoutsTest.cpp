// The generated pictures and the hand-written button layouts, read back from the run folder: every
// picture the game opens exists and decodes, and every layout holds the buttons its screen needs with
// texture slots that are filled when the screen shows.

#include "../../tools/art/PictureList.h"
#include "hud/HudLayout.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include "platform/sdl/Texture.h"
#include "render/gl/GlTestContext.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

// The level's tile textures 0 to 24, in table order.
const char* const kTileTextures[] = {
    "Art Assets\\grass_texture.png",
    "Art Assets\\dirt_texture.png",
    "Art Assets\\water_texture.png",
    "Art Assets\\Textures\\Blue_Building_Texture.png",
    "Art Assets\\Textures\\Street_Bottom.png",
    "Art Assets\\Textures\\Street_Corner_BL.png",
    "Art Assets\\Textures\\Street_Corner_BR.png",
    "Art Assets\\Textures\\Street_Corner_TL.png",
    "Art Assets\\Textures\\Street_Corner_TR.png",
    "Art Assets\\Textures\\Street_Left.png",
    "Art Assets\\Textures\\Street_Right.png",
    "Art Assets\\Textures\\Street_Top.png",
    "Art Assets\\Textures\\Street.png",
    "Art Assets\\Textures\\Street_Left_NL.png",
    "Art Assets\\Textures\\Street_Right_NL.png",
    "Art Assets\\Textures\\Street_Top_NL.png",
    "Art Assets\\Textures\\Street_Bottom_NL.png",
    "Art Assets\\Textures\\Pitch_Blue_Building_Texture.png",
    "Art Assets\\Textures\\Pitch_Silver_Building_Texture.png",
    "Art Assets\\Textures\\Silver_Building_Texture.png",
    "Art Assets\\Textures\\Green_Building_Texture.png",
    "Art Assets\\Textures\\Corner_BL.png",
    "Art Assets\\Textures\\Corner_BR.png",
    "Art Assets\\Textures\\Corner_TL.png",
    "Art Assets\\Textures\\Corner_TR.png",
};

// The renderer's texture slots that hold a picture file; slots 2, 6, 21 and 82 on hold none.
const std::map<int, const char*> kSlotFiles = {
    {0, "Art Assets\\Screens\\LogoScreen.png"},
    {1, "Art Assets\\Screens\\TitleScreen.png"},
    {3, "Art Assets\\Textures\\bg.png"},
    {4, "Art Assets\\Textures\\Army1.png"},
    {5, "Art Assets\\Textures\\Army2.png"},
    {7, "Art Assets\\Screens\\pauseBlack.png"},
    {8, "Art Assets\\Screens\\OptionsScreen.png"},
    {9, "Art Assets\\Screens\\CreditsScreen.png"},
    {10, "Art Assets\\Screens\\Squad_Select_Screen_1_Outline_Text.png"},
    {11, "Art Assets\\Screens\\WorldMap.png"},
    {12, "Art Assets\\Screens\\Player1Victory.png"},
    {13, "Art Assets\\Screens\\Player2Victory.png"},
    {14, "Art Assets\\Screens\\Menu_Objectives.png"},
    {15, "Art Assets\\Textures\\Particle_Texture.png"},
    {16, "Art Assets\\Buttons\\Generic\\Menu_Block_Black.png"},
    {17, "Art Assets\\Menu_WorldMap_Active_Mission_Button.png"},
    {18, "Art Assets\\Menu_WorldMap_Event_Button.png"},
    {19, "Art Assets\\Screens\\HowTo_Units.png"},
    {20, "Art Assets\\Screens\\HowTo_Controls.png"},
    {22, "Art Assets\\Textures\\Building10.png"},
    {23, "Art Assets\\Textures\\hud_button01.png"},
    {24, "Art Assets\\Textures\\hud_button02.png"},
    {25, "Art Assets\\Screens\\loadout_screen.png"},
    {26, "Art Assets\\Textures\\Empty_Bar.png"},
    {27, "Art Assets\\Textures\\Life_Bar.png"},
    {28, "Art Assets\\Textures\\Time_Bar.png"},
    {29, "Art Assets\\Textures\\ActivePos.png"},
    {30, "Art Assets\\Screens\\Loading.png"},
    {31, "Art Assets\\Textures\\Dead_Bar.png"},
    {32, "Art Assets\\Textures\\Army3.png"},
    {33, "Art Assets\\Textures\\ArmyPlayer.png"},
    {34, "Art Assets\\Textures\\Ace.png"},
    {35, "Art Assets\\Textures\\Custom1.png"},
    {36, "Art Assets\\Textures\\Custom2.png"},
    {37, "Art Assets\\Textures\\Custom3.png"},
    {38, "Art Assets\\Textures\\Custom4.png"},
    {39, "Art Assets\\Textures\\Custom5.png"},
    {40, "Art Assets\\Textures\\Custom6.png"},
    {41, "Art Assets\\Textures\\statcard.png"},
    {42, "Art Assets\\Textures\\hud\\endTurnUp.png"},
    {43, "Art Assets\\Textures\\hud\\endTurnDown.png"},
    {44, "Art Assets\\Textures\\hud\\undoUp.png"},
    {45, "Art Assets\\Textures\\hud\\undoDown.png"},
    {46, "Art Assets\\Textures\\hud\\moveOn.png"},
    {47, "Art Assets\\Textures\\hud\\moveOff.png"},
    {48, "Art Assets\\Textures\\hud\\attackOn.png"},
    {49, "Art Assets\\Textures\\hud\\attackOff.png"},
    {50, "Art Assets\\Textures\\hud\\statsOn.png"},
    {51, "Art Assets\\Textures\\hud\\statsOff.png"},
    {52, "Art Assets\\Screens\\TeamLogoScreen.png"},
    {53, "Art Assets\\Textures\\mainmenu_buttonHighlight_credits.png"},
    {54, "Art Assets\\Textures\\mainmenu_buttonHighlight_exit.png"},
    {55, "Art Assets\\Textures\\mainmenu_buttonHighlight_options.png"},
    {56, "Art Assets\\Textures\\mainmenu_buttonHighlight_StartMenu.png"},
    {57, "Art Assets\\Buttons\\Pause\\pauseTop1.png"},
    {58, "Art Assets\\Buttons\\Pause\\pauseExit5.png"},
    {59, "Art Assets\\Buttons\\Pause\\pauseExitDown5.png"},
    {60, "Art Assets\\Buttons\\Pause\\pauseHowToPlay4.png"},
    {61, "Art Assets\\Buttons\\Pause\\pauseHowToPlayDown4.png"},
    {62, "Art Assets\\Buttons\\Pause\\pauseOptions3.png"},
    {63, "Art Assets\\Buttons\\Pause\\pauseOptionsDown3.png"},
    {64, "Art Assets\\Buttons\\Pause\\pauseContinue2.png"},
    {65, "Art Assets\\Buttons\\Pause\\pauseContinueDown2.png"},
    {66, "Art Assets\\Textures\\statcardMirror.png"},
    {67, "Art Assets\\Buttons\\World Overview\\buildButton.png"},
    {68, "Art Assets\\Buttons\\World Overview\\buildButtonMouseover.png"},
    {69, "Art Assets\\Buttons\\World Overview\\backWorldMapButton.png"},
    {70, "Art Assets\\Buttons\\World Overview\\backWorldMapButtonMouseover.png"},
    {71, "Art Assets\\Buttons\\Credits\\BackCreditsMouseover.png"},
    {72, "Art Assets\\Buttons\\Options\\options_highlight+_volumebutton.png"},
    {73, "Art Assets\\Buttons\\Options\\options_highlight-_volumebutton.png"},
    {74, "Art Assets\\Buttons\\Options\\options_highlight_backbutton.png"},
    {75, "Art Assets\\Buttons\\Options\\options_highlight_fullscreenbutton.png"},
    {76, "Art Assets\\Textures\\FactionIcon2.png"},
    {77, "Art Assets\\Textures\\FactionIcon1.png"},
    {78, "Art Assets\\Textures\\FactionIcon3.png"},
    {79, "Art Assets\\Buttons\\Generic\\Menu_Continue.png"},
    {80, "Art Assets\\Buttons\\Generic\\Menu_ContinueLit.png"},
    {81, "Art Assets\\Buttons\\Options\\options_highlight_choicebutton.png"},
};

// Slots only the combat screen fills when it is entered.
const std::set<int> kCombatOnlySlots = {3, 12, 13, 14, 23, 24};
constexpr int kSlotCount = 255;

// Pictures drawn over the whole window, and the fixed rectangles the battle screen draws others into.
const char* const kFullScreen[] = {
    "Art Assets\\Screens\\LogoScreen.png",
    "Art Assets\\Screens\\TeamLogoScreen.png",
    "Art Assets\\Screens\\Loading.png",
    "Art Assets\\Screens\\TitleScreen.png",
    "Art Assets\\Screens\\OptionsScreen.png",
    "Art Assets\\Screens\\CreditsScreen.png",
    "Art Assets\\Screens\\HowTo_Units.png",
    "Art Assets\\Screens\\HowTo_Controls.png",
    "Art Assets\\Screens\\WorldMap.png",
    "Art Assets\\Screens\\loadout_screen.png",
    "Art Assets\\Screens\\Player1Victory.png",
    "Art Assets\\Screens\\Player2Victory.png",
    "Art Assets\\Screens\\pauseBlack.png",
    "Art Assets\\Textures\\bg.png",
    "Art Assets\\Screens\\Squad_Select_Screen_1_Outline_Text.png",
    "Art Assets\\Screens\\Menu_Objectives.png",
};

struct Image {
    int width = 0;
    int height = 0;
    // RGBA bytes, top row first.
    std::vector<unsigned char> rgba;
    const unsigned char* At(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Decodes a picture with FreeImage into top-down RGBA; an empty image when it cannot be read.
Image Decode(const std::string& gamePath) {
    Image image;
    std::string path = NativePath(gamePath);
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) {
        return image;
    }
    FIBITMAP* source = FreeImage_Load(format, path.c_str(), 0);
    if (source == nullptr) {
        return image;
    }
    FIBITMAP* bits = FreeImage_ConvertTo32Bits(source);
    FreeImage_Unload(source);
    if (bits == nullptr) {
        return image;
    }
    image.width = static_cast<int>(FreeImage_GetWidth(bits));
    image.height = static_cast<int>(FreeImage_GetHeight(bits));
    image.rgba.resize(static_cast<size_t>(image.width) * image.height * 4);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* line = FreeImage_GetScanLine(bits, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            unsigned char* p = &image.rgba[(static_cast<size_t>(y) * image.width + x) * 4];
            p[0] = line[x * 4 + FI_RGBA_RED];
            p[1] = line[x * 4 + FI_RGBA_GREEN];
            p[2] = line[x * 4 + FI_RGBA_BLUE];
            p[3] = line[x * 4 + FI_RGBA_ALPHA];
        }
    }
    FreeImage_Unload(bits);
    return image;
}

bool Listed(const std::string& path) {
    for (const PictureEntry& e : kPictures) {
        if (e.path == path) {
            return true;
        }
    }
    return false;
}

struct Button {
    int xPos, yPos, xSize, ySize, function, data, tex, MOtex;
};

// Reads a layout with the game's own layout reader; fails the test when it shows any box.
std::vector<Button> ReadLayout(const std::string& file) {
    DialogRecorder boxes;
    HudLayout layout;
    EXPECT_TRUE(layout.LoadHud("XMLFiles\\GUI\\" + file)) << file;
    EXPECT_TRUE(boxes.shown().empty()) << file << ": " << (boxes.shown().empty() ? "" : boxes.shown()[0].text);
    std::vector<Button> buttons;
    for (const HudButton& b : layout.buttons()) {
        buttons.push_back({int(b.xPos), int(b.yPos), int(b.xSize), int(b.ySize), b.function, b.data, int(b.tex),
                           int(b.MOtex)});
    }
    return buttons;
}

const Button* Find(const std::vector<Button>& buttons, int function, int data) {
    for (const Button& b : buttons) {
        if (b.function == function && b.data == data) {
            return &b;
        }
    }
    return nullptr;
}

const char* const kLayouts[] = {"menu.xml",        "options.xml",     "options_p.xml",  "credits.xml",
                                "howtoplay1.xml",  "howtoplay2.xml",  "howtoplay3.xml", "map.xml",
                                "buildScreen.xml", "squadScreen.xml", "combat.xml",     "pause.xml",
                                "win.xml",         "summary.xml"};

} // namespace

TEST(Pictures, EveryNamedPictureIsInTheGeneratorListAndOnlyOnce) {
    std::set<std::string> named(std::begin(kTileTextures), std::end(kTileTextures));
    for (const auto& [slot, path] : kSlotFiles) {
        named.insert(path);
    }
    named.insert("Art Assets\\Menu_Block_pick.bmp");
    for (const std::string& path : named) {
        EXPECT_TRUE(Listed(path)) << path << " is named by the game but the generator does not paint it";
    }
    std::set<std::string> seen;
    for (const PictureEntry& e : kPictures) {
        auto slot = kSlotFiles.find(e.slot);
        if (e.slot >= 0) {
            ASSERT_NE(slot, kSlotFiles.end())
                << e.path << " claims slot " << e.slot << ", which holds no file";
            EXPECT_EQ(e.path, slot->second) << "slot " << e.slot;
        } else {
            for (const auto& [index, path] : kSlotFiles) {
                EXPECT_NE(e.path, path) << e.path << " belongs in slot " << index;
            }
        }
        EXPECT_TRUE(seen.insert(std::string(e.path)).second) << e.path << " is listed twice";
        EXPECT_TRUE(named.count(std::string(e.path))) << e.path << " is painted but nothing opens it";
    }
}

TEST(Pictures, EveryPictureExistsAndDecodesAtItsSize) {
    std::set<std::string> fullScreen(std::begin(kFullScreen), std::end(kFullScreen));
    for (const PictureEntry& e : kPictures) {
        std::string path(e.path);
        Image image = Decode(path);
        ASSERT_GT(image.width, 0) << path << " is missing or unreadable";
        EXPECT_GT(image.height, 0) << path;
        EXPECT_EQ(e.fullScreen, fullScreen.count(path) == 1) << path;
        if (e.fullScreen) {
            EXPECT_EQ(image.width, 800) << path;
            EXPECT_EQ(image.height, 600) << path;
        }
        std::optional<LoadedBitmap> bitmap = LoadBitmap(path);
        ASSERT_TRUE(bitmap.has_value()) << path << " is not readable by the game's image loader";
        EXPECT_EQ(bitmap->width, image.width) << path;
        EXPECT_EQ(bitmap->height, image.height) << path;
    }
    // The battle screen draws these at fixed sizes; pictures of that size stay crisp.
    const std::map<std::string, std::pair<int, int>> drawnAt = {
        {"Art Assets\\Textures\\hud\\statsOn.png", {140, 50}},
        {"Art Assets\\Textures\\hud\\statsOff.png", {140, 50}},
        {"Art Assets\\Textures\\hud\\moveOn.png", {110, 50}},
        {"Art Assets\\Textures\\hud\\moveOff.png", {110, 50}},
        {"Art Assets\\Textures\\hud\\attackOn.png", {150, 50}},
        {"Art Assets\\Textures\\hud\\attackOff.png", {150, 50}},
        {"Art Assets\\Textures\\statcard.png", {252, 144}},
        {"Art Assets\\Textures\\statcardMirror.png", {252, 144}},
        {"Art Assets\\Buttons\\Pause\\pauseTop1.png", {200, 50}},
    };
    for (const auto& [path, size] : drawnAt) {
        Image image = Decode(path);
        EXPECT_EQ(image.width, size.first) << path;
        EXPECT_EQ(image.height, size.second) << path;
    }
}

TEST(Pictures, PickSilhouetteKeysOnlyItsFirstStoredPixel) {
    Image pick = Decode("Art Assets\\Menu_Block_pick.bmp");
    ASSERT_GT(pick.width, 0);
    // The first stored pixel of a BMP is the bottom-left one.
    const unsigned char* key = pick.At(0, pick.height - 1);
    int keyed = 0;
    for (int y = 0; y < pick.height; ++y) {
        for (int x = 0; x < pick.width; ++x) {
            const unsigned char* p = pick.At(x, y);
            keyed += (p[0] == key[0] && p[1] == key[1] && p[2] == key[2]) ? 1 : 0;
        }
    }
    EXPECT_GE(keyed, 1);
    EXPECT_LT(keyed * 100, pick.width * pick.height) << "most of the button must be pickable";
}

TEST(Pictures, EveryPictureBecomesATextureOfItsSize) {
    REQUIRE_GL();
    for (const PictureEntry& e : kPictures) {
        std::string path(e.path);
        Image image = Decode(path);
        uint32_t texture = LoadTexture(path);
        ASSERT_NE(texture, 0u) << path;
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_EQ(width, image.width) << path;
        EXPECT_EQ(height, image.height) << path;
    }
    // Every button of every layout is picked through this silhouette: all but the key pixel take the colour.
    uint32_t pick = LoadColourKeyTexture("Art Assets\\Menu_Block_pick.bmp", 1002003);
    ASSERT_NE(pick, 0u);
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, pick);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    ASSERT_GT(width * height, 0);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int opaque = 0;
    for (size_t k = 0; k < rgba.size(); k += 4) {
        opaque += (rgba[k] == 1 && rgba[k + 1] == 2 && rgba[k + 2] == 3 && rgba[k + 3] == 255) ? 1 : 0;
    }
    EXPECT_EQ(rgba[3], 0) << "the first stored pixel is the transparent key";
    EXPECT_EQ(opaque, width * height - 1);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST(Pictures, GroundTexturesTileWithoutSeams) {
    // Textures that repeat across open ground, and the street pieces that repeat along their street.
    struct Repeat {
        const char* path;
        bool acrossX;
        bool acrossY;
    };
    const Repeat repeats[] = {
        {"Art Assets\\grass_texture.png", true, true},
        {"Art Assets\\dirt_texture.png", true, true},
        {"Art Assets\\water_texture.png", true, true},
        {"Art Assets\\Textures\\Street.png", true, true},
        {"Art Assets\\Textures\\Street_Top.png", true, false},
        {"Art Assets\\Textures\\Street_Bottom_NL.png", true, false},
        {"Art Assets\\Textures\\Street_Left.png", false, true},
        {"Art Assets\\Textures\\Street_Right_NL.png", false, true},
    };
    for (const Repeat& r : repeats) {
        Image image = Decode(r.path);
        ASSERT_GT(image.width, 1) << r.path;
        auto diff = [&](int x0, int y0, int x1, int y1) {
            const unsigned char *a = image.At(x0, y0), *b = image.At(x1, y1);
            return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        };
        // The jump across the wrap-around edge must look like any step between neighbouring pixels.
        int w = image.width, h = image.height;
        double insideX = 0, acrossX = 0, insideY = 0, acrossY = 0;
        for (int k = 0; k < h; ++k) {
            insideX += diff(w / 2 + 5, k, w / 2 + 6, k);
            acrossX += diff(w - 1, k, 0, k);
        }
        for (int k = 0; k < w; ++k) {
            insideY += diff(k, h / 2 + 5, k, h / 2 + 6);
            acrossY += diff(k, h - 1, k, 0);
        }
        if (r.acrossX) {
            EXPECT_LT(acrossX, insideX * 2 + 10 * h) << r.path << " shows a seam between left and right";
        }
        if (r.acrossY) {
            EXPECT_LT(acrossY, insideY * 2 + 10 * w) << r.path << " shows a seam between top and bottom";
        }
    }
}

TEST(Pictures, StreetPiecesJoinAtTheirEdges) {
    // Pieces that lie side by side in a crossing must show the same pixels along the shared edge.
    struct Join {
        const char* left;
        const char* right;
    };
    const Join beside[] = {{"Street_Top", "Corner_TL"},     {"Corner_TR", "Street_Top"},
                           {"Street_Bottom", "Corner_BL"},  {"Corner_BR", "Street_Bottom"},
                           {"Street_Left", "Street_Right"}, {"Street_Corner_TL", "Street_Top_NL"},
                           {"Street_Left_NL", "Corner_BR"}};
    auto load = [](const char* name) {
        return Decode(std::string("Art Assets\\Textures\\") + name + ".png");
    };
    for (const Join& j : beside) {
        Image a = load(j.left), b = load(j.right);
        ASSERT_EQ(a.height, b.height);
        int mismatched = 0;
        for (int y = 0; y < a.height; ++y) {
            const unsigned char *p = a.At(a.width - 1, y), *q = b.At(0, y);
            int d = std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
            mismatched += d > 150 ? 1 : 0; // slab joints may differ, road and kerb may not
        }
        EXPECT_LT(mismatched, a.height / 20) << j.left << " does not join " << j.right;
    }
}

TEST(Pictures, ParticleRegionsHoldASoftGlow) {
    Image atlas = Decode("Art Assets\\Textures\\Particle_Texture.png");
    ASSERT_GT(atlas.width, 0);
    // Texture v runs from the bottom row up; the beams use u, v from 0.5 to 0.75 and cores inside it.
    auto alpha = [&](float u, float v) {
        int x = std::min(atlas.width - 1, static_cast<int>(u * atlas.width));
        int y = std::min(atlas.height - 1, static_cast<int>((1.0f - v) * atlas.height));
        return atlas.At(x, y)[3];
    };
    EXPECT_GT(alpha(0.625f, 0.625f), 180) << "beam core must be bright";
    for (float centre : {0.6f, 0.65f, 0.575f, 0.675f}) {
        EXPECT_GT(alpha(centre, 0.625f), 120) << "along the beam at u " << centre;
    }
    EXPECT_LT(alpha(0.625f, 0.505f), alpha(0.625f, 0.6f)) << "the glow fades towards the cell edge";
    EXPECT_LT(alpha(0.625f, 0.505f), 80);
}

TEST(Pictures, TwelveSkinsHaveDistinctColourSchemes) {
    const char* skins[] = {"ArmyPlayer", "Army1",   "Army2",   "Army3",   "Building10", "Custom1",
                           "Custom2",    "Custom3", "Custom4", "Custom5", "Custom6",    "Ace"};
    std::vector<std::array<double, 3>> means;
    for (const char* name : skins) {
        Image skin = Decode(std::string("Art Assets\\Textures\\") + name + ".png");
        ASSERT_GT(skin.width, 0) << name;
        std::array<double, 3> mean{};
        // The body quarter (bottom left) carries the scheme's main colour.
        for (int y = skin.height / 2; y < skin.height; ++y) {
            for (int x = 0; x < skin.width / 2; ++x) {
                for (int c = 0; c < 3; ++c) {
                    mean[c] += skin.At(x, y)[c];
                }
            }
        }
        for (double& m : mean) {
            m /= (skin.width / 2.0) * (skin.height / 2.0);
        }
        means.push_back(mean);
    }
    for (size_t a = 0; a < means.size(); ++a) {
        for (size_t b = a + 1; b < means.size(); ++b) {
            double d = std::abs(means[a][0] - means[b][0]) + std::abs(means[a][1] - means[b][1]) +
                       std::abs(means[a][2] - means[b][2]);
            EXPECT_GT(d, 24.0) << skins[a] << " and " << skins[b] << " look alike";
        }
    }
}

TEST(Layouts, EveryLayoutIsAHudDocumentWithFilledSlotsInsideTheWindow) {
    for (const char* file : kLayouts) {
        std::vector<Button> buttons = ReadLayout(file);
        EXPECT_FALSE(buttons.empty()) << file;
        bool combat = std::string(file) == "combat.xml" || std::string(file) == "pause.xml" ||
                      std::string(file) == "win.xml" || std::string(file) == "summary.xml";
        for (const Button& b : buttons) {
            for (int slot : {b.tex, b.MOtex}) {
                ASSERT_GE(slot, 0) << file;
                ASSERT_LT(slot, kSlotCount) << file;
                // Slot 2 is the transparent blank texture: an invisible button over a baked label.
                EXPECT_TRUE(slot == 2 || kSlotFiles.count(slot)) << file << " uses empty slot " << slot;
                EXPECT_TRUE(combat || !kCombatOnlySlots.count(slot))
                    << file << " uses combat-only slot " << slot;
            }
            EXPECT_GT(b.xSize, 0) << file;
            EXPECT_GT(b.ySize, 0) << file;
            EXPECT_LE(b.xPos + b.xSize, 800) << file;
            EXPECT_LE(b.yPos + b.ySize, 600) << file;
        }
    }
}

TEST(Layouts, ScreensHoldTheButtonsThatMakeTheGamePlayable) {
    auto menu = ReadLayout("menu.xml");
    for (int state : {3, 11, 13, 12}) {
        EXPECT_NE(Find(menu, 1, state), nullptr) << "main menu cannot reach state " << state;
    }
    // The world map is reached by CONTINUE (message 0, its own pictures) and START (message 1).
    ASSERT_NE(Find(menu, 4, 0), nullptr) << "main menu needs CONTINUE";
    ASSERT_NE(Find(menu, 4, 1), nullptr) << "main menu needs START";
    EXPECT_EQ(Find(menu, 4, 0)->tex, 79);
    EXPECT_EQ(Find(menu, 4, 0)->MOtex, 80);
    std::set<int> highlights;
    for (const Button& b : menu) {
        highlights.insert(b.MOtex);
    }
    for (int slot : {53, 54, 55, 56}) {
        EXPECT_TRUE(highlights.count(slot)) << "menu highlight " << slot << " unused";
    }
    EXPECT_EQ(Find(menu, 4, 1)->MOtex, 56);
    EXPECT_EQ(Find(menu, 1, 12)->MOtex, 54);

    auto options = ReadLayout("options.xml"), pausedOptions = ReadLayout("options_p.xml");
    for (int message : {0, 1, 2, 5, 6}) {
        const Button* a = Find(options, 4, message);
        const Button* b = Find(pausedOptions, 4, message);
        ASSERT_NE(a, nullptr) << "options message " << message;
        ASSERT_NE(b, nullptr) << "paused options message " << message;
        // Both layouts sit on the same picture, so their buttons must sit on the same labels.
        EXPECT_EQ(a->xPos, b->xPos);
        EXPECT_EQ(a->yPos, b->yPos);
    }
    ASSERT_NE(Find(options, 1, 2), nullptr) << "options needs a way back to the menu";
    ASSERT_NE(Find(pausedOptions, 4, 4), nullptr) << "paused options needs a way back to the pause menu";
    EXPECT_EQ(Find(options, 1, 2)->yPos, Find(pausedOptions, 4, 4)->yPos);

    auto map = ReadLayout("map.xml");
    EXPECT_NE(Find(map, 1, 8), nullptr) << "world map needs the build button";
    for (const Button& b : map) {
        EXPECT_NE(b.function, 4) << "every message on the world map is taken as a mission index";
    }

    auto build = ReadLayout("buildScreen.xml");
    for (int value = 0; value <= 19; ++value) {
        EXPECT_NE(Find(build, 4, value), nullptr) << "build screen message " << value;
    }
    EXPECT_NE(Find(build, 1, 5), nullptr) << "build screen needs the way back to the world map";
    for (int row = 0; row < 9; ++row) {
        const Button* b = Find(build, 4, row);
        ASSERT_NE(b, nullptr);
        int textY = 130 + 50 * row;
        EXPECT_TRUE(b->xPos <= 25 && b->xPos + b->xSize >= 195 && b->yPos < textY &&
                    b->yPos + b->ySize > textY)
            << "row " << row << " does not cover the printed part name and count";
    }

    auto combat = ReadLayout("combat.xml");
    for (int key : {57, 14, 42, 29, 1}) {
        EXPECT_NE(Find(combat, 3, key), nullptr) << "combat needs a button for key " << key;
    }
    std::set<int> combatSlots;
    for (const Button& b : combat) {
        combatSlots.insert(b.tex);
        combatSlots.insert(b.MOtex);
    }
    for (int slot = 42; slot <= 51; ++slot) {
        EXPECT_TRUE(combatSlots.count(slot)) << "battle bar picture " << slot << " unused";
    }

    auto pause = ReadLayout("pause.xml");
    EXPECT_NE(Find(pause, 2, 0), nullptr) << "pause needs continue";
    EXPECT_NE(Find(pause, 4, 3), nullptr) << "pause needs the how-to-play pages";
    EXPECT_NE(Find(pause, 4, 4), nullptr) << "pause needs options";
    EXPECT_NE(Find(pause, 1, 5), nullptr) << "pause needs a way out of the battle";
    EXPECT_NE(Find(ReadLayout("win.xml"), 1, 5), nullptr) << "the end of a battle leads to the world map";

    // The pause menu pages through the first two how-to-play layouts with message 3.
    EXPECT_NE(Find(ReadLayout("howtoplay1.xml"), 4, 3), nullptr);
    EXPECT_NE(Find(ReadLayout("howtoplay2.xml"), 4, 3), nullptr);
    EXPECT_NE(Find(ReadLayout("howtoplay1.xml"), 1, 14), nullptr);
    EXPECT_NE(Find(ReadLayout("howtoplay2.xml"), 1, 15), nullptr);
    EXPECT_NE(Find(ReadLayout("howtoplay3.xml"), 1, 2), nullptr);
    EXPECT_NE(Find(ReadLayout("credits.xml"), 1, 2), nullptr);
    EXPECT_NE(Find(ReadLayout("squadScreen.xml"), 1, 5), nullptr);
}

TEST(Layouts, InvisibleButtonsSitOnTheButtonsDrawnInTheirScreen) {
    // Buttons with the transparent slot 2 show what the screen picture draws under them; the picture
    // must draw a framed plate exactly there, or the button is invisible or its label is elsewhere.
    const std::pair<const char*, const char*> screens[] = {
        {"menu.xml", "Art Assets\\Screens\\TitleScreen.png"},
        {"options.xml", "Art Assets\\Screens\\OptionsScreen.png"},
        {"options_p.xml", "Art Assets\\Screens\\OptionsScreen.png"},
        {"credits.xml", "Art Assets\\Screens\\CreditsScreen.png"},
        {"howtoplay1.xml", "Art Assets\\Screens\\HowTo_Units.png"},
        {"howtoplay2.xml", "Art Assets\\Screens\\HowTo_Controls.png"},
        {"buildScreen.xml", "Art Assets\\Screens\\loadout_screen.png"},
        {"squadScreen.xml", "Art Assets\\Screens\\Squad_Select_Screen_1_Outline_Text.png"},
        {"win.xml", "Art Assets\\Screens\\Player1Victory.png"},
        {"win.xml", "Art Assets\\Screens\\Player2Victory.png"},
    };
    for (const auto& [layout, picture] : screens) {
        Image screen = Decode(picture);
        ASSERT_EQ(screen.width, 800) << picture;
        for (const Button& b : ReadLayout(layout)) {
            if (b.tex != 2) {
                continue;
            }
            ASSERT_GE(b.yPos, 3) << layout;
            ASSERT_GE(b.xPos, 3) << layout;
            // A plate is framed all round: its edge pixels stand out from the pixels just outside it.
            auto contrast = [&](int x, int y, int ox, int oy) {
                const unsigned char *edge = screen.At(x, y), *outside = screen.At(x + ox, y + oy);
                return std::abs(edge[0] - outside[0]) + std::abs(edge[1] - outside[1]) +
                       std::abs(edge[2] - outside[2]);
            };
            int samples = 0, framed = 0;
            for (int x = b.xPos + 8; x < b.xPos + b.xSize - 8; ++x) {
                framed += contrast(x, b.yPos, 0, -3) > 30 ? 1 : 0;
                framed += contrast(x, b.yPos + b.ySize - 1, 0, 3) > 30 ? 1 : 0;
                samples += 2;
            }
            for (int y = b.yPos + 8; y < b.yPos + b.ySize - 8; ++y) {
                framed += contrast(b.xPos, y, -3, 0) > 30 ? 1 : 0;
                framed += contrast(b.xPos + b.xSize - 1, y, 3, 0) > 30 ? 1 : 0;
                samples += 2;
            }
            EXPECT_GT(framed * 4, samples * 3)
                << picture << " draws no button under " << layout << " button at " << b.xPos << ", " << b.yPos
                << " (" << framed << " of " << samples << " edge pixels framed)";
        }
    }
}
