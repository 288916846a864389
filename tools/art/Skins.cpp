// The twelve unit skins. Every skin keeps the same four quarters so that it reads the same way on every
// mech: body armour (bottom left of the picture), head (bottom right), legs (top left) and detail
// (top right), each painted in the scheme's own colours and pattern.
#include "Studio.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSize = 256;
constexpr int kQuarter = 128;

enum class Pattern { Plain, Blotches, Splinter, Tiger, Digital, Flames };

struct Scheme {
    const char* file;
    Colour primary;
    Colour secondary;
    Colour accent;
    Pattern pattern;
    uint32_t seed;
};

// The camouflage or marking pattern strength at (u, v) of a quarter, 0..1.
float PatternAt(Pattern p, float u, float v, uint32_t seed) {
    switch (p) {
    case Pattern::Plain:
        return 0.0f;
    case Pattern::Blotches:
        return TileFbm(u, v, 3, 3, seed) > 0.55f ? 1.0f : 0.0f;
    case Pattern::Splinter: {
        float a = std::fmod(u * 3.0f + v * 1.3f + TileNoise(u, v, 2, seed) * 1.2f, 1.0f);
        return a < 0.33f ? 1.0f : 0.0f;
    }
    case Pattern::Tiger: {
        float s = std::sin((u * 2.0f + TileFbm(u, v, 4, 2, seed) * 1.2f) * 6.2831853f * 3.0f);
        return s > 0.55f ? 1.0f : 0.0f;
    }
    case Pattern::Digital: {
        int cx = int(u * 16), cy = int(v * 16);
        return TileNoise((cx + 0.5f) / 16, (cy + 0.5f) / 16, 4, seed) > 0.56f ? 1.0f : 0.0f;
    }
    case Pattern::Flames: {
        float f = v + 0.25f * std::sin(u * 6.2831853f * 4.0f) * (1.0f - v) + 0.2f * TileNoise(u, v, 8, seed);
        return f > 0.72f ? 1.0f : 0.0f;
    }
    }
    return 0.0f;
}

// Armour plating: panels with seams, rivets and worn edges.
void PaintArmour(Canvas& c, int ox, int oy, Colour base, Colour pattern, const Scheme& s, float patternMix) {
    for (int y = 0; y < kQuarter; ++y) {
        for (int x = 0; x < kQuarter; ++x) {
            float u = (x + 0.5f) / kQuarter, v = (y + 0.5f) / kQuarter;
            Colour col = Mix(base, pattern, PatternAt(s.pattern, u, v, s.seed) * patternMix);
            float grime = TileFbm(u, v, 4, 4, s.seed + 5);
            col = Shade(col, 0.82f + 0.26f * grime);
            int px = x % 32, py = y % 32;
            if (px == 0 || py == 0) {
                col = Shade(col, 0.55f);
            } else if (px == 1 || py == 1) {
                col = Shade(col, 1.25f); // lit panel edge
            }
            if ((px == 5 || px == 27) && (py == 5 || py == 27)) {
                col = Shade(col, 1.45f); // rivet
            }
            c.At(ox + x, oy + y) = col;
        }
    }
}

