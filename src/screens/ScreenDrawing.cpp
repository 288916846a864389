#include "screens/ScreenDrawing.h"

#include "core/GameContext.h"
#include "platform/sdl/Texture.h"

#include <GL/gl.h>
#include <algorithm>

void DrawSlot(int32_t slot, int32_t x, int32_t y, int32_t width, int32_t height, bool blend) {
    Renderer& renderer = GameContext::Get().renderer;
    if (slot < 0 || size_t(slot) >= renderer.textures.size() || width <= 0 || height <= 0) {
        return;
    }
    DrawTexturedRect(renderer.textures[size_t(slot)], uint32_t(std::max(x, 0)), uint32_t(std::max(y, 0)),
                     uint32_t(width), uint32_t(height), blend);
}

void DrawScreenPicture(int32_t slot, bool blend) {
    DrawSlot(slot, 0, 0, 800, 600, blend);
}

void PrintTexts(const std::vector<ScreenText>& texts, float r, float g, float b) {
    if (texts.empty()) {
        return;
    }
    Renderer& renderer = GameContext::Get().renderer;
    renderer.Begin2D();
    glColor3f(r, g, b);
    for (const ScreenText& text : texts) {
        glRasterPos2i(text.x, text.y);
        renderer.font.Print("%s", text.text.c_str());
    }
    glColor3f(1.0f, 1.0f, 1.0f);
    renderer.End2D();
}
