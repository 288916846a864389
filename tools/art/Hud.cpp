// Buttons, highlights, bars, stat cards, markers, emblems and the particle atlas.
#include "Studio.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

const std::string kTex = "Art Assets\\Textures\\";

// A button picture the size of a layout button, in its resting or lit look.
Canvas ButtonPicture(Studio& studio, const LayoutButton& b, const std::string& label, ButtonLook look,
                     int size) {
    Canvas c(b.xSize, b.ySize);
    LayoutButton local = b;
    local.xPos = 0;
    local.yPos = 0;
    DrawButton(studio, c, local, label, look, size);
    return c;
}

void SaveHighlight(Studio& studio, const std::string& path, const std::string& layout, int function, int data,
                   const std::string& label, int size = 20) {
    studio.Save(path,
                ButtonPicture(studio, studio.Button(layout, function, data), label, ButtonLook::Lit, size));
}

void MenuHighlights(Studio& studio) {
    SaveHighlight(studio, kTex + "mainmenu_buttonHighlight_StartMenu.png", "menu.xml", 4, 1, "START");
    // CONTINUE is shown only while a campaign is saved, so the title picture does not carry it.
    const LayoutButton continueButton = studio.Button("menu.xml", 4, 0);
    studio.Save("Art Assets\\Buttons\\Generic\\Menu_Continue.png",
                ButtonPicture(studio, continueButton, "CONTINUE", ButtonLook::Resting, 20));
    studio.Save("Art Assets\\Buttons\\Generic\\Menu_ContinueLit.png",
                ButtonPicture(studio, continueButton, "CONTINUE", ButtonLook::Lit, 20));
    SaveHighlight(studio, kTex + "mainmenu_buttonHighlight_options.png", "menu.xml", 1, 3, "OPTIONS");
    SaveHighlight(studio, kTex + "mainmenu_buttonHighlight_credits.png", "menu.xml", 1, 11, "CREDITS");
    SaveHighlight(studio, kTex + "mainmenu_buttonHighlight_exit.png", "menu.xml", 1, 12, "QUIT");
    const std::string o = "Art Assets\\Buttons\\Options\\";
    SaveHighlight(studio, o + "options_highlight+_volumebutton.png", "options.xml", 4, 0, "+", 28);
    SaveHighlight(studio, o + "options_highlight-_volumebutton.png", "options.xml", 4, 1, "\u2212", 28);
    SaveHighlight(studio, o + "options_highlight_fullscreenbutton.png", "options.xml", 4, 2, "FULL SCREEN",
                  18);
    SaveHighlight(studio, o + "options_highlight_backbutton.png", "options.xml", 1, 2, "BACK", 18);
    // The lit plate of a choice button; the game prints the choice's value on it.
    SaveHighlight(studio, o + "options_highlight_choicebutton.png", "options.xml", 4, 5, "", 18);
    SaveHighlight(studio, "Art Assets\\Buttons\\Credits\\BackCreditsMouseover.png", "credits.xml", 1, 2,
                  "BACK");

    // The generic plate: a thin gold frame over a faint gold wash, so a label below it stays readable.
    // It is stretched over buttons of every shape, so the frame is kept thin for the widest of them.
    Canvas block(192, 48, WithAlpha(Palette::Gold, 0.14f));
    block.FillRect(0, 0, 192, 3, Palette::Gold);
    block.FillRect(0, 45, 192, 3, Palette::Gold);
    block.FillRect(0, 0, 3, 48, Palette::Gold);
    block.FillRect(189, 0, 3, 48, Palette::Gold);
    block.FillRect(3, 3, 186, 1, WithAlpha(Hex(0xFFFFFF), 0.25f));
    studio.Save("Art Assets\\Buttons\\Generic\\Menu_Block_Black.png", block);

    const std::string w = "Art Assets\\Buttons\\World Overview\\";
    LayoutButton build = studio.Button("map.xml", 1, 8), back = studio.Button("map.xml", 1, 2);
    studio.Save(w + "buildButton.png", ButtonPicture(studio, build, "BUILD", ButtonLook::Resting, 18));
    studio.Save(w + "buildButtonMouseover.png", ButtonPicture(studio, build, "BUILD", ButtonLook::Lit, 18));
    studio.Save(w + "backWorldMapButton.png", ButtonPicture(studio, back, "BACK", ButtonLook::Resting, 18));
    studio.Save(w + "backWorldMapButtonMouseover.png",
                ButtonPicture(studio, back, "BACK", ButtonLook::Lit, 18));
}

