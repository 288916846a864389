// The full-window screens. Button labels are baked into the pictures at the rectangles of the layout
// files, so a button moved in a layout moves its label with the next build.
#include "Studio.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

struct Label {
    int function;
    int data;
    const char* text;
};

// Bakes the resting look of every listed button of a layout into the picture.
void BakeButtons(Studio& studio, Canvas& c, const std::string& layout, const std::vector<Label>& labels,
                 int size = 20) {
    for (const Label& l : labels) {
        DrawButton(studio, c, studio.Button(layout, l.function, l.data), l.text, ButtonLook::Resting, size);
    }
}

// A city skyline silhouette along the bottom of a picture.
void Skyline(Canvas& c, float baseY, Colour colour, uint32_t seed) {
    float x = 0.0f;
    int k = 0;
    while (x < c.Width()) {
        float w = 30.0f + 50.0f * Hash01(k, 0, seed);
        float h = 40.0f + 120.0f * Hash01(k, 1, seed);
        c.FillRect(int(x), int(baseY - h), int(w) - 2, int(h) + 1, colour);
        for (float wy = baseY - h + 10; wy < baseY - 8; wy += 14) {
            for (float wx = x + 6; wx < x + w - 10; wx += 10) {
                if (Hash01(int(wx), int(wy), seed + 1) > 0.72f) {
                    c.FillRect(int(wx), int(wy), 4, 6, WithAlpha(Palette::Gold, 0.55f));
                }
            }
        }
        x += w;
        ++k;
    }
}

// A side view of a walking mech, feet at y + 182 s; a rim of light runs along its top edges.
void MechSilhouette(Canvas& c, float x, float y, float s, Colour body, Colour edge) {
    auto poly = [&](std::vector<float> pts, Colour col, float dx, float dy) {
        for (size_t i = 0; i < pts.size(); i += 2) {
            pts[i] = x + pts[i] * s + dx;
            pts[i + 1] = y + pts[i + 1] * s + dy;
        }
        c.Polygon(pts, col);
    };
    auto limb = [&](float x0, float y0, float x1, float y1, float w, Colour col, float dx, float dy) {
        c.Line(x + x0 * s + dx, y + y0 * s + dy, x + x1 * s + dx, y + y1 * s + dy, w * s, col);
    };
    auto shape = [&](Colour col, float dx, float dy) {
        for (float side : {-1.0f, 1.0f}) {
            float hx = side < 0 ? -30.0f : 45.0f;
            float knee = hx + 25 * side;
            limb(hx, 30, knee, 100, 28, col, dx, dy);
            limb(knee, 100, hx, 168, 22, col, dx, dy);
            poly({hx - 30, 168, hx + 24, 168, hx + 30, 182, hx - 36, 182}, col, dx, dy);
        }
        poly({-80, -20, 90, -30, 110, 10, 70, 44, -70, 44, -95, 10}, col, dx, dy);
        poly({20, -62, 80, -57, 98, -25, 10, -22}, col, dx, dy);
        poly({85, -12, 205, -19, 205, -3, 85, 6}, col, dx, dy);
        poly({-95, -46, -55, -46, -55, -18, -95, -18}, col, dx, dy);
        limb(-70, -46, -78, -80, 3, col, dx, dy);
    };
    shape(WithAlpha(edge, 0.55f), -2.0f, -2.0f);
    shape(body, 0.0f, 0.0f);
    for (float side : {-1.0f, 1.0f}) {
        float hx = side < 0 ? -30.0f : 45.0f;
        c.Circle(x + (hx + 25 * side) * s, y + 100 * s, 9 * s, Shade(body, 1.8f));
        c.Circle(x + hx * s, y + 30 * s, 11 * s, Shade(body, 1.6f));
    }
    c.Line(x + 28 * s, y - 44 * s, x + 84 * s, y - 42 * s, 5 * s, edge);
    c.Line(x - 80 * s, y - 18 * s, x + 88 * s, y - 28 * s, 2 * s, WithAlpha(edge, 0.6f));
    c.Circle(x - 75 * s, y - 32 * s, 4 * s, WithAlpha(Palette::Red, 0.9f));
}

