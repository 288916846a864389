// Ground, street and roof textures of the battle grid. Every texture tiles without seams, and the street
// pieces share one sidewalk width, slab grid and lane line so that they join at every edge and corner.
#include "Studio.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int kSize = 256;
constexpr float kTwoPi = 6.2831853f;

using Painter = std::function<Colour(int x, int y, float u, float v)>;

Canvas Paint(const Painter& painter) {
    Canvas c(kSize, kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            c.At(x, y) = painter(x, y, (x + 0.5f) / kSize, (y + 0.5f) / kSize);
        }
    }
    return c;
}

// Scatters small round features, drawn again across the edges so the tile stays seamless.
void ScatterWrapped(Canvas& c, int count, uint32_t seed, float minRadius, float maxRadius,
                    const std::function<void(Canvas&, float, float, float, int)>& draw) {
    for (int k = 0; k < count; ++k) {
        float x = Hash01(k, 1, seed) * kSize, y = Hash01(k, 2, seed) * kSize;
        float r = minRadius + (maxRadius - minRadius) * Hash01(k, 3, seed);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                float px = x + dx * kSize, py = y + dy * kSize;
                if (px + r + 4 >= 0 && px - r - 4 < kSize && py + r + 4 >= 0 && py - r - 4 < kSize) {
                    draw(c, px, py, r, k);
                }
            }
        }
    }
}

Canvas Grass() {
    Canvas c = Paint([](int, int, float u, float v) {
        float broad = TileFbm(u, v, 3, 4, 11);
        float fine = TileNoise(u, v, 64, 12);
        float blades = TileNoise(u, v, 128, 13);
        Colour dark = Hex(0x35602A), light = Hex(0x6A9A3E);
        Colour col = Mix(dark, light, std::clamp(broad * 1.3f - 0.15f, 0.0f, 1.0f));
        col = Shade(col, 0.85f + 0.2f * fine + 0.12f * blades);
        return col;
    });
    ScatterWrapped(c, 26, 14, 1.5f, 3.0f, [](Canvas& cv, float x, float y, float r, int k) {
        Colour flower = (k % 3 == 0) ? Hex(0xE8DF8A) : (k % 3 == 1) ? Hex(0xDDE7EE) : Hex(0x8FBF5A);
        cv.Circle(x, y, r * 0.8f, WithAlpha(flower, 0.8f));
    });
    return c;
}

Canvas Dirt() {
    Canvas c = Paint([](int, int, float u, float v) {
        float broad = TileFbm(u, v, 4, 5, 21);
        float fine = TileNoise(u, v, 96, 22);
        Colour col = Mix(Hex(0x5E432B), Hex(0x94744C), std::clamp(broad * 1.4f - 0.2f, 0.0f, 1.0f));
        return Shade(col, 0.88f + 0.2f * fine);
    });
    ScatterWrapped(c, 40, 23, 2.0f, 5.5f, [](Canvas& cv, float x, float y, float r, int k) {
        cv.Circle(x + 1, y + 1.5f, r, WithAlpha(Hex(0x2E2016), 0.5f));
        cv.Circle(x, y, r, Mix(Hex(0x8C8478), Hex(0xB3A58E), Hash01(k, 9, 24)));
        cv.Circle(x - r * 0.3f, y - r * 0.3f, r * 0.4f, WithAlpha(Hex(0xFFFFFF), 0.25f));
    });
    // Two faint tyre tracks.
    for (int y = 0; y < kSize; ++y) {
        for (int x : {70, 94, 182, 206}) {
            for (int w = 0; w < 8; ++w) {
                c.Blend(x + w, y, Hex(0x3E2C1C),
                        0.18f * (0.6f + 0.4f * TileNoise(0.5f, (y + 0.5f) / kSize, 32, 25)));
            }
        }
    }
    return c;
}

Canvas Water() {
    return Paint([](int, int, float u, float v) {
        float warp = TileFbm(u, v, 4, 3, 31);
        float wave1 = std::sin(kTwoPi * (3 * u + 2 * v) + warp * 6.0f);
        float wave2 = std::sin(kTwoPi * (-2 * u + 5 * v) + warp * 4.0f);
        float ripple = (wave1 + wave2) * 0.25f + 0.5f;
        float depth = TileFbm(u, v, 2, 3, 32);
        Colour col = Mix(Hex(0x163E66), Hex(0x2A6C9C), std::clamp(depth * 1.2f - 0.1f, 0.0f, 1.0f));
        col = Shade(col, 0.85f + 0.3f * ripple);
        float crest = std::pow(std::clamp(ripple, 0.0f, 1.0f), 6.0f);
        float sparkle = TileNoise(u, v, 64, 33) > 0.82f ? 0.35f : 0.0f;
        return Mix(col, Hex(0xBFE8F5), std::min(0.7f, crest * 0.8f + sparkle * crest * 2.0f));
    });
}

