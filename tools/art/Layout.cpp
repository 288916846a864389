#include "Layout.h"

#include "hud/HudLayout.h"

bool ReadLayout(const std::string& path, std::vector<LayoutButton>& buttons) {
    // The game's own reader, so the pictures place their labels exactly where the game puts the buttons.
    HudLayout layout;
    if (!layout.LoadHud(path)) {
        return false;
    }
    for (const HudButton& button : layout.buttons()) {
        LayoutButton b;
        b.xPos = int(button.xPos);
        b.yPos = int(button.yPos);
        b.xSize = int(button.xSize);
        b.ySize = int(button.ySize);
        b.function = button.function;
        b.data = button.data;
        b.tex = int(button.tex);
        b.MOtex = int(button.MOtex);
        b.text = button.text;
        b.textX = int(button.textX);
        b.textY = int(button.textY);
        b.r = int(button.r);
        b.g = int(button.g);
        b.b = int(button.b);
        buttons.push_back(b);
    }
    return true;
}

const LayoutButton* FindButton(const std::vector<LayoutButton>& buttons, int function, int data) {
    for (const LayoutButton& b : buttons) {
        if (b.function == function && b.data == data) {
            return &b;
        }
    }
    return nullptr;
}
