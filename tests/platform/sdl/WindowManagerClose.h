#pragma once

struct SDL_Window;

// Asks the window to close the way a window manager's close button does (WM_DELETE_WINDOW on X11);
// false when the window is not an X11 window.
bool PressCloseButton(SDL_Window* window);
