#include "core/GameContext.h"
#include "core/MainLoop.h"
#include "platform/CrashDump.h"
#include "platform/HighResTimer.h"
#include "platform/sdl/SdlPlatform.h"

#include <cstdlib>

int main() {
    InstallCrashHandler();
    UseSdlTimeSource();
    InstallSdlDialogHook();
    // Milliseconds since the machine started, so every run plays out differently.
    std::srand(SystemTimeSource().TickCount());
    InstallGameInput();
    return RunMainLoop();
}