void PauseButtons(Studio& studio) {
    const std::string p = "Art Assets\\Buttons\\Pause\\";
    struct Item {
        int function, data;
        const char* label;
        const char* up;
        const char* down;
    };
    const Item items[] = {{2, 0, "CONTINUE", "pauseContinue2.png", "pauseContinueDown2.png"},
                          {4, 4, "OPTIONS", "pauseOptions3.png", "pauseOptionsDown3.png"},
                          {4, 3, "HOW TO PLAY", "pauseHowToPlay4.png", "pauseHowToPlayDown4.png"},
                          {1, 5, "LEAVE BATTLE", "pauseExit5.png", "pauseExitDown5.png"}};
    for (const Item& i : items) {
        LayoutButton b = studio.Button("pause.xml", i.function, i.data);
        studio.Save(p + i.up, ButtonPicture(studio, b, i.label, ButtonLook::Resting, 18));
        studio.Save(p + i.down, ButtonPicture(studio, b, i.label, ButtonLook::Lit, 18));
    }
    // The heading plate the pause overlay draws at (300, 150), 200 x 50.
    Canvas top(200, 50);
    top.RoundRect(0, 0, 200, 50, 7, Palette::Gold);
    top.FillGradient(3, 3, 194, 22, WithAlpha(Hex(0xFFFFFF), 0.25f), WithAlpha(Hex(0xFFFFFF), 0.0f));
    studio.font.DrawCentred(top, "PAUSED", 0, 0, 200, 50, 24, true, Palette::Ink);
    studio.Save(p + "pauseTop1.png", top);
}

// Pictograms of the battle bar.
enum class Icon { Pause, Undo, Stats, Move, Attack, EndTurn };

void DrawIcon(Canvas& c, Icon icon, float cx, float cy, Colour col) {
    switch (icon) {
    case Icon::Pause:
        c.RoundRect(cx - 8, cy - 10, 6, 20, 1.5f, col);
        c.RoundRect(cx + 2, cy - 10, 6, 20, 1.5f, col);
        break;
    case Icon::Undo:
        c.Ring(cx, cy + 1, 8, 3, col);
        c.FillRect(int(cx), int(cy - 9), 10, 10, Colour{0, 0, 0, 0});
        c.Polygon({cx - 14, cy - 4, cx - 2, cy - 4, cx - 8, cy + 4}, col);
        break;
    case Icon::Stats:
        c.RoundRect(cx - 11, cy - 9, 22, 18, 2, Colour{0, 0, 0, 0}, 2, col);
        for (int k = 0; k < 3; ++k)
            c.FillRect(int(cx - 6), int(cy - 4 + k * 4), 12 - k * 3, 2, col);
        break;
    case Icon::Move:
        c.Polygon({cx - 10, cy - 9, cx + 2, cy, cx - 10, cy + 9, cx - 6, cy}, col);
        c.Polygon({cx - 1, cy - 9, cx + 11, cy, cx - 1, cy + 9, cx + 3, cy}, col);
        break;
    case Icon::Attack:
        c.Ring(cx, cy, 8, 2.5f, col);
        c.Line(cx - 13, cy, cx - 5, cy, 2.5f, col);
        c.Line(cx + 5, cy, cx + 13, cy, 2.5f, col);
        c.Line(cx, cy - 13, cx, cy - 5, 2.5f, col);
        c.Line(cx, cy + 5, cx, cy + 13, 2.5f, col);
        c.Circle(cx, cy, 2, col);
        break;
    case Icon::EndTurn:
        c.Polygon({cx - 12, cy - 9, cx, cy, cx - 12, cy + 9}, col);
        c.Polygon({cx - 1, cy - 9, cx + 11, cy, cx - 1, cy + 9}, col);
        c.FillRect(int(cx + 11), int(cy - 9), 3, 18, col);
        break;
    }
}