// Street layout -----------------------------------------------------------------------------------

constexpr float kWalk = 44.0f;  // sidewalk width
constexpr float kRound = 22.0f; // radius of the kerb where two sidewalks meet

enum Side { Top = 1, Bottom = 2, Left = 4, Right = 8 };

struct StreetPiece {
    int walks = 0;       // sides with a sidewalk along the whole edge
    int line = 0;        // edge that carries half of the dashed centre line
    int cornerBlock = 0; // corners (as two sides, e.g. Top | Left) with a sidewalk corner block
};

// Signed distance from the sidewalk edge, positive on the road.
float RoadDistance(const StreetPiece& s, float x, float y) {
    float d = 1e9f;
    // Mirror so the corner rules only need the top-left case.
    auto towardTop = [&](int sides) {
        float mx = (sides & Right) ? kSize - x : x;
        float my = (sides & Bottom) ? kSize - y : y;
        return std::pair<float, float>{mx, my};
    };
    if (s.walks & Top)
        d = std::min(d, y - kWalk);
    if (s.walks & Bottom)
        d = std::min(d, kSize - y - kWalk);
    if (s.walks & Left)
        d = std::min(d, x - kWalk);
    if (s.walks & Right)
        d = std::min(d, kSize - x - kWalk);
    int vertical = s.walks & (Top | Bottom), horizontal = s.walks & (Left | Right);
    if (vertical && horizontal) {
        auto [mx, my] = towardTop(vertical | horizontal);
        float px = mx - (kWalk + kRound), py = my - (kWalk + kRound);
        if (px < 0 && py < 0) {
            d = kRound - std::hypot(px, py);
        }
    }
    if (s.cornerBlock) {
        auto [mx, my] = towardTop(s.cornerBlock);
        float px = mx - (kWalk - kRound), py = my - (kWalk - kRound);
        float inside = (px > 0 && py > 0) ? std::hypot(px, py) - kRound : std::max(mx - kWalk, my - kWalk);
        d = std::min(d, inside);
    }
    return d;
}

Canvas Street(const StreetPiece& s) {
    Canvas c = Paint([&](int x, int y, float u, float v) {
        float fx = x + 0.5f, fy = y + 0.5f;
        float d = RoadDistance(s, fx, fy);
        if (d < 0.0f) {
            // Sidewalk: concrete slabs on a 32-pixel grid shared by every street tile.
            float n = TileFbm(u, v, 8, 3, 41);
            Colour slab = Shade(Hex(0x9C9A92), 0.9f + 0.16f * n + 0.05f * Hash01(x / 32, y / 32, 42));
            if (x % 32 == 0 || y % 32 == 0) {
                slab = Shade(slab, 0.78f);
            }
            if (d > -5.0f) {
                slab = Mix(Hex(0xC9C6BB), Hex(0xB0ADA3), (d + 5.0f) / 5.0f); // kerb stone
            }
            return slab;
        }
        float grain = TileNoise(u, v, 128, 43) * 0.5f + TileFbm(u, v, 4, 4, 44) * 0.5f;
        Colour road = Shade(Hex(0x3B4047), 0.86f + 0.26f * grain);
        if (TileNoise(u, v, 200, 45) > 0.8f) {
            road = Shade(road, 1.15f);
        }
        if (d < 4.0f) {
            road = Shade(road, 0.6f + 0.1f * d); // gutter shadow under the kerb
        }
        // Half of the dashed centre line sits on this tile's edge; the neighbour carries the other half.
        if (s.line) {
            bool alongX = (s.line & (Top | Bottom)) != 0;
            float across = (s.line == Top)      ? fy
                           : (s.line == Bottom) ? kSize - fy
                           : (s.line == Left)   ? fx
                                                : kSize - fx;
            float along = alongX ? fx : fy;
            float phase = std::fmod(along, 128.0f);
            if (across < 5.0f && phase >= 32.0f && phase < 96.0f) {
                road = Mix(road, Hex(0xE9C646), 0.92f);
            }
        }
        return road;
    });
    return c;
}

