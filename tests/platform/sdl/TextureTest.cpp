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

// Opaque pictures shown at their own size are copied into the frame rather than drawn; the frame must not
// be able to tell: the same pixels in the same place, the scissor box honoured, the state left as a draw
// leaves it, and drawing still used wherever a copy would differ.
TEST(TextureTest, PicturesAtTheirOwnSizeLandPixelExactWhereverTheyAreShown) {
    REQUIRE_GL();
    constexpr int w = 40, h = 30;
    std::vector<Rgb> picture;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            picture.push_back(Rgb{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 8),
                                  static_cast<uint8_t>((x * 7 + y * 13) % 256)});
        }
    }
    std::string path = SavePicture("own_size.png", w, h, picture, FIF_PNG);
    const uint32_t texture = LoadTexture(path);
    std::remove(path.c_str());
    ASSERT_NE(texture, 0u);
    auto expectPictureAt = [&](int left, int top, const char* where) {
        int wrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb& c = picture[static_cast<size_t>(y * w + x)];
                wrong += gltest::PixelAt(left + x, top + y) != std::vector<uint8_t>{c.r, c.g, c.b} ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << where;
        EXPECT_EQ(gltest::PixelAt(left - 1, top), (std::vector<uint8_t>{0, 0, 0})) << where << ": left of it";
        EXPECT_EQ(gltest::PixelAt(left, top + h), (std::vector<uint8_t>{0, 0, 0})) << where << ": below it";
    };

    for (bool blend : {false, true}) {
        ASSERT_TRUE(gltest::MakeCurrent());
        DrawTexturedRect(texture, 30, 20, w, h, blend);
        expectPictureAt(30, 20, blend ? "blended" : "not blended");
    }

    // Into a framebuffer object, the way the full-screen frame and the pick pass draw: the picture lands there
    // and the bindings stay as they were.
    ASSERT_TRUE(gltest::MakeCurrent());
    GLuint frame = 0, colour = 0;
    glGenFramebuffers(1, &frame);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, gltest::width, gltest::height);
    glBindFramebuffer(GL_FRAMEBUFFER, frame);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawTexturedRect(texture, 100, 200, w, h, false);
    GLint read = 0, draw = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
    EXPECT_EQ(static_cast<GLuint>(read), frame);
    EXPECT_EQ(static_cast<GLuint>(draw), frame);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, gltest::width, gltest::height, 0, 0, gltest::width, gltest::height,
                      GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &frame);
    glDeleteRenderbuffers(1, &colour);
    expectPictureAt(100, 200, "in a framebuffer object");

    // The scissor box clips it as it clips drawing: only the right half of the picture shows.
    ASSERT_TRUE(gltest::MakeCurrent());
    glEnable(GL_SCISSOR_TEST);
    glScissor(50 + w / 2, 0, gltest::width, gltest::height);
    DrawTexturedRect(texture, 50, 60, w, h, false);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_EQ(gltest::PixelAt(50 + w / 2 - 1, 60), (std::vector<uint8_t>{0, 0, 0}));
    const Rgb& shown = picture[w / 2];
    EXPECT_EQ(gltest::PixelAt(50 + w / 2, 60), (std::vector<uint8_t>{shown.r, shown.g, shown.b}));

    // A viewport that scales the layout scales the picture with it.
    ASSERT_TRUE(gltest::MakeCurrent());
    glViewport(0, 0, gltest::width / 2, gltest::height / 2);
    DrawTexturedRect(texture, 200, 0, w, h, false);
    glViewport(0, 0, gltest::width, gltest::height);
    const Rgb& last = picture[static_cast<size_t>(h * w - 1)];
    EXPECT_EQ(gltest::PixelAt(100 + w / 2 - 1, gltest::height / 2 + h / 2 - 1),
              (std::vector<uint8_t>{last.r, last.g, last.b}))
        << "a picture drawn at half its size in a half-size viewport";
    EXPECT_EQ(gltest::PixelAt(100 + w / 2 + 1, gltest::height / 2 + h / 2 + 1), (std::vector<uint8_t>{0, 0, 0}));

    // A picture reaching past the layout's right edge is cut off there, as drawing cuts it at the viewport,
    // with the viewport moved so that its edge lies inside the window.
    ASSERT_TRUE(gltest::MakeCurrent());
    glViewport(-100, 0, gltest::width, gltest::height);
    DrawTexturedRect(texture, gltest::width - w / 2, 100, w, h, false);
    glViewport(0, 0, gltest::width, gltest::height);
    const Rgb& edge = picture[w / 2 - 1];
    EXPECT_EQ(gltest::PixelAt(gltest::width - 101, 100), (std::vector<uint8_t>{edge.r, edge.g, edge.b}));
    EXPECT_EQ(gltest::PixelAt(gltest::width - 100, 100), (std::vector<uint8_t>{0, 0, 0}));

    // The stencil test applies to drawing only: a picture outside the stencil stays hidden.
    ASSERT_TRUE(gltest::MakeCurrent());
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_EQUAL, 1, 0xff);
    DrawTexturedRect(texture, 30, 20, w, h, false);
    glDisable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, 0xff);
    EXPECT_EQ(gltest::PixelAt(30 + w / 2, 20 + h / 2), (std::vector<uint8_t>{0, 0, 0}));

    // A blank texture blended over the frame leaves it as it was; shown unblended it blacks its place out.
    ASSERT_TRUE(gltest::MakeCurrent());
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const uint32_t blank = CreateBlankTexture(8, 8);
    DrawTexturedRect(blank, 10, 10, 50, 50, true);
    EXPECT_EQ(gltest::PixelAt(20, 20), (std::vector<uint8_t>{51, 102, 153}));
    DrawTexturedRect(blank, 10, 10, 50, 50, false);
    EXPECT_EQ(gltest::PixelAt(20, 20), (std::vector<uint8_t>{0, 0, 0}));

    // More pictures copied in turn than the window keeps ready, twice round: each shows itself.
    std::vector<uint32_t> solids;
    for (int k = 0; k < 5; ++k) {
        const Rgb colour{static_cast<uint8_t>(40 * k + 10), static_cast<uint8_t>(200 - 30 * k), 77};
        const std::string solid = SavePicture("solid" + std::to_string(k) + ".png", w, h,
                                              std::vector<Rgb>(size_t(w * h), colour), FIF_PNG);
        solids.push_back(LoadTexture(solid));
        std::remove(solid.c_str());
    }
    for (int round = 0; round < 2; ++round) {
        for (int k = 0; k < 5; ++k) {
            ASSERT_TRUE(gltest::MakeCurrent());
            DrawTexturedRect(solids[size_t(k)], 0, 0, w, h, false);
            EXPECT_EQ(gltest::PixelAt(w / 2, h / 2),
                      (std::vector<uint8_t>{static_cast<uint8_t>(40 * k + 10), static_cast<uint8_t>(200 - 30 * k),
                                            77}))
                << "picture " << k << ", round " << round;
        }
    }

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), WhiteTexture());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
