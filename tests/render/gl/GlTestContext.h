#pragma once

// A hidden window with an OpenGL 2.1 compatibility context (24-bit depth, 8-bit stencil, no
// multisampling) shared by every GL test of one executable, and helpers to read pixels back.

#include <GL/glew.h>
#include <SDL.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace gltest {

constexpr int width = 800;
constexpr int height = 600;

struct Context {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool ready = false;
};

inline Context& SharedContext() {
    static Context shared = [] {
        Context c;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return c;
        }
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        c.window = SDL_CreateWindow("gl test", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width,
                                    height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (c.window == nullptr) {
            return c;
        }
        c.context = SDL_GL_CreateContext(c.window);
        if (c.context == nullptr) {
            return c;
        }
        glewExperimental = GL_TRUE;
        c.ready = glewInit() == GLEW_OK;
        while (glGetError() != GL_NO_ERROR) {
        }
        return c;
    }();
    return shared;
}

// Makes the shared context current with plain state and a black frame; false when there is no display.
inline bool MakeCurrent() {
    Context& c = SharedContext();
    if (!c.ready) {
        return false;
    }
    SDL_GL_MakeCurrent(c.window, c.context);
    glUseProgram(0);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

// The RGB bytes of one pixel, x from the left and y from the top of the frame.
inline std::vector<uint8_t> PixelAt(int x, int y) {
    std::vector<uint8_t> rgb(3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// The packed id r * 1000000 + g * 1000 + b of one pixel.
inline int32_t IdAt(int x, int y) {
    std::vector<uint8_t> p = PixelAt(x, y);
    return p[0] * 1000000 + p[1] * 1000 + p[2];
}

} // namespace gltest

// Fails the test at once when there is no display to draw on (run GL tests under xvfb-run).
#define REQUIRE_GL() ASSERT_TRUE(gltest::MakeCurrent()) << "no OpenGL display; run under xvfb-run"
