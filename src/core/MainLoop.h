#pragma once

#include "platform/GameWindow.h"

// The frame loop: each frame takes at most one window message, reads input, lets the dispatcher deliver,
// runs the current screen's update, draws the debug bars, swaps and sleeps the rest of 16.666666 ms.

class GameContext;

// Reads the input devices once a frame and turns them into messages; empty until input is connected.
using InputReader = void (*)();
// Switches input reading on (window activated) or off (deactivated).
using InputActivation = void (*)(bool active);

// Connects the input devices to the loop.
void SetInputHooks(InputReader read, InputActivation activate);

// Handles one window message: close posts quit, activation switches input, maximise toggles full screen;
// minimise, screen-saver and monitor power-down commands are swallowed.
void WindowProcedure(GameContext& game, const WindowMessage& message);

// Runs one frame; false when the loop has ended (the last message was quit or close) and nothing ran.
bool RunFrame();

// Milliseconds of work of the last frame that ran, from taking its message to the buffer swap; the sleep
// that paces the frame is left out.
float LastFrameWorkMilliseconds();

// Runs frames until the window is closed or the game quits; returns the process exit status.
int RunMainLoop();