void Logo(Studio& studio) {
    Canvas c(kW, kH, Palette::Ink);
    c.Glow(400, 290, 420, WithAlpha(Hex(0x24405A), 0.8f), 1.5f);
    DrawWordmark(studio, c, 400, 320, 110);
    studio.font.Draw(c, "MECH  TACTICS", 400, 372, 22, true, Palette::Muted, Align::Centre);
    studio.font.Draw(c, "Press any key", 400, 540, 14, false, WithAlpha(Palette::Muted, 0.7f), Align::Centre);
    studio.Save("Art Assets\\Screens\\LogoScreen.png", c);
}

void TeamLogo(Studio& studio) {
    Canvas c(kW, kH, Hex(0x07090C));
    // A gear emblem: ring of teeth around a hub with the team's initials.
    for (int k = 0; k < 12; ++k) {
        float a = k * 6.2831853f / 12;
        c.Line(400 + std::cos(a) * 92, 250 + std::sin(a) * 92, 400 + std::cos(a) * 118,
               250 + std::sin(a) * 118, 22, Palette::Gold);
    }
    c.Circle(400, 250, 100, Palette::Gold);
    c.Circle(400, 250, 78, Hex(0x07090C));
    c.Ring(400, 250, 64, 3, WithAlpha(Palette::Gold, 0.6f));
    studio.font.Draw(c, "GW", 400, 270, 54, true, Palette::GoldLight, Align::Centre);
    studio.font.Draw(c, "GOLDLINE WORKS", 400, 430, 34, true, Palette::Text, Align::Centre);
    studio.font.Draw(c, "presents", 400, 465, 18, false, Palette::Muted, Align::Centre);
    studio.Save("Art Assets\\Screens\\TeamLogoScreen.png", c);
}

void Loading(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 7);
    DrawWordmark(studio, c, 400, 200, 90);
    studio.font.Draw(c, "LOADING", 40, 290, 14, true, Palette::Muted);
    c.FillRect(40, 300, 720, 32, WithAlpha(Hex(0x000000), 0.55f));
    studio.Save("Art Assets\\Screens\\Loading.png", c);
}

void Title(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 3);
    c.Glow(400, 600, 520, WithAlpha(Hex(0xC26A1E), 0.35f), 1.4f);
    Skyline(c, 600, Hex(0x0A0F15), 9);
    c.Glow(660, 430, 260, WithAlpha(Hex(0x3B6C93), 0.5f), 1.3f);
    MechSilhouette(c, 650, 400, 1.1f, Hex(0x070B10), WithAlpha(Palette::Gold, 0.9f));
    DrawWordmark(studio, c, 400, 150, 100);
    studio.font.Draw(c, "MECH  TACTICS", 400, 200, 20, true, Palette::Muted, Align::Centre);
    BakeButtons(
        studio, c, "menu.xml",
        {{4, 1, "START"}, {1, 13, "HOW TO PLAY"}, {1, 3, "OPTIONS"}, {1, 11, "CREDITS"}, {1, 12, "QUIT"}});
    studio.font.Draw(c, "v1.0", 786, 590, 12, false, WithAlpha(Palette::Muted, 0.7f), Align::Right);
    studio.Save("Art Assets\\Screens\\TitleScreen.png", c);
}