// Roofs -------------------------------------------------------------------------------------------

void RoofUnit(Canvas& c, int x, int y, int w, int h, Colour body) {
    c.FillRect(x + 4, y + 5, w, h, WithAlpha(Hex(0x000000), 0.35f));
    c.FillGradient(x, y, w, h, Shade(body, 1.15f), Shade(body, 0.85f));
    c.FillRect(x, y, w, 2, Shade(body, 1.35f));
    c.Ring(x + w * 0.5f, y + h * 0.5f, std::min(w, h) * 0.3f, 2.0f, Shade(body, 0.6f));
    c.Line(x + w * 0.5f - std::min(w, h) * 0.25f, y + h * 0.5f, x + w * 0.5f + std::min(w, h) * 0.25f,
           y + h * 0.5f, 1.5f, Shade(body, 0.55f));
}

// A flat roof with a parapet; the rooftop fittings can be mirrored so neighbouring roofs differ while
// the light keeps falling from the same side.
Canvas FlatRoof(Colour roof, Colour wall, Colour glass, uint32_t seed, bool mirrorX = false,
                bool mirrorY = false) {
    auto fx = [&](float x, float w) { return mirrorX ? kSize - x - w : x; };
    auto fy = [&](float y, float h) { return mirrorY ? kSize - y - h : y; };
    Canvas c = Paint([&](int x, int y, float u, float v) {
        int edge = std::min({x, y, kSize - 1 - x, kSize - 1 - y});
        if (edge < 14) {
            // Parapet wall: lit on the top and left, shaded on the bottom and right.
            bool lit = (x < 14 || y < 14) && x < kSize - 14 && y < kSize - 14;
            Colour w = Shade(wall, lit ? 1.15f : 0.8f);
            if (edge < 2)
                w = Shade(wall, 0.55f);
            if (edge == 13)
                w = Shade(wall, 0.6f);
            return w;
        }
        float n = TileFbm(u, v, 6, 3, seed);
        Colour col = Shade(roof, 0.88f + 0.2f * n);
        if ((x - 14) % 38 == 0 || (y - 14) % 38 == 0) {
            col = Shade(col, 0.88f); // membrane seams
        }
        if (edge < 22) {
            col = Shade(col, 0.75f + 0.25f * (edge - 14) / 8.0f); // parapet shadow
        }
        return col;
    });
    // Skylights: a row of glass panes with frames.
    for (int k = 0; k < 4; ++k) {
        int x = int(fx(34.0f + k * 24, 16)), y = int(fy(150, 60));
        c.FillRect(x - 2, y - 2, 20, 64, Shade(roof, 0.5f));
        c.FillGradient(x, y, 16, 60, Shade(glass, 1.3f), Shade(glass, 0.7f));
        c.FillRect(x, y + 29, 16, 2, Shade(roof, 0.5f));
        c.Line(x + 2, y + 4, x + 12, y + 20, 2.0f, WithAlpha(Hex(0xFFFFFF), 0.35f));
    }
    RoofUnit(c, int(fx(150, 56)), int(fy(40, 40)), 56, 40, Hex(0x9AA3AA));
    RoofUnit(c, int(fx(160, 34)), int(fy(110, 28)), 34, 28, Hex(0x8B949B));
    // Roof hatch and a helipad marking make the scale readable from far away.
    int hx = int(fx(40, 26)), hy = int(fy(40, 26));
    c.FillRect(hx, hy, 26, 26, Shade(wall, 0.7f));
    c.FillRect(hx + 3, hy + 3, 20, 20, Shade(wall, 1.1f));
    float px = fx(154, 52) + 26, py = fy(170, 52) + 26;
    Colour paint = WithAlpha(Hex(0xF2F2F2), 0.7f);
    c.Ring(px, py, 26, 3, paint);
    c.Line(px - 8, py - 10, px - 8, py + 10, 3, paint);
    c.Line(px + 8, py - 10, px + 8, py + 10, 3, paint);
    c.Line(px - 8, py, px + 8, py, 3, paint);
    return c;
}