Canvas Skin(const Scheme& s) {
    Canvas c(kSize, kSize);
    // Legs (top left): darker secondary metal with hydraulic ribs.
    PaintArmour(c, 0, 0, s.secondary, Shade(s.secondary, 0.7f), s, 0.5f);
    for (int y = 8; y < kQuarter; y += 16) {
        c.FillRect(0, y, kQuarter, 3, WithAlpha(Shade(s.secondary, 0.45f), 0.8f));
        c.FillRect(0, y + 3, kQuarter, 1, WithAlpha(Hex(0xFFFFFF), 0.18f));
    }
    for (int x = 0; x < kQuarter; x += 32) {
        for (int k = 0; k < 6; ++k) {
            c.Line(x + k * 6.0f, 118, x + k * 6.0f + 6, 126, 3.0f, k % 2 ? s.accent : Hex(0x151515));
        }
    }
    // Detail (top right): accent panels with chevrons and a glowing strip.
    PaintArmour(c, kQuarter, 0, s.accent, Shade(s.accent, 0.7f), s, 0.3f);
    for (int k = 0; k < 4; ++k) {
        float y = 20.0f + k * 26.0f;
        c.Line(kQuarter + 20, y + 12, kQuarter + 64, y, 6.0f, WithAlpha(Shade(s.primary, 0.5f), 0.85f));
        c.Line(kQuarter + 64, y, kQuarter + 108, y + 12, 6.0f, WithAlpha(Shade(s.primary, 0.5f), 0.85f));
    }
    c.FillRect(kQuarter + 8, 112, 112, 6, Mix(s.accent, Hex(0xFFFFFF), 0.6f));
    // Body (bottom left): the scheme's main armour and pattern with a bold stripe.
    PaintArmour(c, 0, kQuarter, s.primary, s.pattern == Pattern::Flames ? s.accent : s.secondary, s, 1.0f);
    c.FillRect(0, kQuarter + 52, kQuarter, 10, WithAlpha(s.accent, 0.9f));
    c.FillRect(0, kQuarter + 64, kQuarter, 3, WithAlpha(s.accent, 0.9f));
    // Head (bottom right): lighter armour with a visor band and sensor lights.
    PaintArmour(c, kQuarter, kQuarter, Mix(s.primary, Hex(0xFFFFFF), 0.12f), s.secondary, s, 0.6f);
    c.FillGradient(kQuarter, kQuarter + 48, kQuarter, 28, Hex(0x0E1A24), Hex(0x1F3A4E));
    for (int x = kQuarter + 10; x < kSize; x += 22) {
        c.Circle(x + 6, kQuarter + 62, 4, Mix(s.accent, Hex(0xFFFFFF), 0.5f));
    }
    c.FillRect(kQuarter, kQuarter + 48, kQuarter, 2, Mix(s.accent, Hex(0xFFFFFF), 0.3f));
    return c;
}

} // namespace

void MakeSkins(Studio& studio) {
    const Scheme schemes[] = {
        {"ArmyPlayer", Hex(0xC8922E), Hex(0x2F3A44), Hex(0xF3D27A), Pattern::Plain, 101},
        {"Army1", Hex(0x9C2B25), Hex(0x22201F), Hex(0xE8E2D8), Pattern::Plain, 102},
        {"Army2", Hex(0x5D6B3A), Hex(0xA9925F), Hex(0xD9C48C), Pattern::Blotches, 103},
        {"Army3", Hex(0xD9DEE2), Hex(0x6F8496), Hex(0x2E5E8C), Pattern::Splinter, 104},
        {"Building10", Hex(0x7D7F7C), Hex(0x4A4D4E), Hex(0xE07A1F), Pattern::Digital, 105},
        {"Custom1", Hex(0x1F8C8A), Hex(0xE6EEF0), Hex(0xF4F4F4), Pattern::Plain, 106},
        {"Custom2", Hex(0x5B3C8C), Hex(0xB7BEC6), Hex(0xC9A8F2), Pattern::Plain, 107},
        {"Custom3", Hex(0xB5562A), Hex(0x4A2A1A), Hex(0xF2D8A0), Pattern::Blotches, 108},
        {"Custom4", Hex(0x1F2F55), Hex(0x3B4A66), Hex(0xF07A2A), Pattern::Plain, 109},
        {"Custom5", Hex(0x3C6B34), Hex(0x1A1C18), Hex(0xB6D07A), Pattern::Tiger, 110},
        {"Custom6", Hex(0xC8307A), Hex(0x2A1B2E), Hex(0x62E0F0), Pattern::Digital, 111},
        {"Ace", Hex(0x18191C), Hex(0x2C2D31), Hex(0xE23B2E), Pattern::Flames, 112},
    };
    for (const Scheme& s : schemes) {
        studio.Save(std::string("Art Assets\\Textures\\") + s.file + ".png", Skin(s));
    }
}