// The options screen; the volume value is printed by the game in black inside the light box.
void Options(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 4);
    DrawTitle(studio, c, "OPTIONS", 80);
    LayoutButton down = studio.Button("options.xml", 4, 1), up = studio.Button("options.xml", 4, 0);
    LayoutButton full = studio.Button("options.xml", 4, 2);
    LayoutButton speed = studio.Button("options.xml", 4, 5), rule = studio.Button("options.xml", 4, 6);
    DrawPanel(c, 50, 136, 700, 88);
    DrawPanel(c, 50, 246, 700, 88);
    DrawPanel(c, 50, float(speed.yPos - 11), 700, float(speed.ySize + 22));
    DrawPanel(c, 50, float(rule.yPos - 11), 700, float(rule.ySize + 22));
    studio.font.Draw(c, "SOUND EFFECTS VOLUME", 80, float(down.yPos + down.ySize / 2 + 7), 20, true,
                     Palette::Text);
    studio.font.Draw(c, "DISPLAY", 80, float(full.yPos + full.ySize / 2 + 7), 20, true, Palette::Text);
    studio.font.Draw(c, "COMPUTER SPEED", 80, float(speed.yPos + speed.ySize / 2 - 1), 20, true,
                     Palette::Text);
    studio.font.Draw(c, "One action a second, or four", 80, float(speed.yPos + speed.ySize / 2 + 17), 13,
                     false, Palette::Muted);
    studio.font.Draw(c, "OPPONENT", 80, float(rule.yPos + rule.ySize / 2 - 1), 20, true, Palette::Text);
    studio.font.Draw(c, "Classic waits for you; Veteran hunts", 80, float(rule.yPos + rule.ySize / 2 + 17),
                     13, false, Palette::Muted);
    int boxLeft = down.xPos + down.xSize + 6, boxRight = up.xPos - 6;
    c.RoundRect(float(boxLeft), float(down.yPos), float(boxRight - boxLeft), float(down.ySize), 6,
                Hex(0xE8EEF2), 2, Palette::Gold);
    for (int k = 0; k < 10; ++k) {
        c.FillRect(boxLeft + 8 + k * ((boxRight - boxLeft - 16) / 10), down.yPos + down.ySize - 8, 4, 3,
                   WithAlpha(Palette::Ink, 0.35f));
    }
    BakeButtons(studio, c, "options.xml", {{4, 1, "\u2212"}, {4, 0, "+"}}, 28);
    BakeButtons(studio, c, "options.xml", {{4, 2, "FULL SCREEN"}, {4, 5, ""}, {4, 6, ""}, {1, 2, "BACK"}},
                18);
    studio.Save("Art Assets\\Screens\\OptionsScreen.png", c);
}

void Credits(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 5);
    DrawTitle(studio, c, "CREDITS", 80);
    DrawPanel(c, 100, 120, 600, 370);
    const std::pair<const char*, const char*> lines[] = {
        {"GAME DESIGN AND PROGRAMMING", "The Vantor team"},
        {"PICTURES, MODELS AND SOUND", "Made by our own generator tools"},
        {"TYPEFACE", "DejaVu Sans"},
        {"LIBRARIES", "SDL2, OpenGL, FreeImage, FreeType, TinyXML-2, ImGui"},
        {"TESTING", "Everyone who forgot to press Space"},
        {"SPECIAL THANKS", "You, commander. Thanks for playing."},
    };
    float y = 168;
    for (const auto& [role, name] : lines) {
        studio.font.Draw(c, role, 400, y, 14, true, Palette::Gold, Align::Centre);
        studio.font.Draw(c, name, 400, y + 24, 17, false, Palette::Text, Align::Centre);
        y += 56;
    }
    BakeButtons(studio, c, "credits.xml", {{1, 2, "BACK"}});
    studio.Save("Art Assets\\Screens\\CreditsScreen.png", c);
}

// One rules card of the how-to-play pages: a heading, an icon colour and wrapped text.
void RuleCard(Studio& studio, Canvas& c, float x, float y, float w, float h, const char* heading, Colour mark,
              const char* text) {
    DrawPanel(c, x, y, w, h);
    c.Circle(x + 24, y + 28, 9, mark);
    studio.font.Draw(c, heading, x + 42, y + 35, 19, true, Palette::Text);
    studio.font.DrawWrapped(c, text, x + 18, y + 66, w - 36, 15, false, Hex(0xC9D4DE), 21);
}