// One cell of the battle bar along the top of the combat screen.
Canvas BarCell(Studio& studio, int w, int h, Icon icon, const std::string& label, const std::string& key,
               bool lit) {
    Canvas c(w, h);
    c.FillGradient(0, 0, w, h, lit ? Hex(0x4A3818) : Hex(0x1E2B39), lit ? Hex(0x2A1F0E) : Hex(0x111A24));
    c.FillRect(0, h - 3, w, 3, lit ? Palette::Gold : Palette::Line);
    c.FillRect(0, 0, 1, h, WithAlpha(Hex(0xFFFFFF), 0.08f));
    c.FillRect(w - 1, 0, 1, h, WithAlpha(Hex(0x000000), 0.5f));
    Colour ink = lit ? Palette::GoldLight : Palette::Muted;
    bool compact = w < 80;
    float iconX = compact ? w * 0.5f : 24.0f;
    DrawIcon(c, icon, iconX, compact ? 19.0f : h * 0.5f - 1, ink);
    if (compact) {
        studio.font.Draw(c, key, w * 0.5f, 42, 10, true, WithAlpha(ink, 0.8f), Align::Centre);
        return c;
    }
    studio.font.Draw(c, label, 44, 24, 15, true, lit ? Palette::Text : Hex(0xAEBCC8));
    studio.font.Draw(c, key, 44, 40, 10, true, WithAlpha(ink, 0.85f));
    return c;
}

void BattleBar(Studio& studio) {
    const std::string h = kTex + "hud\\";
    studio.Save(kTex + "hud_button01.png", BarCell(studio, 60, 50, Icon::Pause, "", "ESC", false));
    studio.Save(kTex + "hud_button02.png", BarCell(studio, 60, 50, Icon::Pause, "", "ESC", true));
    studio.Save(h + "undoUp.png", BarCell(studio, 140, 50, Icon::Undo, "UNDO", "BACKSPACE", false));
    studio.Save(h + "undoDown.png", BarCell(studio, 140, 50, Icon::Undo, "UNDO", "BACKSPACE", true));
    studio.Save(h + "statsOn.png", BarCell(studio, 140, 50, Icon::Stats, "CARDS", "CTRL", true));
    studio.Save(h + "statsOff.png", BarCell(studio, 140, 50, Icon::Stats, "CARDS", "CTRL", false));
    studio.Save(h + "moveOn.png", BarCell(studio, 110, 50, Icon::Move, "MOVE", "SHIFT", true));
    studio.Save(h + "moveOff.png", BarCell(studio, 110, 50, Icon::Move, "MOVE", "SHIFT", false));
    studio.Save(h + "attackOn.png",
                BarCell(studio, 150, 50, Icon::Attack, "ATTACK", "SHIFT / RIGHT BTN", true));
    studio.Save(h + "attackOff.png",
                BarCell(studio, 150, 50, Icon::Attack, "ATTACK", "SHIFT / RIGHT BTN", false));
    studio.Save(h + "endTurnUp.png",
                BarCell(studio, 200, 50, Icon::EndTurn, "END ACTIVATION", "SPACE", false));
    studio.Save(h + "endTurnDown.png",
                BarCell(studio, 200, 50, Icon::EndTurn, "END ACTIVATION", "SPACE", true));
}

