#include "core/GameContext.h"
#include "core/MainLoop.h"
#include "platform/CrashDump.h"
#include "platform/HighResTimer.h"
#include "platform/Paths.h"
#include "platform/sdl/SdlPlatform.h"

#include <cstdio>
#include <cstdlib>

int main() {
    // An installed game runs in its data folder and keeps what it writes in the player's data folder.
    const StartFolders folders = ChooseStartFolders(ProgramPath(), DataFolder());
    std::string error;
    if (!EnterStartFolders(folders, error)) {
        std::fprintf(stderr, "Could not enter the game's folder %s: %s\n", folders.workingFolder.c_str(),
                     error.c_str());
    }
    if (!folders.userFolder.empty()) {
        SetCrashDumpFolder(folders.userFolder);
    }
    InstallCrashHandler();
    UseSdlTimeSource();
    InstallSdlDialogHook();
    // Milliseconds since the machine started, so every run plays out differently.
    std::srand(SystemTimeSource().TickCount());
    InstallGameInput();
    return RunMainLoop();
}