void HowToUnits(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 6);
    DrawTitle(studio, c, "HOW TO PLAY: BATTLE RULES", 62, 32);
    studio.font.Draw(c, "1 / 3", 770, 36, 14, true, Palette::Muted, Align::Right);
    RuleCard(studio, c, 30, 90, 360, 210, "TIME UNITS", Palette::Cyan,
             "Units act one at a time. Each activation has a budget of 100 time units. Moving and firing "
             "spend them; the unit with the least time spent acts next, so a cheap turn gets you back "
             "into action sooner.");
    RuleCard(studio, c, 410, 90, 360, 210, "MOVING", Palette::Green,
             "Blue tiles show where the unit can reach. Point at a blue tile to preview the route (orange) "
             "and its end (green); click the green tile to walk there. Rough ground costs more time.");
    RuleCard(
        studio, c, 30, 316, 360, 200, "ATTACKING", Palette::Red,
        "Switch to attack mode: red tiles are targets in range and in sight. Click an enemy on a red "
        "tile to fire. Each shot costs the weapon's time; damage, range and shots are on the stat card.");
    RuleCard(studio, c, 410, 316, 360, 200, "UNDO AND ENDING", Palette::Gold,
             "Undo takes back every move since the activation began, until you fire. End the activation "
             "when you are done: nothing ends it for you. Destroy every enemy unit to win.");
    BakeButtons(studio, c, "howtoplay1.xml",
                {{1, 2, "\u25C0  MENU"}, {4, 3, "IN BATTLE: NEXT"}, {1, 14, "NEXT  \u25B6"}}, 17);
    studio.Save("Art Assets\\Screens\\HowTo_Units.png", c);
}

void KeyCap(Studio& studio, Canvas& c, float x, float y, const std::string& key, float w = 0) {
    if (w == 0) {
        w = std::max(34.0f, studio.font.Measure(key, 14, true) + 18);
    }
    c.RoundRect(x, y + 3, w, 28, 5, Hex(0x0A0F14));
    c.RoundRect(x, y, w, 28, 5, Hex(0xD9E0E6), 1.5f, Hex(0x7F8E9B));
    studio.font.DrawCentred(c, key, x, y, w, 28, 14, true, Palette::Ink);
}

void HowToControls(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 8);
    DrawTitle(studio, c, "HOW TO PLAY: CONTROLS", 62, 32);
    studio.font.Draw(c, "2 / 3", 770, 36, 14, true, Palette::Muted, Align::Right);
    DrawPanel(c, 30, 90, 360, 430);
    DrawPanel(c, 410, 90, 360, 430);
    studio.font.Draw(c, "ORDERS", 50, 124, 20, true, Palette::Gold);
    studio.font.Draw(c, "CAMERA AND MENUS", 430, 124, 20, true, Palette::Gold);
    struct Row {
        const char* key;
        const char* text;
    };
    const Row orders[] = {
        {"Point", "Preview a route to a blue tile"},   {"Click", "Walk to the green end tile"},
        {"Click", "Fire at an enemy on red"},          {"Left Shift", "Switch move / attack mode"},
        {"Right button", "Switch move / attack mode"}, {"Space", "End the activation"},
        {"Backspace", "Undo this activation's moves"}, {"Left Ctrl", "Show or hide the stat cards"},
    };
    const Row camera[] = {
        {"W", "Zoom in (or mouse wheel)"},
        {"S", "Zoom out"},
        {"A", "Turn left"},
        {"D", "Turn right"},
        {"Q", "Tilt up"},
        {"E", "Tilt down"},
        {"Arrows", "Slide the view"},
        {"Esc", "Pause: options, help, leave"},
    };
    for (int k = 0; k < 8; ++k) {
        float y = 146 + k * 45.0f;
        KeyCap(studio, c, 50, y, orders[k].key, 120);
        studio.font.Draw(c, orders[k].text, 182, y + 19, 14, false, Palette::Text);
        KeyCap(studio, c, 430, y, camera[k].key, 90);
        studio.font.Draw(c, camera[k].text, 532, y + 19, 14, false, Palette::Text);
    }
    BakeButtons(studio, c, "howtoplay2.xml",
                {{1, 2, "\u25C0  MENU"}, {4, 3, "IN BATTLE: BACK"}, {1, 15, "NEXT  \u25B6"}}, 17);
    studio.Save("Art Assets\\Screens\\HowTo_Controls.png", c);
}

