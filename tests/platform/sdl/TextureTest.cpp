#include "platform/sdl/Texture.h"

#include "render/gl/GlTestContext.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct Rgb {
    uint8_t r, g, b;
};

// Saves a picture whose rows are given top row first, as the eye sees it.
std::string SavePicture(const std::string& name, int width, int height, const std::vector<Rgb>& topDown,
                        FREE_IMAGE_FORMAT format, int bits = 24) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Rgb& c = topDown[static_cast<size_t>((height - 1 - y) * width + x)];
            RGBQUAD quad{c.b, c.g, c.r, 0};
            FreeImage_SetPixelColor(bitmap, static_cast<unsigned>(x), static_cast<unsigned>(y), &quad);
        }
    }
    if (bits == 8) {
        FIBITMAP* paletted = FreeImage_ColorQuantize(bitmap, FIQ_WUQUANT);
        FreeImage_Unload(bitmap);
        bitmap = paletted;
    }
    std::string path = testing::TempDir() + "vantor_texture_" + name;
    EXPECT_TRUE(FreeImage_Save(format, bitmap, path.c_str(), 0));
    FreeImage_Unload(bitmap);
    return path;
}

std::vector<uint8_t> TexturePixels(uint32_t texture, int count) {
    std::vector<uint8_t> rgba(static_cast<size_t>(count) * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

const Rgb white{255, 255, 255};
const Rgb black{0, 0, 0};

} // namespace

TEST(TextureTest, ColourKeyTexturesHideTheBottomLeftColourInAnyDepth) {
    REQUIRE_GL();
    // Bottom-left (the first stored pixel) is white: every white pixel becomes transparent.
    const std::vector<Rgb> picture = {black, white, white, black, white, black, white, black};
    for (int bits : {24, 8}) {
        std::string path = SavePicture("key" + std::to_string(bits) + ".bmp", 4, 2, picture, FIF_BMP, bits);
        uint32_t texture = LoadColourKeyTexture(path, 1002003);
        ASSERT_NE(texture, 0u);
        std::vector<uint8_t> rgba = TexturePixels(texture, 8);
        // Stored bottom row first: white, black, white, black.
        EXPECT_EQ(rgba[3], 0) << bits << " bits";
        EXPECT_EQ(rgba[4 + 0], 1);
        EXPECT_EQ(rgba[4 + 1], 2);
        EXPECT_EQ(rgba[4 + 2], 3);
        EXPECT_EQ(rgba[4 + 3], 255);
        // Top row: black, white, white, black.
        EXPECT_EQ(rgba[16 + 3], 255);
        EXPECT_EQ(rgba[20 + 3], 0);
        std::remove(path.c_str());
    }

    std::string plain = SavePicture("plain.bmp", 2, 2, {white, white, white, white}, FIF_BMP);
    std::vector<uint8_t> clear = TexturePixels(LoadColourKeyTexture(plain, 255255255), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(clear[static_cast<size_t>(i * 4 + 3)], 0) << "a one-colour bitmap is fully transparent";
    }
    std::remove(plain.c_str());

    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadColourKeyTexture(testing::TempDir() + "missing_pick.bmp", 1), 0u);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("missing_pick.bmp"), std::string::npos);
}

TEST(TextureTest, PicturesShowTheirTopRowAtTheTopAndMissingOnesAPlaceholder) {
    REQUIRE_GL();
    const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, yellow{255, 255, 0};
    // Four 4 x 4 quadrants, so linear magnification blends only at their borders.
    std::vector<Rgb> quadrants;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            quadrants.push_back(y < 4 ? (x < 4 ? red : green) : (x < 4 ? blue : yellow));
        }
    }
    std::string path = SavePicture("quadrants.png", 8, 8, quadrants, FIF_PNG);
    uint32_t texture = LoadTexture(path);
    ASSERT_NE(texture, 0u);
    DrawTexturedRect(texture, 0, 0, gltest::width, gltest::height, false);
    EXPECT_EQ(gltest::PixelAt(100, 100), (std::vector<uint8_t>{255, 0, 0}));
    EXPECT_EQ(gltest::PixelAt(700, 100), (std::vector<uint8_t>{0, 255, 0}));
    EXPECT_EQ(gltest::PixelAt(100, 500), (std::vector<uint8_t>{0, 0, 255}));
    std::remove(path.c_str());

    testing::internal::CaptureStderr();
    uint32_t placeholder = LoadTexture(testing::TempDir() + "no_such_picture.png");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no_such_picture.png"), std::string::npos);
    ASSERT_NE(placeholder, 0u);
    DrawTexturedRect(placeholder, 0, 0, 80, 80, false);
    std::vector<uint8_t> corner = gltest::PixelAt(5, 5);
    EXPECT_TRUE(corner[0] > 200 || corner[2] > 200 || (corner[0] == 0 && corner[1] == 0))
        << "the placeholder is a magenta and black checker";
    EXPECT_EQ(corner[1], 0);
    int magenta = 0;
    for (int x = 5; x < 80; x += 10) {
        magenta += gltest::PixelAt(x, 5)[0] > 200 ? 1 : 0;
    }
    EXPECT_GT(magenta, 0);

    uint32_t blank = CreateBlankTexture(4, 4);
    for (uint8_t value : TexturePixels(blank, 16)) {
        EXPECT_EQ(value, 0);
    }
}

TEST(TextureTest, DrawTexturedRectRestoresWhatItChanges) {
    REQUIRE_GL();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-3, 3, -2, 2, 1, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    GLfloat projectionBefore[16], modelviewBefore[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewBefore);

    glEnable(GL_BLEND);
    DrawTexturedRect(WhiteTexture(), 10, 10, 20, 20, false);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)) << "blending is off after a draw without blending too";
    DrawTexturedRect(WhiteTexture(), 10, 10, 20, 20, true);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    GLint mode = 0, bound = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_EQ(static_cast<uint32_t>(bound), WhiteTexture()) << "the white texture stands in for none";
    GLfloat projectionAfter[16], modelviewAfter[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projectionAfter[i], projectionBefore[i]);
        EXPECT_EQ(modelviewAfter[i], modelviewBefore[i]);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
