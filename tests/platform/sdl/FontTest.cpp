#include "platform/sdl/Font.h"

#include "render/gl/GlTestContext.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace

TEST(FontTest, PrintingDrawsGlyphsAndKeepsTheProgram) {
    REQUIRE_GL();
    TextFont font;
    font.Create();
    ASSERT_NE(font.base(), 0u);
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