void WorldMap(Studio& studio) {
    Canvas c(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            float u = float(x) / kW, v = float(y) / kH;
            float n = TileFbm(u * 0.75f + 0.1f, v * 0.75f + 0.05f, 3, 6, 61);
            float fade = std::min({u, 1 - u, v * 1.3f, 1 - v}) * 4.0f;
            // The campaign's front runs from the south-west to the north-east; keep land under it.
            float ax = 172.0f, ay = 442.0f, bx = 702.0f, by = 132.0f;
            float t = std::clamp(((x - ax) * (bx - ax) + (y - ay) * (by - ay)) /
                                     ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)),
                                 0.0f, 1.0f);
            float front = std::hypot(x - (ax + (bx - ax) * t), y - (ay + (by - ay) * t));
            float land = n + 0.12f * std::min(1.0f, fade) - 0.16f +
                         0.16f * std::exp(-(front * front) / (110.0f * 110.0f));
            Colour col;
            if (land < 0.47f) {
                float depth = std::clamp((0.47f - land) * 6.0f, 0.0f, 1.0f);
                col = Mix(Hex(0x1D4F73), Hex(0x0C2236), depth);
                if (land > 0.455f)
                    col = Hex(0x3A7FA3); // shallows
            } else {
                float h = std::clamp((land - 0.47f) * 5.0f, 0.0f, 1.0f);
                col = h < 0.5f ? Mix(Hex(0x4F6B3C), Hex(0x7C7A4E), h * 2)
                               : Mix(Hex(0x7C7A4E), Hex(0xB8B3A0), h * 2 - 1);
                if (std::fmod(land * 40.0f, 1.0f) < 0.08f)
                    col = Shade(col, 0.8f); // contour lines
            }
            c.At(x, y) = col;
        }
    }
    Colour grid = WithAlpha(Palette::Cyan, 0.14f);
    for (int x = 0; x < kW; x += 50)
        c.FillRect(x, 0, 1, kH, grid);
    for (int y = 0; y < kH; y += 50)
        c.FillRect(0, y, kW, 1, grid);
    c.Vignette(0.5f);
    c.FillGradient(0, 0, kW, 56, WithAlpha(Palette::Ink, 0.92f), WithAlpha(Palette::Ink, 0.6f));
    c.FillRect(0, 56, kW, 2, Palette::Gold);
    studio.font.Draw(c, "WORLD MAP", 24, 38, 28, true, Palette::Text);
    studio.font.Draw(c, "Choose a mission marker to deploy your squad", 776, 36, 15, false, Palette::Muted,
                     Align::Right);
    // The standings panel: the game draws three bars at x 25, 65 and 105 (y 435 to 535) with icons below.
    DrawPanel(c, 10, 400, 140, 190, WithAlpha(Palette::Steel, 0.92f));
    studio.font.Draw(c, "STANDING", 80, 426, 13, true, Palette::Gold, Align::Centre);
    for (int x : {25, 65, 105}) {
        c.FillRect(x, 435, 30, 100, WithAlpha(Hex(0x000000), 0.5f));
    }
    studio.Save("Art Assets\\Screens\\WorldMap.png", c);
}