// The stat cards are drawn at 252 x 144; the game prints the values from x 30 and 150, y 45 to 120.
Canvas StatCard(Studio& studio, const std::string& heading, bool mirrored) {
    Canvas c(252, 144);
    float cut = 22;
    std::vector<float> shape = mirrored ? std::vector<float>{0, 0, 252 - cut, 0, 252, cut, 252, 144, 0, 144}
                                        : std::vector<float>{cut, 0, 252, 0, 252, 144, 0, 144, 0, cut};
    c.Polygon(shape, Palette::Gold);
    std::vector<float> inner =
        mirrored ? std::vector<float>{0, 2, 252 - cut - 1, 2, 250, cut + 1, 250, 144, 0, 144}
                 : std::vector<float>{cut + 1, 2, 252, 2, 252, 144, 2, 144, 2, cut + 1};
    c.Polygon(inner, WithAlpha(Hex(0x0E1620), 0.9f));
    c.FillGradient(mirrored ? 0 : 24, 4, 226, 26, WithAlpha(Palette::Gold, 0.3f),
                   WithAlpha(Palette::Gold, 0.05f));
    studio.font.Draw(c, heading, mirrored ? 14.0f : 34.0f, 22, 13, true, Palette::GoldLight);
    c.FillRect(141, 36, 1, 96, WithAlpha(Palette::Line, 0.9f));
    for (int y = 50; y < 140; y += 15) {
        c.FillRect(22, y + 1, 220, 1, WithAlpha(Palette::Line, 0.25f));
    }
    return c;
}

void Bars(Studio& studio) {
    Canvas frame(64, 16);
    frame.FillRect(0, 0, 64, 2, Hex(0x0A0E12));
    frame.FillRect(0, 14, 64, 2, Hex(0x0A0E12));
    frame.FillRect(0, 0, 2, 16, Hex(0x0A0E12));
    frame.FillRect(62, 0, 2, 16, Hex(0x0A0E12));
    for (int x = 16; x < 64; x += 16) {
        frame.FillRect(x, 2, 1, 12, WithAlpha(Hex(0x000000), 0.35f));
    }
    studio.Save(kTex + "Empty_Bar.png", frame);
    auto fill = [](Colour top, Colour bottom) {
        Canvas c(64, 16);
        c.FillGradient(0, 0, 64, 16, top, bottom);
        c.FillRect(0, 3, 64, 2, WithAlpha(Hex(0xFFFFFF), 0.3f));
        return c;
    };
    studio.Save(kTex + "Life_Bar.png", fill(Hex(0x8FE07A), Hex(0x2F8A2A)));
    studio.Save(kTex + "Time_Bar.png", fill(Hex(0x8FE6F2), Hex(0x2380A8)));
    studio.Save(kTex + "Dead_Bar.png", fill(Hex(0x5A1C1A), Hex(0x2A0C0C)));
    // The active position: the progress bar fill and the skin of the marker over the acting unit.
    Canvas active(64, 64);
    active.FillGradient(0, 0, 64, 64, Palette::GoldLight, Hex(0xC77A16));
    for (int k = -64; k < 64; k += 16) {
        active.Line(float(k), 64, float(k + 64), 0, 4, WithAlpha(Hex(0xFFFFFF), 0.18f));
    }
    studio.Save(kTex + "ActivePos.png", active);
}

// The particle atlas is white so the particle colour tints it. The beams use the cell from u, v 0.5 to
// 0.75 (the texture's v runs up from the bottom row), with their narrower cores at its centre.
void Particles(Studio& studio) {
    constexpr int size = 256;
    Canvas c(size, size, Colour{1, 1, 1, 0});
    auto cell = [&](int left, int top, int w, int h, bool beam) {
        for (int y = top; y < top + h; ++y) {
            for (int x = left; x < left + w; ++x) {
                float du = (x + 0.5f - left) / w * 2 - 1, dv = (y + 0.5f - top) / h * 2 - 1;
                float across = std::exp(-dv * dv * 5.0f);
                float along =
                    beam ? std::clamp((1.0f - std::fabs(du)) * 5.0f, 0.0f, 1.0f) : std::exp(-du * du * 5.0f);
                float core = std::exp(-dv * dv * 40.0f) * along;
                c.At(x, y) = Colour{1, 1, 1, std::clamp(across * along * 0.85f + core * 0.3f, 0.0f, 1.0f)};
            }
        }
    };
    cell(128, 64, 64, 64, true); // u 0.5..0.75, v 0.5..0.75
    cell(0, 192, 64, 64, false); // a round puff for other effects, u 0..0.25, v 0..0.25
    cell(64, 192, 64, 64, false);
    studio.Save(kTex + "Particle_Texture.png", c);
}

