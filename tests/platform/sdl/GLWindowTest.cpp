#include "platform/sdl/GLWindow.h"
#include "WindowManagerClose.h"
#include "platform/Dialog.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <cmath>
#include <vector>

namespace {

// Opens a real window for each test and releases it afterwards.
class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.Open()) << "needs a display: run under xvfb-run";
        ASSERT_EQ(recorder.shown().size(), 0u);
    }
    void TearDown() override { window.Release(); }

    // Takes every waiting message, giving the X server a moment to deliver.
    std::vector<WindowMessage> TakeMessages(size_t atLeast) {
        std::vector<WindowMessage> taken;
        for (int attempt = 0; attempt < 200; ++attempt) {
            WindowMessage message;
            while (window.PeekMessage(message)) {
                taken.push_back(message);
            }
            if (taken.size() >= atLeast) {
                break;
            }
            SDL_Delay(10);
        }
        return taken;
    }

    DialogRecorder recorder;
    GLWindow window;
};

} // namespace

TEST_F(GLWindowTest, OpensAnUnresizableVantorWindowWithTheRequestedContext) {
    SDL_Window* sdl = window.sdlWindow();
    EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Vantor");
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    SDL_GL_GetDrawableSize(sdl, &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_FALSE(window.IsFullScreen());

    int value = -1;
    SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &value);
    EXPECT_EQ(value, 1);
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &value);
    EXPECT_GE(value, 24);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &value);
    EXPECT_EQ(value, 8);
    SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &value);
    EXPECT_EQ(value, 0) << "picking needs exact colours";
    SDL_GL_GetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, &value);
    EXPECT_EQ(value, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);

    int major = 0;
    int minor = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(version[0] > '2' || (version[0] == '2' && version[2] >= '1')) << version;
    GLint samples = -1;
    glGetIntegerv(GL_SAMPLES, &samples);
    EXPECT_EQ(samples, 0);

    // 60-degree vertical field of view at an aspect of 4:3.
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    const float focal = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
    EXPECT_NEAR(projection[5], focal, 1e-4f);
    EXPECT_NEAR(projection[0], focal * 600.0f / 800.0f, 1e-4f);
    EXPECT_EQ(recorder.shown().size(), 0u) << "no error boxes";
}

TEST_F(GLWindowTest, CloseButtonGivesCloseThenQuit) {
    TakeMessages(0);
    if (!PressCloseButton(window.sdlWindow())) {
        // No window manager route (not X11): send what SDL makes of the request instead.
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        event.window.windowID = SDL_GetWindowID(window.sdlWindow());
        SDL_PushEvent(&event);
    }
    const std::vector<WindowMessage> taken = TakeMessages(2);
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0].message, WM_CLOSE);
    EXPECT_EQ(taken[1].message, WM_QUIT);
}

TEST_F(GLWindowTest, KeysAndClicksBecomeOneMessageEachButMotionDoesNot) {
    TakeMessages(0);
    SDL_Event event{};
    for (int i = 0; i < 50; ++i) {
        event = SDL_Event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(window.sdlWindow());
        event.motion.x = i;
        event.motion.y = i;
        SDL_PushEvent(&event);
    }
    event = SDL_Event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&event);
    event.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = 100;
    event.button.y = 200;
    SDL_PushEvent(&event);
    event.button.button = SDL_BUTTON_RIGHT;
    SDL_PushEvent(&event);
    event = SDL_Event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = SDLK_RETURN;
    event.key.keysym.mod = KMOD_LALT;
    SDL_PushEvent(&event);

    WindowMessage message;
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.message, WM_KEYDOWN);
    EXPECT_EQ(message.wParam, static_cast<uint64_t>('A'));
    EXPECT_EQ(window.PendingMessages(), 3u) << "one message per call, the rest wait; no motion records";
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.wParam, 0x1Bu);
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.message, WM_LBUTTONDOWN);
    EXPECT_EQ(message.lParam, (200 << 16) | 100);
    ASSERT_TRUE(window.PeekMessage(message));
    EXPECT_EQ(message.message, WM_SYSCOMMAND) << "Alt+Enter asks for full screen like the maximise button";
    EXPECT_EQ(message.wParam, SC_MAXIMIZE);
    EXPECT_FALSE(window.PeekMessage(message));
}

TEST_F(GLWindowTest, FullScreenKeepsTheFrameAndTogglingTwiceReturnsToTheWindow) {
    window.ToggleFullScreen();
    EXPECT_TRUE(window.IsFullScreen());
    SDL_PumpEvents();
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.sdlWindow(), &width, &height);
    int frameX = -1;
    int frameY = -1;
    window.MapToFrame(width / 2, height / 2, frameX, frameY);
    EXPECT_NEAR(frameX, 400, 1);
    EXPECT_NEAR(frameY, 300, 1);
    window.MapToFrame(width - 1, height - 1, frameX, frameY);
    EXPECT_EQ(frameX, 799);
    EXPECT_EQ(frameY, 599);

    // Drawing still happens in the 800 x 600 frame, and read-back finds the exact colour under a point.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(700, 500, 10, 10);
    glClearColor(1.0f, 0.0f, 128.0f / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    unsigned char pixel[4] = {};
    glReadPixels(705, 505, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(pixel[2], 128);
    window.Swap();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    window.ToggleFullScreen();
    EXPECT_FALSE(window.IsFullScreen());
    SDL_PumpEvents();
    SDL_GetWindowSize(window.sdlWindow(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(SDL_GetWindowFlags(window.sdlWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    window.MapToFrame(123, 456, frameX, frameY);
    EXPECT_EQ(frameX, 123);
    EXPECT_EQ(frameY, 456);
}

TEST_F(GLWindowTest, DebugBarsDrawAfterTheScreenAndKeepTheInputTheyCapture) {
    // A bar covering the whole frame, under the pointer, takes every click.
    SDL_WarpMouseInWindow(window.sdlWindow(), 50, 50);
    for (int frame = 0; frame < 20 && !window.OverlayWantsMouse(); ++frame) {
        SDL_Delay(10);
        TakeMessages(0);
        window.BeginOverlayFrame();
        ImGui::SetNextWindowPos(ImVec2(0.0f, 0.0f));
        ImGui::SetNextWindowSize(ImVec2(800.0f, 600.0f));
        ImGui::Begin("Debug");
        ImGui::Text("bar");
        ImGui::End();
        window.DrawOverlay();
        window.Swap();
    }
    EXPECT_TRUE(window.OverlayWantsMouse());
    TakeMessages(0);
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = 50;
    event.button.y = 50;
    SDL_PushEvent(&event);
    WindowMessage message;
    while (window.PeekMessage(message)) {
        EXPECT_NE(message.message, WM_LBUTTONDOWN) << "a click on a bar does not reach the game";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