void Loadout(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 10);
    c.FillGradient(0, 0, kW, 60, WithAlpha(Palette::Ink, 0.9f), WithAlpha(Palette::Ink, 0.5f));
    c.FillRect(0, 60, kW, 2, Palette::Gold);
    studio.font.Draw(c, "HANGAR: BUILD YOUR SQUAD", 24, 42, 26, true, Palette::Text);
    const std::string layout = "buildScreen.xml";
    // Inventory list: the game prints names at x 25 and counts at x 175 on each row.
    DrawPanel(c, 6, 70, 206, 480);
    studio.font.Draw(c, "INVENTORY", 20, 96, 15, true, Palette::Gold);
    studio.font.Draw(c, "QTY", 175, 96, 12, true, Palette::Muted);
    for (int r = 0; r < 9; ++r) {
        LayoutButton row = studio.Button(layout, 4, r);
        c.RoundRect(float(row.xPos), float(row.yPos), float(row.xSize), float(row.ySize), 4,
                    r % 2 ? Hex(0x1A2633) : Hex(0x203040), 1, WithAlpha(Palette::Line, 0.8f));
        c.FillRect(row.xPos + 154, row.yPos + 4, 1, row.ySize - 8, WithAlpha(Palette::Line, 0.9f));
    }
    // Hints below the stats.
    DrawPanel(c, 302, 412, 288, 116, WithAlpha(Palette::Steel, 0.85f));
    studio.font.Draw(c, "HOW TO BUILD", 314, 436, 12, true, Palette::Gold);
    studio.font.DrawWrapped(c,
                            "Pick a squad slot, then click inventory rows to fit parts. Fit a core first: "
                            "heads, tails and weapons attach to it. Removed parts go back to the inventory.",
                            314, 456, 266, 13, false, Hex(0xC9D4DE), 17);
    // Squad slots.
    DrawPanel(c, 244, 70, 340, 200);
    studio.font.Draw(c, "SQUAD SLOT", 254, 88, 12, true, Palette::Gold);
    const char* digits[] = {"1", "2", "3", "4", "5", "6"};
    for (int s = 0; s < 6; ++s) {
        DrawButton(studio, c, studio.Button(layout, 4, 11 + s), digits[s], ButtonLook::Resting, 20);
    }
    // A blueprint frame for the mech being built.
    c.RoundRect(254, 142, 320, 118, 6, Hex(0x10314A), 1.5f, WithAlpha(Palette::Cyan, 0.6f));
    for (int x = 262; x < 574; x += 16)
        c.FillRect(x, 144, 1, 114, WithAlpha(Palette::Cyan, 0.12f));
    for (int y = 150; y < 260; y += 16)
        c.FillRect(256, y, 316, 1, WithAlpha(Palette::Cyan, 0.12f));
    MechSilhouette(c, 400, 186, 0.3f, WithAlpha(Palette::Cyan, 0.28f), WithAlpha(Palette::Cyan, 0.8f));
    // Stats: the game prints them at x 250 and 400 from y 315 to 390.
    DrawPanel(c, 244, 276, 346, 126);
    studio.font.Draw(c, "UNIT", 250, 296, 11, true, Palette::Gold);
    studio.font.Draw(c, "WEAPON", 400, 296, 11, true, Palette::Gold);
    c.FillRect(392, 300, 1, 96, WithAlpha(Palette::Line, 0.9f));
    // The page counter is printed at (205, 395), between the list and the stats, above its arrows.
    c.RoundRect(200, 376, 96, 24, 4, Hex(0x111A24), 1.5f, Palette::Gold);
    BakeButtons(studio, c, layout, {{4, 9, "\u25C0"}, {4, 10, "\u25B6"}}, 16);
    // Modules on the right: names printed at x 610, y 105, 205, 305 and 405.
    const char* captions[] = {"CORE", "HEAD", "TAIL", "WEAPON"};
    DrawPanel(c, 594, 70, 202, 400);
    for (int k = 0; k < 4; ++k) {
        float y = 84.0f + k * 100.0f;
        studio.font.Draw(c, captions[k], 606, y + 0, 11, true, Palette::Gold);
        c.RoundRect(602, y + 4, 186, 30, 4, Hex(0x0F1720), 1, Palette::Line);
    }
    BakeButtons(studio, c, layout, {{4, 17, "REMOVE HEAD"}, {4, 18, "REMOVE TAIL"}, {4, 19, "REMOVE WEAPON"}},
                13);
    BakeButtons(studio, c, layout, {{1, 7, "SQUAD"}, {1, 5, "WORLD MAP"}}, 18);
    studio.Save("Art Assets\\Screens\\loadout_screen.png", c);
}

void Squad(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 11);
    DrawTitle(studio, c, "SQUAD", 70);
    studio.font.Draw(c, "Six bays, six mechs. Fit them out in the hangar before you deploy.", 400, 112, 16,
                     false, Palette::Muted, Align::Centre);
    for (int k = 0; k < 6; ++k) {
        float x = 40.0f + (k % 3) * 245.0f, y = 140.0f + (k / 3) * 190.0f;
        DrawPanel(c, x, y, 225, 175, WithAlpha(Palette::Steel, 0.9f));
        c.RoundRect(x + 12, y + 34, 201, 128, 6, WithAlpha(Palette::Cyan, 0.06f), 1.5f,
                    WithAlpha(Palette::Cyan, 0.5f));
        MechSilhouette(c, x + 100, y + 82, 0.26f, WithAlpha(Palette::Cyan, 0.25f),
                       WithAlpha(Palette::Cyan, 0.7f));
        studio.font.Draw(c, "BAY " + std::to_string(k + 1), x + 14, y + 25, 15, true, Palette::Text);
    }
    BakeButtons(studio, c, "squadScreen.xml", {{1, 8, "HANGAR"}, {1, 5, "WORLD MAP"}});
    studio.Save("Art Assets\\Screens\\Squad_Select_Screen_1_Outline_Text.png", c);
}

