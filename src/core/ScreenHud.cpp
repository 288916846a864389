#include "core/ScreenHud.h"

#include "core/GameContext.h"
#include "platform/sdl/Texture.h"

#include <GL/gl.h>

void LoadScreenLayout(const char* fileName) {
    GameContext::Get().hud.LoadHud(fileName);
}

void DrawScreenHud() {
    GameContext& game = GameContext::Get();
    Renderer& renderer = game.renderer;
    for (const HudButton& button : game.hud.buttons()) {
        const uint32_t slot = button.mouseOver ? button.MOtex : button.tex;
        const uint32_t texture = slot < textureSlotCount ? renderer.textures[slot] : 0;
        if (texture != 0) {
            DrawTexturedRect(texture, button.xPos, button.yPos, button.xSize, button.ySize, true);
        }
        if (!button.text.empty()) {
            glColor3ub(GLubyte(button.r), GLubyte(button.g), GLubyte(button.b));
            renderer.Begin2D();
            glRasterPos2i(int(button.xPos + button.textX), int(button.yPos + button.textY));
            renderer.font.Print("%s", button.text.c_str());
            renderer.End2D();
            glColor3f(1.0f, 1.0f, 1.0f);
        }
    }
}
