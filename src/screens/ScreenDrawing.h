#pragma once

#include "screens/SquadBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

// Drawing shared by the campaign screens, through the game context's renderer.

// Draws a screen-texture slot over the whole 800 x 600 layout.
void DrawScreenPicture(int32_t slot, bool blend = false);
// Draws a screen-texture slot as a rectangle of the layout; a slot outside the table draws nothing.
void DrawSlot(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height, bool blend);
// Prints texts at their raster positions in layout pixels, in the given colour.
void PrintTexts(const std::vector<ScreenText>& texts, float r = 1.0f, float g = 1.0f, float b = 1.0f);