void Victory(Studio& studio, const char* file, const char* headline, const char* line, Colour tone) {
    Canvas c = Backdrop(kW, kH, 12);
    c.Glow(400, 250, 460, WithAlpha(tone, 0.35f), 1.5f);
    Skyline(c, 600, Hex(0x0A0F15), 13);
    studio.font.Draw(c, headline, 404, 264, 96, true, WithAlpha(Hex(0x000000), 0.6f), Align::Centre);
    studio.font.Draw(c, headline, 400, 260, 96, true, Mix(tone, Hex(0xFFFFFF), 0.35f), Align::Centre);
    c.FillRect(200, 290, 400, 3, tone);
    studio.font.Draw(c, line, 400, 330, 20, false, Palette::Text, Align::Centre);
    BakeButtons(studio, c, "win.xml", {{1, 5, "RETURN TO WORLD MAP"}}, 16);
    studio.Save(std::string("Art Assets\\Screens\\") + file, c);
}

void Objectives(Studio& studio) {
    Canvas c = Backdrop(kW, kH, 14);
    DrawTitle(studio, c, "MISSION OBJECTIVES", 90, 36);
    DrawPanel(c, 150, 140, 500, 300);
    const char* goals[] = {"Destroy every enemy unit.", "Keep at least one of your mechs standing.",
                           "Winning lowers the stakes of the factions involved;", "retreating raises them."};
    float y = 200;
    for (const char* g : goals) {
        c.Circle(186, y - 6, 5, Palette::Gold);
        studio.font.Draw(c, g, 202, y, 18, false, Palette::Text);
        y += 48;
    }
    studio.Save("Art Assets\\Screens\\Menu_Objectives.png", c);
}

void PauseShade(Studio& studio) {
    Canvas c(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            float dx = (x - 400.0f) / 400.0f, dy = (y - 300.0f) / 300.0f;
            c.At(x, y) = Colour{0.02f, 0.03f, 0.05f, std::min(0.9f, 0.55f + 0.25f * (dx * dx + dy * dy))};
        }
    }
    studio.Save("Art Assets\\Screens\\pauseBlack.png", c);
}

void BattleSky(Studio& studio) {
    Canvas c(kW, kH);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            float t = float(y) / kH;
            Colour sky = t < 0.6f ? Mix(Hex(0x1B2C44), Hex(0x5B7590), t / 0.6f)
                                  : Mix(Hex(0x5B7590), Hex(0xB88A5E), (t - 0.6f) / 0.4f);
            float cloud = TileFbm(float(x) / kW, t * 0.35f, 3, 5, 71);
            float band = std::clamp((cloud - 0.5f) * 3.0f, 0.0f, 1.0f) * (1.0f - std::fabs(t - 0.45f) * 1.6f);
            c.At(x, y) = Mix(sky, Hex(0xD6DEE6), std::max(0.0f, band) * 0.45f);
        }
    }
    Skyline(c, 600, Hex(0x2A3442), 15);
    studio.Save("Art Assets\\Textures\\bg.png", c);
}

} // namespace

void MakeScreens(Studio& studio) {
    Logo(studio);
    TeamLogo(studio);
    Loading(studio);
    Title(studio);
    Options(studio);
    Credits(studio);
    HowToUnits(studio);
    HowToControls(studio);
    WorldMap(studio);
    Loadout(studio);
    Squad(studio);
    Victory(studio, "Player1Victory.png", "VICTORY", "The enemy squad is destroyed. The factions take note.",
            Palette::Gold);
    Victory(studio, "Player2Victory.png", "DEFEAT",
            "Your squad is lost. Rebuild in the hangar and try again.", Palette::Red);
    Objectives(studio);
    PauseShade(studio);
    BattleSky(studio);
}
