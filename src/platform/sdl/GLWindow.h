#pragma once

#include "platform/GameWindow.h"
#include "platform/Letterbox.h"
#include "platform/sdl/RenderTarget.h"

#include <cstddef>
#include <cstdint>
#include <deque>

struct SDL_Window;
union SDL_Event;

// The game's SDL window with its OpenGL compatibility context (2.1 or later, double-buffered, depth 24,
// stencil 8, no multisampling so picking reads exact colours). The client area is 800 x 600 and cannot be
// resized. Full screen is SDL's desktop full screen: the 800 x 600 frame is drawn off screen and scaled
// into the display with its aspect kept, and mouse positions are mapped back into the frame. Dear ImGui
// (the debug bars) sees every event first; events it captures do not become window messages.
class GLWindow : public GameWindow {
public:
    GLWindow() = default;
    // The window and context live until the process ends; only a failed creation releases them.
    ~GLWindow() override = default;
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    // Creates the window with the title, client size and colour bits; shows an "ERROR" box and releases
    // what was made when a step fails.
    bool CreateGLWindow(const char* title, int width, int height, int bits);
    // Releases the context and window (after a failed creation, or by tests).
    void Release();

    bool Open() override;
    bool IsOpen() const override { return context_ != nullptr; }
    void SetProjection() override;
    void Swap() override;
    void ToggleFullScreen() override;
    bool IsFullScreen() const override { return fullScreen_; }
    bool PeekMessage(WindowMessage& message) override;
    void PostQuitMessage() override;
    void MapToFrame(int windowX, int windowY, int& frameX, int& frameY) const override;

    void BeginOverlayFrame() override;
    void DrawOverlay() override;
    void ShutdownOverlay() override;
    bool OverlayWantsMouse() const override;
    bool OverlayWantsKeyboard() const override;

    // Turns one SDL event into waiting window messages (after the debug bars saw it).
    void HandleEvent(const SDL_Event& event);
    // Number of window messages waiting.
    size_t PendingMessages() const { return pending_.size(); }

    SDL_Window* sdlWindow() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void PumpEvents();
    void Queue(uint32_t message, uint64_t wParam, int64_t lParam);
    bool CreateFrameTarget();
    void BindFrameTarget();
    void PresentFrameTarget();
    FrameRect FullScreenBox() const;

    bool fullScreen_ = false;
    int width_ = kFrameWidth;
    int height_ = kFrameHeight;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;

    std::deque<WindowMessage> pending_;
    bool overlayStarted_ = false;
    bool overlayFrameOpen_ = false;
    // Where the last pointer event put the pointer, until it leaves the window.
    bool overlayPointer_ = false;
    int overlayPointerX_ = 0;
    int overlayPointerY_ = 0;

    // Off-screen 800 x 600 frame used in full screen.
    RenderTarget frameTarget_;
};