Canvas PitchedRoof(Colour tiles, Colour trim, uint32_t seed) {
    Canvas c = Paint([&](int x, int y, float u, float v) {
        int edge = std::min({x, y, kSize - 1 - x, kSize - 1 - y});
        if (edge < 6) {
            return Shade(trim, edge < 2 ? 0.5f : 0.9f);
        }
        bool upper = y < kSize / 2;
        float dist = std::fabs(y + 0.5f - kSize * 0.5f);
        float n = TileFbm(u, v, 8, 3, seed);
        // Rows of overlapping tiles, staggered every other row.
        int row = int(dist) / 12;
        float inRow = std::fmod(dist, 12.0f) / 12.0f;
        int col = (x + (row % 2) * 10) / 20;
        float tileShade = 0.85f + 0.12f * Hash01(col, row + (upper ? 0 : 100), seed);
        Colour col0 = Shade(tiles, (upper ? 1.12f : 0.72f) * tileShade * (0.9f + 0.1f * n));
        col0 = Shade(col0, 0.8f + 0.2f * inRow);
        if ((x + (row % 2) * 10) % 20 == 0) {
            col0 = Shade(col0, 0.75f);
        }
        if (dist < 7.0f) {
            col0 = Shade(trim, 1.1f - dist * 0.04f); // ridge cap
        }
        return col0;
    });
    // Two dormer-like vents on the lit side.
    for (int x : {60, 170}) {
        c.FillRect(x + 3, 60, 30, 26, WithAlpha(Hex(0x000000), 0.3f));
        c.FillGradient(x, 56, 26, 24, Shade(trim, 1.2f), Shade(trim, 0.8f));
        c.FillRect(x + 5, 62, 16, 12, Hex(0x28435C));
    }
    return c;
}

} // namespace

void MakeTerrain(Studio& studio) {
    studio.Save("Art Assets\\grass_texture.png", Grass());
    studio.Save("Art Assets\\dirt_texture.png", Dirt());
    studio.Save("Art Assets\\water_texture.png", Water());

    const std::string t = "Art Assets\\Textures\\";
    studio.Save(t + "Street.png", Street({}));
    studio.Save(t + "Street_Top.png", Street({Top, Bottom, 0}));
    studio.Save(t + "Street_Bottom.png", Street({Bottom, Top, 0}));
    studio.Save(t + "Street_Left.png", Street({Left, Right, 0}));
    studio.Save(t + "Street_Right.png", Street({Right, Left, 0}));
    studio.Save(t + "Street_Top_NL.png", Street({Top, 0, 0}));
    studio.Save(t + "Street_Bottom_NL.png", Street({Bottom, 0, 0}));
    studio.Save(t + "Street_Left_NL.png", Street({Left, 0, 0}));
    studio.Save(t + "Street_Right_NL.png", Street({Right, 0, 0}));
    studio.Save(t + "Street_Corner_TL.png", Street({Top | Left, 0, 0}));
    studio.Save(t + "Street_Corner_TR.png", Street({Top | Right, 0, 0}));
    studio.Save(t + "Street_Corner_BL.png", Street({Bottom | Left, 0, 0}));
    studio.Save(t + "Street_Corner_BR.png", Street({Bottom | Right, 0, 0}));
    studio.Save(t + "Corner_TL.png", Street({0, 0, Top | Left}));
    studio.Save(t + "Corner_TR.png", Street({0, 0, Top | Right}));
    studio.Save(t + "Corner_BL.png", Street({0, 0, Bottom | Left}));
    studio.Save(t + "Corner_BR.png", Street({0, 0, Bottom | Right}));

    studio.Save(t + "Blue_Building_Texture.png", FlatRoof(Hex(0x3F5F86), Hex(0x8FA6BF), Hex(0x7FC4E8), 51));
    studio.Save(t + "Silver_Building_Texture.png",
                FlatRoof(Hex(0x8C949C), Hex(0xC3C9CE), Hex(0x86B8D6), 52, true));
    studio.Save(t + "Green_Building_Texture.png",
                FlatRoof(Hex(0x4D6E4A), Hex(0xA9B99A), Hex(0x9AD7C0), 53, false, true));
    studio.Save(t + "Pitch_Blue_Building_Texture.png", PitchedRoof(Hex(0x3D5C8C), Hex(0x9AAFC6), 54));
    studio.Save(t + "Pitch_Silver_Building_Texture.png", PitchedRoof(Hex(0x9199A2), Hex(0xD0D4D8), 55));
}
