#include "platform/sdl/GLWindow.h"

#include "platform/Dialog.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl2.h>
#include <imgui_impl_sdl.h>

#include <cfloat>

namespace {

void ShowCreationError(const char* text) {
    ShowDialog({DialogKind::Error, "ERROR", text});
}

// The Windows virtual-key code of an SDL key, as the game's key handling expects it.
uint64_t VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if ((key >= SDLK_0 && key <= SDLK_9) || key == SDLK_SPACE) {
        return static_cast<uint64_t>(key);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return 0x70 + (key - SDLK_F1);
    }
    switch (key) {
    case SDLK_BACKSPACE:
        return 0x08;
    case SDLK_TAB:
        return 0x09;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return 0x11;
    case SDLK_LALT:
    case SDLK_RALT:
        return 0x12;
    case SDLK_ESCAPE:
        return 0x1B;
    case SDLK_LEFT:
        return 0x25;
    case SDLK_UP:
        return 0x26;
    case SDLK_RIGHT:
        return 0x27;
    case SDLK_DOWN:
        return 0x28;
    case SDLK_DELETE:
        return 0x2E;
    default:
        return static_cast<uint64_t>(key & 0xFFFF);
    }
}

bool IsFullScreenShortcut(const SDL_Keysym& key) {
    const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
    return key.sym == SDLK_F11 || (enter && (key.mod & KMOD_ALT) != 0);
}

} // namespace

bool GLWindow::Open() {
    if (IsOpen()) {
        return true;
    }
    fullScreen_ = false;
    if (!CreateGLWindow("Vantor", width_, height_, 32)) {
        return false;
    }
    SetProjection();
    return true;
}

bool GLWindow::CreateGLWindow(const char* title, int width, int height, int bits) {
    width_ = width;
    height_ = height;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ShowCreationError("Failed To Register The Window Class.");
        return false;
    }
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");

    const int channelBits = bits >= 24 ? 8 : 5;
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channelBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);

    window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) {
        Release();
        ShowCreationError("Window Creation Error.");
        return false;
    }
    SDL_GLContext context = SDL_GL_CreateContext(window_);
    if (!context) {
        Release();
        ShowCreationError("Can't Create A GL Rendering Context.");
        return false;
    }
    context_ = context;
    if (SDL_GL_MakeCurrent(window_, context) != 0) {
        Release();
        ShowCreationError("Can't Activate The GL Rendering Context.");
        return false;
    }
    glewInit();
    glViewport(0, 0, width_, height_);

    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;
    ImGui::StyleColorsDark();
    ImGui_ImplSDL2_InitForOpenGL(window_, context_);
    ImGui_ImplOpenGL2_Init();
    overlayStarted_ = true;
    return true;
}

void GLWindow::Release() {
    ShutdownOverlay();
    if (frameTarget_.framebuffer() != 0 && context_) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        frameTarget_.Release();
    }
    if (context_) {
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }
    if (window_) {
        SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    fullScreen_ = false;
    pending_.clear();
}

void GLWindow::SetProjection() {
    if (!context_) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, static_cast<double>(static_cast<unsigned>(width_)) / static_cast<unsigned>(height_),
                   0.1f, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLWindow::Swap() {
    if (!window_) {
        return;
    }
    if (fullScreen_ && frameTarget_.framebuffer() != 0) {
        PresentFrameTarget();
        return;
    }
    SDL_GL_SwapWindow(window_);
}

// [SECTION] Full screen

FrameRect GLWindow::FullScreenBox() const {
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    return LetterboxRect(drawableWidth, drawableHeight, width_, height_);
}

bool GLWindow::CreateFrameTarget() {
    return glBlitFramebuffer != nullptr && frameTarget_.Make(width_, height_);
}

void GLWindow::BindFrameTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, frameTarget_.framebuffer());
    glViewport(0, 0, width_, height_);
}

void GLWindow::PresentFrameTarget() {
    int drawableWidth = 0;
    int drawableHeight = 0;
    SDL_GL_GetDrawableSize(window_, &drawableWidth, &drawableHeight);
    const FrameRect box = FullScreenBox();

    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_VIEWPORT_BIT | GL_SCISSOR_BIT);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frameTarget_.framebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, drawableWidth, drawableHeight);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    const int bottom = drawableHeight - (box.y + box.height);
    glBlitFramebuffer(0, 0, width_, height_, box.x, bottom, box.x + box.width, bottom + box.height,
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    SDL_GL_SwapWindow(window_);
    glBindFramebuffer(GL_FRAMEBUFFER, frameTarget_.framebuffer());
    glPopAttrib();
}

void GLWindow::ToggleFullScreen() {
    if (!window_) {
        return;
    }
    fullScreen_ = !fullScreen_;
    if (fullScreen_) {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
        if (CreateFrameTarget()) {
            BindFrameTarget();
        }
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, width_, height_);
        if (frameTarget_.framebuffer() != 0) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
        }
        glViewport(0, 0, width_, height_);
    }
}

