#pragma once

#include "platform/GameWindow.h"

#include <deque>
#include <string>
#include <vector>

// A window without a display: records what the loop asks of it and hands out queued messages.
class FakeWindow : public GameWindow {
public:
    bool Open() override {
        events.push_back("open");
        open = true;
        return true;
    }
    bool IsOpen() const override { return open; }
    void SetProjection() override {}
    void Swap() override { events.push_back("swap"); }
    void ToggleFullScreen() override {
        events.push_back("toggle");
        fullScreen = !fullScreen;
    }
    bool IsFullScreen() const override { return fullScreen; }
    bool PeekMessage(WindowMessage& message) override {
        if (queue.empty()) {
            return false;
        }
        message = queue.front();
        queue.pop_front();
        return true;
    }
    void PostQuitMessage() override { queue.push_back({WM_QUIT, 0, 0}); }
    void MapToFrame(int windowX, int windowY, int& frameX, int& frameY) const override {
        frameX = windowX;
        frameY = windowY;
    }
    void BeginOverlayFrame() override { events.push_back("overlay begin"); }
    void DrawOverlay() override { events.push_back("overlay draw"); }
    void ShutdownOverlay() override { events.push_back("overlay shutdown"); }
    bool OverlayWantsMouse() const override { return false; }
    bool OverlayWantsKeyboard() const override { return false; }

    bool open = false;
    bool fullScreen = false;
    std::deque<WindowMessage> queue;
    std::vector<std::string> events;
};
