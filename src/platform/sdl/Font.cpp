#include "platform/sdl/Font.h"

#include <GL/glew.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int firstChar = TextFont::firstChar;
constexpr int charCount = TextFont::charCount;
constexpr int pixelSize = 12;
// A glyph bigger than this (a face that ignores the pixel size) is left blank rather than filling the texture.
constexpr unsigned maxGlyphSide = 64;
constexpr int atlasColumns = 16;
constexpr const char* fallbackFace = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf";

std::string MatchMonospaceBold() {
    std::string path;
    if (!FcInit()) {
        return path;
    }
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("monospace:bold"));
    if (pattern == nullptr) {
        return path;
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
            path = reinterpret_cast<const char*>(file);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return path;
}

// One glyph's 1-bit rendering, one byte a pixel (255 where the bit is set), bottom row first.
struct GlyphBitmap {
    int width = 0;
    int rows = 0;
    int left = 0;
    int bottom = 0;
    float advance = 0.0f;
    std::vector<uint8_t> pixels;
};

GlyphBitmap RenderGlyph(FT_Face face, int code) {
    GlyphBitmap glyph;
    glyph.advance = static_cast<float>(pixelSize * 6 / 10);
    if (face == nullptr ||
        FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        return glyph;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.advance = static_cast<float>(slot->advance.x >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_MONO ||
        bitmap.width > maxGlyphSide || bitmap.rows > maxGlyphSide) {
        return glyph;
    }
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.bottom = glyph.rows - slot->bitmap_top;
    glyph.pixels.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.rows), 0);
    for (int r = 0; r < glyph.rows; ++r) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        uint8_t* target = glyph.pixels.data() + static_cast<size_t>(glyph.rows - 1 - r) * glyph.width;
        for (int c = 0; c < glyph.width; ++c) {
            target[c] = (source[c / 8] & (0x80 >> (c % 8))) != 0 ? 255 : 0;
        }
    }
    return glyph;
}

int PowerOfTwoAtLeast(int value) {
    int size = 1;
    while (size < value) {
        size *= 2;
    }
    return size;
}

} // namespace

void TextFont::Create() {
    if (texture_ != 0) {
        Delete();
    }

    std::string path = MatchMonospaceBold();
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) == 0) {
        if (path.empty() || FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            face = nullptr;
            path = fallbackFace;
            if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
                face = nullptr;
            }
        }
    }
    if (face != nullptr) {
        FT_Set_Pixel_Sizes(face, 0, pixelSize);
        std::snprintf(facePath_, sizeof facePath_, "%s", path.c_str());
    } else {
        facePath_[0] = '\0';
        std::fprintf(stderr, "No monospace font found; text will not show\n");
    }

    std::vector<GlyphBitmap> rendered;
    rendered.reserve(charCount);
    int cellWidth = 1;
    int cellHeight = 1;
    for (int i = 0; i < charCount; ++i) {
        rendered.push_back(RenderGlyph(face, firstChar + i));
        cellWidth = std::max(cellWidth, rendered.back().width + 1);
        cellHeight = std::max(cellHeight, rendered.back().rows + 1);
    }
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }

    // The glyphs in a grid of cells, a blank texel between neighbours.
    const int atlasRows = (charCount + atlasColumns - 1) / atlasColumns;
    atlasWidth_ = PowerOfTwoAtLeast(atlasColumns * cellWidth);
    atlasHeight_ = PowerOfTwoAtLeast(atlasRows * cellHeight);
    std::vector<uint8_t> atlas(static_cast<size_t>(atlasWidth_) * static_cast<size_t>(atlasHeight_), 0);
    for (int i = 0; i < charCount; ++i) {
        const GlyphBitmap& bitmap = rendered[static_cast<size_t>(i)];
        Glyph& glyph = glyphs_[i];
        glyph.width = static_cast<int16_t>(bitmap.width);
        glyph.rows = static_cast<int16_t>(bitmap.rows);
        glyph.left = static_cast<int16_t>(bitmap.left);
        glyph.bottom = static_cast<int16_t>(bitmap.bottom);
        glyph.atlasX = static_cast<int16_t>((i % atlasColumns) * cellWidth);
        glyph.atlasY = static_cast<int16_t>((i / atlasColumns) * cellHeight);
        glyph.advance = bitmap.advance;
        for (int r = 0; r < bitmap.rows; ++r) {
            std::memcpy(atlas.data() + static_cast<size_t>(glyph.atlasY + r) * atlasWidth_ + glyph.atlasX,
                        bitmap.pixels.data() + static_cast<size_t>(r) * bitmap.width,
                        static_cast<size_t>(bitmap.width));
        }
    }

    GLint binding = 0;
    GLint alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, atlasWidth_, atlasHeight_, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 atlas.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(binding));
    texture_ = texture;
}

