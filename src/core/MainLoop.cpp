#include "core/MainLoop.h"

#include "core/GameContext.h"
#include "hud/MessageDispatcher.h"
#include "hud/gl/HudEditor.h"
#include "platform/FramePacing.h"
#include "platform/HighResTimer.h"

namespace {

InputReader inputReader = nullptr;
InputActivation inputActivation = nullptr;
float lastFrameWork = 0.0f;

} // namespace

void SetInputHooks(InputReader read, InputActivation activate) {
    inputReader = read;
    inputActivation = activate;
}

void WindowProcedure(GameContext& game, const WindowMessage& message) {
    switch (message.message) {
    case WM_CLOSE:
        game.window().PostQuitMessage();
        break;
    case WM_ACTIVATE:
        if (inputActivation) {
            inputActivation(message.wParam != 0);
        }
        break;
    case WM_SYSCOMMAND:
        if (message.wParam == SC_MAXIMIZE) {
            game.window().ToggleFullScreen();
        }
        break;
    default:
        break;
    }
}

bool RunFrame() {
    GameContext& game = GameContext::Get();
    if (game.lastMessage.message == WM_QUIT || game.lastMessage.message == WM_CLOSE) {
        game.window().ShutdownOverlay();
        return false;
    }
    HighResTimer& timer = HighResTimer::Get();
    const int64_t frameStart = timer.Elapsed();

    GameWindow& window = game.window();
    if (window.PeekMessage(game.lastMessage)) {
        WindowProcedure(game, game.lastMessage);
    }
    window.BeginOverlayFrame();
    if (inputReader) {
        inputReader();
    }
    MessageDispatcher::Instance().Update();
    game.stateTable.UpdateCurrent();
    KeepSettings(game);
    // Every screen's layout can be edited; the editor draws nothing while it is closed.
    DrawHudEditor(game.hud);
    // The update may have opened the window or replaced it.
    game.window().DrawOverlay();
    game.window().Swap();

    const int64_t frameEnd = timer.Elapsed();
    lastFrameWork = FrameMilliseconds(frameEnd - frameStart, timer.Frequency);
    const uint32_t sleep = FrameSleepMilliseconds(lastFrameWork);
    if (sleep > 0) {
        Sleep(sleep);
    }
    return true;
}

float LastFrameWorkMilliseconds() {
    return lastFrameWork;
}

int RunMainLoop() {
    while (RunFrame()) {
    }
    return 0;
}
