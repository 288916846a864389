#include "Studio.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

bool Studio::Save(const std::string& gamePath, const Canvas& canvas) {
    std::string native = gamePath;
    for (char& c : native) {
        if (c == '\\') {
            c = '/';
        }
    }
    std::filesystem::path path = std::filesystem::path(runDir) / native;
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (!canvas.Save(path.string())) {
        std::fprintf(stderr, "art: cannot write %s\n", path.string().c_str());
        ++failures;
        return false;
    }
    if (keepThumbnails) {
        float scale = std::min(1.0f, std::min(176.0f / canvas.Width(), 132.0f / canvas.Height()));
        int w = std::max(1, int(canvas.Width() * scale)), h = std::max(1, int(canvas.Height() * scale));
        Canvas thumb(w, h);
        thumb.DrawScaled(canvas, 0, 0, w, h);
        written[gamePath] = std::move(thumb);
        full[gamePath] = canvas;
    } else {
        written[gamePath] = Canvas();
    }
    return true;
}

const std::vector<LayoutButton>& Studio::Layout(const std::string& fileName) {
    auto found = layouts_.find(fileName);
    if (found != layouts_.end()) {
        return found->second;
    }
    std::vector<LayoutButton> buttons;
    if (!ReadLayout(layoutDir + "/" + fileName, buttons)) {
        ++failures;
    }
    return layouts_.emplace(fileName, std::move(buttons)).first->second;
}

LayoutButton Studio::Button(const std::string& fileName, int function, int data) {
    const LayoutButton* b = FindButton(Layout(fileName), function, data);
    if (b != nullptr) {
        return *b;
    }
    std::fprintf(stderr, "art: %s has no button with function %d and data %d\n", fileName.c_str(), function,
                 data);
    ++failures;
    LayoutButton fallback;
    fallback.xSize = 200;
    fallback.ySize = 46;
    return fallback;
}

Canvas Backdrop(int width, int height, uint32_t seed) {
    Canvas c(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float t = float(y) / height;
            Colour base = Mix(Palette::Night, Palette::Ink, t);
            float n = TileFbm(float(x) / width, float(y) / height, 4, 4, seed);
            base = Shade(base, 0.85f + 0.35f * n);
            c.At(x, y) = base;
        }
    }
    Colour grid = WithAlpha(Palette::Line, 0.18f);
    for (int x = 20; x < width; x += 40) {
        c.FillRect(x, 0, 1, height, grid);
    }
    for (int y = 20; y < height; y += 40) {
        c.FillRect(0, y, width, 1, grid);
    }
    c.Glow(width * 0.5f, height * 0.35f, width * 0.7f, WithAlpha(Hex(0x2B4A66), 0.45f), 1.6f);
    c.Vignette(0.55f);
    return c;
}

void DrawPanel(Canvas& canvas, float x, float y, float w, float h, Colour fill, Colour border) {
    float cut = std::min(16.0f, std::min(w, h) * 0.3f);
    std::vector<float> outer{x,     y,     x + w - cut, y,     x + w, y + cut,
                             x + w, y + h, x + cut,     y + h, x,     y + h - cut};
    canvas.Polygon(outer, border);
    float b = 2.0f;
    std::vector<float> inner{
        x + b,     y + b,     x + w - cut - b * 0.4f, y + b,     x + w - b, y + cut + b * 0.4f,
        x + w - b, y + h - b, x + cut + b * 0.4f,     y + h - b, x + b,     y + h - cut - b * 0.4f};
    canvas.Polygon(inner, fill);
    canvas.FillRect(int(x + cut + 6), int(y + 2), int(std::min(60.0f, w * 0.3f)), 3,
                    WithAlpha(Palette::Gold, 0.9f));
}

void DrawButton(Studio& studio, Canvas& canvas, const LayoutButton& b, const std::string& label,
                ButtonLook look, int size) {
    float x = float(b.xPos), y = float(b.yPos), w = float(b.xSize), h = float(b.ySize);
    bool lit = look == ButtonLook::Lit;
    canvas.RoundRect(x + 2, y + 3, w, h, 7, WithAlpha(Hex(0x000000), 0.45f));
    Colour top = lit ? Hex(0x5A4420) : Hex(0x2A3B4D), bottom = lit ? Hex(0x3A2A12) : Hex(0x17222E);
    Canvas plate(b.xSize, b.ySize);
    plate.FillGradient(0, 0, b.xSize, b.ySize, top, bottom);
    Canvas mask(b.xSize, b.ySize);
    mask.RoundRect(0, 0, w, h, 7, Colour{1, 1, 1, 1});
    for (int j = 0; j < b.ySize; ++j) {
        for (int i = 0; i < b.xSize; ++i) {
            plate.At(i, j).a *= mask.At(i, j).a;
        }
    }
    canvas.Draw(plate, b.xPos, b.yPos);
    canvas.RoundRect(x, y, w, h, 7, Colour{0, 0, 0, 0}, lit ? 2.5f : 1.5f,
                     lit ? Palette::Gold : Palette::Line);
    canvas.FillRect(b.xPos + 8, b.yPos + 4, b.xSize - 16, 1, WithAlpha(Hex(0xFFFFFF), lit ? 0.25f : 0.12f));
    if (lit) {
        canvas.FillRect(b.xPos + 6, b.yPos + b.ySize / 2 - 8, 4, 16, Palette::Gold);
        canvas.FillRect(b.xPos + b.xSize - 10, b.yPos + b.ySize / 2 - 8, 4, 16, Palette::Gold);
    }
    studio.font.DrawCentred(canvas, label, x, y, w, h, size, true, lit ? Palette::GoldLight : Palette::Text);
}

void DrawTitle(Studio& studio, Canvas& canvas, const std::string& text, float y, int size) {
    float cx = canvas.Width() * 0.5f;
    studio.font.Draw(canvas, text, cx + 2, y + 3, size, true, WithAlpha(Hex(0x000000), 0.6f), Align::Centre);
    studio.font.Draw(canvas, text, cx, y, size, true, Palette::Text, Align::Centre);
    float w = studio.font.Measure(text, size, true);
    canvas.FillRect(int(cx - w * 0.5f), int(y + 12), int(w), 3, Palette::Gold);
    canvas.FillRect(int(cx - w * 0.5f - 24), int(y + 12), 14, 3, WithAlpha(Palette::Gold, 0.5f));
    canvas.FillRect(int(cx + w * 0.5f + 10), int(y + 12), 14, 3, WithAlpha(Palette::Gold, 0.5f));
}

void DrawWordmark(Studio& studio, Canvas& canvas, float cx, float baseline, int size) {
    const std::string name = "VANTOR";
    float w = studio.font.Measure(name, size, true);
    canvas.Glow(cx, baseline - size * 0.35f, w * 0.75f, WithAlpha(Palette::Gold, 0.35f), 2.2f);
    studio.font.Draw(canvas, name, cx + 3, baseline + 4, size, true, WithAlpha(Hex(0x000000), 0.7f),
                     Align::Centre);
    studio.font.Draw(canvas, name, cx, baseline, size, true, Palette::GoldLight, Align::Centre);
    canvas.FillRect(int(cx - w * 0.5f - 40), int(baseline + size * 0.18f), int(w + 80), 3, Palette::Gold);
}
