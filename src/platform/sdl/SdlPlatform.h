#pragma once

// Connects the window-free platform services to SDL: the clock and the message boxes.

#include <SDL_messagebox.h>

struct DialogRequest;

// Makes SDL's performance counter, tick count and delay the game's clock.
void UseSdlTimeSource();

// Routes every message box through SDL_ShowMessageBox; without a display boxes stay on standard error.
void InstallSdlDialogHook();

// Fills the SDL box for a request: its caption, text, icon and buttons (OK, or Abort / Retry / Ignore);
// buttons must hold three entries. Button ids are DialogAnswer values.
void FillMessageBox(const DialogRequest& request, SDL_MessageBoxData& box, SDL_MessageBoxButtonData* buttons);
