#pragma once

// The front-end screens' use of the button layout.

// Makes the layout file the current button layout.
void LoadScreenLayout(const char* fileName);
// Draws the current button layout over the screen.
void DrawScreenHud();
