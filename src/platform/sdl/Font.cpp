#include "platform/sdl/Font.h"

#include <GL/glew.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int firstChar = 32;
constexpr int charCount = 96;
constexpr int pixelSize = 12;
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

// Compiles one glyph: its 1-bit rows turned bottom-up as glBitmap wants them.
void CompileGlyph(FT_Face face, int code) {
    if (face == nullptr ||
        FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
        glBitmap(0, 0, 0, 0, static_cast<GLfloat>(pixelSize * 6 / 10), 0, nullptr);
        return;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const GLfloat advance = static_cast<GLfloat>(slot->advance.x >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
        glBitmap(0, 0, 0, 0, advance, 0, nullptr);
        return;
    }
    const unsigned rowBytes = (bitmap.width + 7) / 8;
    std::vector<GLubyte> rows(static_cast<size_t>(rowBytes) * bitmap.rows);
    for (unsigned r = 0; r < bitmap.rows; ++r) {
        const unsigned char* source = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        std::memcpy(rows.data() + static_cast<size_t>(bitmap.rows - 1 - r) * rowBytes, source, rowBytes);
    }
    glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
             static_cast<GLfloat>(-slot->bitmap_left),
             static_cast<GLfloat>(static_cast<int>(bitmap.rows) - slot->bitmap_top), advance, 0, rows.data());
}

} // namespace

void TextFont::Create() {
    if (base_ != 0) {
        Delete();
    }
    base_ = glGenLists(charCount);

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

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int i = 0; i < charCount; ++i) {
        glNewList(base_ + static_cast<GLuint>(i), GL_COMPILE);
        CompileGlyph(face, firstChar + i);
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

void TextFont::Delete() {
    if (base_ != 0) {
        glDeleteLists(base_, charCount);
        base_ = 0;
    }
}

void TextFont::Print(const char* format, ...) const {
    if (format == nullptr || base_ == 0) {
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

    GLint program = 0;
    const bool shaders = glUseProgram != nullptr;
    if (shaders) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(base_ - firstChar);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
    if (shaders) {
        glUseProgram(static_cast<GLuint>(program));
    }
}