void GLWindow::MapToFrame(int windowX, int windowY, int& frameX, int& frameY) const {
    FrameRect box{0, 0, width_, height_};
    if (fullScreen_ && window_) {
        int windowWidth = 0;
        int windowHeight = 0;
        SDL_GetWindowSize(window_, &windowWidth, &windowHeight);
        box = LetterboxRect(windowWidth, windowHeight, width_, height_);
    }
    SurfaceToFrame(box, width_, height_, windowX, windowY, frameX, frameY);
}

// [SECTION] Window messages

bool GLWindow::PeekMessage(WindowMessage& message) {
    PumpEvents();
    if (pending_.empty()) {
        return false;
    }
    message = pending_.front();
    pending_.pop_front();
    return true;
}

void GLWindow::PostQuitMessage() {
    Queue(WM_QUIT, 0, 0);
}

void GLWindow::Queue(uint32_t message, uint64_t wParam, int64_t lParam) {
    // One waiting quit is enough: the close button gives both a close and SDL's own quit.
    if (message == WM_QUIT) {
        for (const WindowMessage& waiting : pending_) {
            if (waiting.message == WM_QUIT) {
                return;
            }
        }
    }
    pending_.push_back({message, wParam, lParam});
}

void GLWindow::PumpEvents() {
    if (!window_) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        HandleEvent(event);
    }
}

void GLWindow::HandleEvent(const SDL_Event& event) {
    if (overlayStarted_) {
        ImGui_ImplSDL2_ProcessEvent(&event);
    }
    switch (event.type) {
    case SDL_QUIT:
        Queue(WM_QUIT, 0, 0);
        break;
    case SDL_WINDOWEVENT:
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            // Closing the window always ends the game, whether or not SDL follows with its own quit.
            Queue(WM_CLOSE, 0, 0);
            Queue(WM_QUIT, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            Queue(WM_ACTIVATE, 1, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            Queue(WM_ACTIVATE, 0, 0);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            overlayPointer_ = false;
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            // The window manager asked to maximise: the game answers with full screen.
            if (!fullScreen_) {
                SDL_RestoreWindow(window_);
                Queue(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            }
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
        if (IsFullScreenShortcut(event.key.keysym)) {
            // F11 and Alt+Enter do what the maximise button does.
            if (!event.key.repeat) {
                Queue(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            }
        } else if (!OverlayWantsKeyboard()) {
            Queue(WM_KEYDOWN, VirtualKey(event.key.keysym.sym), 0);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (event.button.button == SDL_BUTTON_LEFT && !OverlayWantsMouse()) {
            int x = 0;
            int y = 0;
            MapToFrame(event.button.x, event.button.y, x, y);
            Queue(WM_LBUTTONDOWN, 0, (static_cast<int64_t>(y) << 16) | x);
        }
        break;
    case SDL_MOUSEMOTION:
        // The bars follow the pointer as its events tell, like the game does; the input layer reads the
        // motion itself, and queueing it would delay everything behind it.
        overlayPointer_ = true;
        overlayPointerX_ = event.motion.x;
        overlayPointerY_ = event.motion.y;
        break;
    default:
        break;
    }
}

// [SECTION] Debug bars

void GLWindow::BeginOverlayFrame() {
    if (!overlayStarted_ || overlayFrameOpen_) {
        return;
    }
    ImGui_ImplOpenGL2_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    ImGuiIO& io = ImGui::GetIO();
    if (overlayPointer_) {
        io.MousePos = ImVec2(static_cast<float>(overlayPointerX_), static_cast<float>(overlayPointerY_));
    }
    if (fullScreen_) {
        // The bars are drawn into the 800 x 600 frame like everything else.
        io.DisplaySize = ImVec2(static_cast<float>(width_), static_cast<float>(height_));
        io.DisplayFramebufferScale = ImVec2(1.0f, 1.0f);
        if (io.MousePos.x != -FLT_MAX) {
            int x = 0;
            int y = 0;
            MapToFrame(static_cast<int>(io.MousePos.x), static_cast<int>(io.MousePos.y), x, y);
            io.MousePos = ImVec2(static_cast<float>(x), static_cast<float>(y));
        }
    }
    ImGui::NewFrame();
    overlayFrameOpen_ = true;
}

void GLWindow::DrawOverlay() {
    if (!overlayFrameOpen_) {
        return;
    }
    ImGui::Render();
    // The bars are drawn by fixed function: through the game's lighting program they would be lit and dimmed.
    GLint program = 0;
    if (glUseProgram != nullptr) {
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        glUseProgram(0);
    }
    ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
    if (glUseProgram != nullptr) {
        glUseProgram(static_cast<GLuint>(program));
    }
    overlayFrameOpen_ = false;
}

void GLWindow::ShutdownOverlay() {
    if (!overlayStarted_) {
        return;
    }
    if (overlayFrameOpen_) {
        ImGui::EndFrame();
        overlayFrameOpen_ = false;
    }
    ImGui_ImplOpenGL2_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    overlayStarted_ = false;
}

bool GLWindow::OverlayWantsMouse() const {
    return overlayStarted_ && ImGui::GetIO().WantCaptureMouse;
}

bool GLWindow::OverlayWantsKeyboard() const {
    return overlayStarted_ && ImGui::GetIO().WantCaptureKeyboard;
}