void TextFont::Delete() {
    if (texture_ != 0) {
        const GLuint texture = texture_;
        glDeleteTextures(1, &texture);
        texture_ = 0;
    }
}

void TextFont::Print(const char* format, ...) const {
    if (format == nullptr || texture_ == 0) {
        return;
    }
    char text[bufferSize];
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written <= 0) {
        return;
    }
    size_t length = std::strlen(text);
    // Only 32 to 127 have glyphs; other bytes would call lists that belong to something else.
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < firstChar || c >= firstChar + charCount) {
            text[i] = '?';
        }
    }

    // As with glBitmap: nothing at all while the raster position is invalid.
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    if (!valid) {
        return;
    }
    GLfloat raster[4] = {};
    GLfloat colour[4] = {};
    GLint viewport[4] = {};
    GLfloat depthRange[2] = {0.0f, 1.0f};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, colour);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetFloatv(GL_DEPTH_RANGE, depthRange);

    GLint program = 0;
    const bool shaders = glUseProgram != nullptr;
    if (shaders) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_TRANSFORM_BIT);
    // Window coordinates, the depth the raster position has.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1.0, 1.0);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const float depthSpan = depthRange[1] - depthRange[0];
    const float z = depthSpan != 0.0f ? -(2.0f * (raster[2] - depthRange[0]) / depthSpan - 1.0f) : 0.0f;

    // The glyph's set texels pass, the others leave the pixel as it was: the colour is the raster colour.
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);
    glColor4fv(colour);
    const float toU = 1.0f / static_cast<float>(atlasWidth_);
    const float toV = 1.0f / static_cast<float>(atlasHeight_);
    // Where glBitmap puts a bitmap's corner: the raster position less its origin, rounded down.
    constexpr float epsilon = 0.0001f;
    float x = raster[0];
    glBegin(GL_QUADS);
    for (size_t i = 0; i < length; ++i) {
        const Glyph& glyph = glyphs_[static_cast<unsigned char>(text[i]) - firstChar];
        if (glyph.width > 0 && glyph.rows > 0) {
            const float left = std::floor(x + epsilon + static_cast<float>(glyph.left));
            const float bottom = std::floor(raster[1] + epsilon - static_cast<float>(glyph.bottom));
            const float right = left + static_cast<float>(glyph.width);
            const float top = bottom + static_cast<float>(glyph.rows);
            const float u0 = static_cast<float>(glyph.atlasX) * toU;
            const float v0 = static_cast<float>(glyph.atlasY) * toV;
            const float u1 = static_cast<float>(glyph.atlasX + glyph.width) * toU;
            const float v1 = static_cast<float>(glyph.atlasY + glyph.rows) * toV;
            glTexCoord2f(u0, v0);
            glVertex3f(left, bottom, z);
            glTexCoord2f(u1, v0);
            glVertex3f(right, bottom, z);
            glTexCoord2f(u1, v1);
            glVertex3f(right, top, z);
            glTexCoord2f(u0, v1);
            glVertex3f(left, top, z);
        }
        x += glyph.advance;
    }
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    // The raster position moves on by the text's advance, as the glyphs' own glBitmap calls would move it.
    glBitmap(0, 0, 0, 0, x - raster[0], 0, nullptr);
    if (shaders) {
        glUseProgram(static_cast<GLuint>(program));
    }
}
