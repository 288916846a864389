#pragma once

#include <string>
#include <vector>

// One button of a layout file, as far as the pictures need it.
struct LayoutButton {
    int xPos = 0, yPos = 0, xSize = 0, ySize = 0;
    int function = 0, data = 0, tex = 0, MOtex = 0;
    // The label the game prints over the button, with its offset and colour.
    std::string text;
    int textX = 0, textY = 0, r = 0, g = 0, b = 0;
};

// Reads the buttons of a layout file; false (with a message) when the file is missing or not a hud document.
bool ReadLayout(const std::string& path, std::vector<LayoutButton>& buttons);

// The first button with the given function and data, or null.
const LayoutButton* FindButton(const std::vector<LayoutButton>& buttons, int function, int data);
