#include "platform/sdl/SdlPlatform.h"

#include "platform/Dialog.h"
#include "platform/HighResTimer.h"

#include <SDL.h>

#include <cstdlib>

namespace {

class SdlTimeSource : public TimeSource {
public:
    SdlTimeSource() { SDL_InitSubSystem(SDL_INIT_TIMER); }

    bool Counter(int64_t& ticks) override {
        ticks = static_cast<int64_t>(SDL_GetPerformanceCounter());
        return true;
    }
    int64_t CounterFrequency() override { return static_cast<int64_t>(SDL_GetPerformanceFrequency()); }
    uint32_t TickCount() override { return SDL_GetTicks(); }
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

DialogAnswer SdlDialog(const DialogRequest& request) {
    if (!HasDisplay()) {
        return ConsoleDialog(request);
    }
    SDL_MessageBoxData box{};
    SDL_MessageBoxButtonData buttons[3]{};
    FillMessageBox(request, box, buttons);
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0 || pressed < 0) {
        // The box could not be shown or was closed without a button: answer as the console would.
        return ConsoleDialog(request);
    }
    return static_cast<DialogAnswer>(pressed);
}

} // namespace

void UseSdlTimeSource() {
    // Never destroyed: the timer still reads the clock while static objects are torn down.
    static SdlTimeSource* source = new SdlTimeSource;
    UseTimeSource(source);
}

void FillMessageBox(const DialogRequest& request, SDL_MessageBoxData& box,
                    SDL_MessageBoxButtonData* buttons) {
    box = SDL_MessageBoxData{};
    box.title = request.caption.c_str();
    box.message = request.text.c_str();
    box.window = SDL_GL_GetCurrentWindow();
    if (request.kind == DialogKind::Assertion) {
        box.flags = SDL_MESSAGEBOX_ERROR;
        buttons[0] = {0, static_cast<int>(DialogAnswer::Abort), "Abort"};
        buttons[1] = {0, static_cast<int>(DialogAnswer::Retry), "Retry"};
        buttons[2] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                      static_cast<int>(DialogAnswer::Ignore), "Ignore"};
        box.numbuttons = 3;
    } else if (request.kind == DialogKind::Question) {
        box.flags = SDL_MESSAGEBOX_INFORMATION;
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, static_cast<int>(DialogAnswer::Yes), "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, static_cast<int>(DialogAnswer::No), "No"};
        box.numbuttons = 2;
    } else {
        box.flags = request.caption == "ERROR" ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_ERROR;
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                      static_cast<int>(DialogAnswer::Ok), "OK"};
        box.numbuttons = 1;
    }
    box.buttons = buttons;
}

void InstallSdlDialogHook() {
    SetDialogHook(SdlDialog);
}
