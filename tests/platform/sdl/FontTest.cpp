#include "platform/sdl/Font.h"

#include "render/gl/GlTestContext.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

GLuint TrivialProgram() {
    const char* source = "void main() { gl_FragColor = vec4(1.0); }";
    GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    return program;
}

float RasterX() {
    GLfloat position[4] = {};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
    return position[0];
}

int LitPixels(int x0, int y0, int x1, int y1) {
    int lit = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            lit += gltest::PixelAt(x, y)[0] > 0 ? 1 : 0;
        }
    }
    return lit;
}

void StartText(float x, float y) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, gltest::width, gltest::height, 0, 1, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 1, 1);
    glRasterPos2f(x, y);
}

// The text drawn the classic way, one glBitmap a glyph straight from FreeType, to hold the font's pixels to.
void PrintWithBitmaps(const char* facePath, const std::string& text) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    ASSERT_EQ(FT_New_Face(library, facePath, 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, 12);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (char c : text) {
        ASSERT_EQ(FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO), 0);
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const unsigned rowBytes = (bitmap.width + 7) / 8;
        std::vector<GLubyte> rows(static_cast<size_t>(rowBytes) * bitmap.rows + 1);
        for (unsigned r = 0; r < bitmap.rows; ++r) {
            std::memcpy(rows.data() + static_cast<size_t>(bitmap.rows - 1 - r) * rowBytes,
                        bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch, rowBytes);
        }
        glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
                 static_cast<GLfloat>(-slot->bitmap_left),
                 static_cast<GLfloat>(static_cast<int>(bitmap.rows) - slot->bitmap_top),
                 static_cast<GLfloat>(slot->advance.x >> 6), 0, rows.data());
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}

std::vector<uint8_t> ReadFrame() {
    std::vector<uint8_t> rgb(static_cast<size_t>(gltest::width) * gltest::height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, gltest::width, gltest::height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

} // namespace

TEST(FontTest, TextLightsExactlyThePixelsGlyphBitmapsWould) {
    REQUIRE_GL();
    TextFont font;
    font.Create();
    ASSERT_NE(std::string(font.facePath()), "");
    const std::string text = "Vantor: gjq|,_ ARMOR 12/40 ~@#";
    // Whole and fractional raster positions, a viewport that is not the whole window, and a depth test that
    // hides the text where nearer pixels are.
    struct Case {
        float x, y;
        bool smallViewport;
        bool depth;
    };
    for (const Case& c : {Case{20, 40, false, false}, Case{33.4f, 97.6f, false, false},
                          Case{101.5f, 250.5f, true, false}, Case{7.9f, 300.2f, false, true}}) {
        std::vector<uint8_t> frames[2];
        for (int way = 0; way < 2; ++way) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glViewport(c.smallViewport ? 50 : 0, c.smallViewport ? 30 : 0, c.smallViewport ? 500 : gltest::width,
                       c.smallViewport ? 400 : gltest::height);
            if (c.depth) {
                // A nearer square over part of the text.
                glMatrixMode(GL_PROJECTION);
                glLoadIdentity();
                glOrtho(0, gltest::width, gltest::height, 0, 1, -1);
                glMatrixMode(GL_MODELVIEW);
                glLoadIdentity();
                glEnable(GL_DEPTH_TEST);
                glColor3f(0, 0, 1);
                glRectf(40, 280, 90, 320);
            }
            StartText(c.x, c.y);
            glColor3f(0.2f, 0.9f, 0.4f);
            glRasterPos3f(c.x, c.y, c.depth ? 0.5f : 0.0f);
            if (way == 0) {
                PrintWithBitmaps(font.facePath(), text);
            } else {
                font.Print("%s", text.c_str());
            }
            frames[way] = ReadFrame();
            glDisable(GL_DEPTH_TEST);
            glViewport(0, 0, gltest::width, gltest::height);
        }
        size_t lit = 0;
        size_t differing = 0;
        for (size_t i = 0; i < frames[0].size(); i += 3) {
            lit += frames[0][i + 1] > 200 ? 1 : 0;
            differing += std::memcmp(&frames[0][i], &frames[1][i], 3) != 0 ? 1 : 0;
        }
        EXPECT_GT(lit, 100u) << "at " << c.x << ", " << c.y;
        EXPECT_EQ(differing, 0u) << "at " << c.x << ", " << c.y;
    }
    font.Delete();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(FontTest, PrintingDrawsGlyphsAndKeepsTheProgram) {
    REQUIRE_GL();
    TextFont font;
    font.Create();
    ASSERT_NE(font.texture(), 0u);
    EXPECT_NE(std::string(font.facePath()), "") << "a bold monospace face should be found";

    GLuint program = TrivialProgram();
    StartText(20, 40);
    glUseProgram(program);
    font.Print("Vantor %d", 7);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program);
    glUseProgram(0);
    EXPECT_GT(LitPixels(20, 28, 100, 42), 20) << "the text shows above its baseline";

    // An empty text draws nothing and leaves the raster position where it was.
    glClear(GL_COLOR_BUFFER_BIT);
    StartText(20, 40);
    float before = RasterX();
    font.Print("%s", "");
    EXPECT_EQ(RasterX(), before);
    EXPECT_EQ(LitPixels(15, 25, 60, 45), 0);

    // Twelve-pixel monospace: every glyph advances the same.
    StartText(0, 100);
    font.Print("W");
    float advance = RasterX();
    EXPECT_GE(advance, 6.0f);
    EXPECT_LE(advance, 9.0f);

    // A text longer than the buffer is cut to 255 characters.
    StartText(0, 120);
    font.Print("%s", std::string(1000, 'x').c_str());
    EXPECT_FLOAT_EQ(RasterX(), 255 * advance);

    // Characters outside the font's range are drawn as '?', never as someone else's list.
    StartText(0, 140);
    font.Print("\x01\xE9");
    EXPECT_FLOAT_EQ(RasterX(), 2 * advance);

    font.Delete();
    glDeleteProgram(program);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