void Markers(Studio& studio) {
    auto marker = [](bool lit) {
        Canvas c(64, 64);
        if (lit) {
            c.Glow(32, 32, 32, WithAlpha(Palette::GoldLight, 0.8f), 1.5f);
        }
        Colour main = lit ? Palette::GoldLight : Palette::Red;
        c.Polygon({32, 4, 60, 32, 32, 60, 4, 32}, Hex(0x0B1118));
        c.Polygon({32, 9, 55, 32, 32, 55, 9, 32}, main);
        c.Polygon({32, 17, 47, 32, 32, 47, 17, 32}, Hex(0x0B1118));
        c.Circle(32, 32, 7, lit ? Hex(0xFFFFFF) : Palette::GoldLight);
        return c;
    };
    studio.Save("Art Assets\\Menu_WorldMap_Active_Mission_Button.png", marker(false));
    studio.Save("Art Assets\\Menu_WorldMap_Event_Button.png", marker(true));

    auto shield = [](Colour field, int emblem) {
        Canvas c(64, 64);
        std::vector<float> outline{6, 4, 58, 4, 58, 30, 32, 62, 6, 30};
        c.Polygon(outline, Palette::GoldLight);
        c.Polygon({10, 8, 54, 8, 54, 29, 32, 56, 10, 29}, field);
        Colour ink = Hex(0xF4F1E8);
        if (emblem == 0) { // star
            std::vector<float> star;
            for (int k = 0; k < 10; ++k) {
                float a = -1.5708f + k * 0.6283f, r = k % 2 ? 7.0f : 16.0f;
                star.push_back(32 + std::cos(a) * r);
                star.push_back(29 + std::sin(a) * r);
            }
            c.Polygon(star, ink);
        } else if (emblem == 1) { // crossed blades
            c.Line(19, 14, 45, 44, 5, ink);
            c.Line(45, 14, 19, 44, 5, ink);
        } else { // cog
            c.Circle(32, 28, 12, ink);
            c.Circle(32, 28, 5, field);
            for (int k = 0; k < 8; ++k) {
                float a = k * 0.7854f;
                c.Line(32 + std::cos(a) * 10, 28 + std::sin(a) * 10, 32 + std::cos(a) * 16,
                       28 + std::sin(a) * 16, 5, ink);
            }
        }
        return c;
    };
    studio.Save(kTex + "FactionIcon1.png", shield(Hex(0x2D5C9E), 0));
    studio.Save(kTex + "FactionIcon2.png", shield(Hex(0xA8322B), 1));
    studio.Save(kTex + "FactionIcon3.png", shield(Hex(0x3F7A3A), 2));
}

// The pick silhouette: white everywhere except its first stored pixel (bottom left), which is the key.
void PickBlock(Studio& studio) {
    Canvas c(64, 64, Colour{1, 1, 1, 1});
    c.At(0, 63) = Colour{1, 0, 1, 1};
    studio.Save("Art Assets\\Menu_Block_pick.bmp", c);
}

} // namespace

void MakeHud(Studio& studio) {
    MenuHighlights(studio);
    PauseButtons(studio);
    BattleBar(studio);
    studio.Save(kTex + "statcard.png", StatCard(studio, "UNIT UNDER CURSOR", false));
    studio.Save(kTex + "statcardMirror.png", StatCard(studio, "ACTIVE UNIT", true));
    Bars(studio);
    Particles(studio);
    Markers(studio);
    PickBlock(studio);
}
