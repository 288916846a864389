// The desktop icon of the installed game: the team's gear emblem around the game's initial.
#include "Studio.h"

#include <cmath>
#include <cstdio>

bool MakeIcon(Studio& studio, const std::string& path) {
    constexpr float kSize = 256.0f;
    constexpr float kMiddle = kSize / 2.0f;
    Canvas c(static_cast<int>(kSize), static_cast<int>(kSize), WithAlpha(Palette::Ink, 0.0f));
    c.RoundRect(8, 8, kSize - 16, kSize - 16, 40, Palette::Ink, 4, Palette::Gold);
    c.Glow(kMiddle, kMiddle, 110, WithAlpha(Hex(0x24405A), 0.8f), 1.5f);
    for (int k = 0; k < 10; ++k) {
        const float a = float(k) * 6.2831853f / 10.0f;
        c.Line(kMiddle + std::cos(a) * 70, kMiddle + std::sin(a) * 70, kMiddle + std::cos(a) * 92,
               kMiddle + std::sin(a) * 92, 20, Palette::Gold);
    }
    c.Circle(kMiddle, kMiddle, 76, Palette::Gold);
    c.Circle(kMiddle, kMiddle, 60, Palette::Ink);
    studio.font.Draw(c, "V", kMiddle, kMiddle + 30, 84, true, Palette::GoldLight, Align::Centre);
    if (!c.Save(path)) {
        std::fprintf(stderr, "art: cannot write the icon %s\n", path.c_str());
        ++studio.failures;
        return false;
    }
    return true;
}
