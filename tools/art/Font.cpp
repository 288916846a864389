#include "Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

// Decodes UTF-8 into code points; malformed bytes become '?'.
std::vector<uint32_t> Decode(const std::string& text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) {
            out.push_back('?');
            ++i;
            continue;
        }
        uint32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        for (int k = 1; k <= extra; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        out.push_back(cp);
        i += extra + 1;
    }
    return out;
}

FT_Face Face(void* face) {
    return static_cast<FT_Face>(face);
}

} // namespace

bool Font::Open(const std::string& folder) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "art: FreeType could not start\n");
        return false;
    }
    library_ = library;
    FT_Face book = nullptr, bold = nullptr;
    std::string bookPath = folder + "/DejaVuSans.ttf", boldPath = folder + "/DejaVuSans-Bold.ttf";
    if (FT_New_Face(library, bookPath.c_str(), 0, &book) != 0 ||
        FT_New_Face(library, boldPath.c_str(), 0, &bold) != 0) {
        std::fprintf(stderr, "art: cannot open the DejaVu Sans faces in %s\n", folder.c_str());
        return false;
    }
    book_ = book;
    bold_ = bold;
    return true;
}

Font::~Font() {
    if (book_ != nullptr) {
        FT_Done_Face(Face(book_));
    }
    if (bold_ != nullptr) {
        FT_Done_Face(Face(bold_));
    }
    if (library_ != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library_));
    }
}

float Font::Measure(const std::string& text, int size, bool bold) const {
    FT_Face face = Face(bold ? bold_ : book_);
    if (face == nullptr) {
        return 0.0f;
    }
    FT_Set_Pixel_Sizes(face, 0, size);
    float width = 0.0f;
    for (uint32_t cp : Decode(text)) {
        if (FT_Load_Char(face, cp, FT_LOAD_DEFAULT) == 0) {
            width += face->glyph->advance.x / 64.0f;
        }
    }
    return width;
}

float Font::Draw(Canvas& canvas, const std::string& text, float x, float y, int size, bool bold, Colour c,
                 Align align) const {
    FT_Face face = Face(bold ? bold_ : book_);
    if (face == nullptr) {
        return x;
    }
    if (align != Align::Left) {
        float w = Measure(text, size, bold);
        x -= align == Align::Centre ? w * 0.5f : w;
    }
    FT_Set_Pixel_Sizes(face, 0, size);
    float pen = x;
    for (uint32_t cp : Decode(text)) {
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) {
            continue;
        }
        FT_GlyphSlot g = face->glyph;
        int left = int(std::lround(pen)) + g->bitmap_left;
        int top = int(std::lround(y)) - g->bitmap_top;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                unsigned char v = g->bitmap.buffer[row * g->bitmap.pitch + col];
                if (v != 0) {
                    canvas.Blend(left + int(col), top + int(row), c, v / 255.0f);
                }
            }
        }
        pen += g->advance.x / 64.0f;
    }
    return pen;
}

void Font::DrawCentred(Canvas& canvas, const std::string& text, float x, float y, float w, float h, int size,
                       bool bold, Colour c) const {
    float capHeight = size * 0.72f;
    Draw(canvas, text, x + w * 0.5f, std::round(y + (h + capHeight) * 0.5f), size, bold, c, Align::Centre);
}

float Font::DrawWrapped(Canvas& canvas, const std::string& text, float x, float y, float width, int size,
                        bool bold, Colour c, float lineHeight) const {
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && Measure(candidate, size, bold) > width) {
            Draw(canvas, line, x, y, size, bold, c);
            y += lineHeight;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.empty()) {
        Draw(canvas, line, x, y, size, bold, c);
        y += lineHeight;
    }
    return y;
}
