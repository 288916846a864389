#include "hud/gl/HudDrawing.h"

#include "combat/LevelMap.h"
#include "data/Component.h"
#include "data/Unit.h"
#include "hud/HudLayout.h"
#include "platform/sdl/RenderTarget.h"
#include "platform/sdl/Texture.h"
#include "render/gl/Renderer.h"

#include <GL/glew.h>
#include <SDL.h>

namespace {

// The off-screen target of the pick pass, made on first use at the viewport's size.
struct PickTarget {
    RenderTarget target;
    bool unavailable = false;

    // Binds the target (making or remaking it at the size); false when the GL has no framebuffer objects.
    bool Bind(GLint w, GLint h) {
        if (unavailable || !target.Make(w, h)) {
            unavailable = true;
            return false;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer());
        return true;
    }
};

PickTarget& pickTarget() {
    // Kept until the process ends: freeing it at exit could outlive the GL.
    static PickTarget* target = new PickTarget();
    return *target;
}

} // namespace

void InstallHudTextureHooks(HudLayout& layout) {
    layout.hooks().makePickTexture = [](const std::string& image, int32_t colour) {
        return static_cast<int32_t>(LoadColourKeyTexture(image, colour));
    };
    layout.hooks().releasePickTexture = [](int32_t texture) {
        // Without a context (the game is closing) there is nothing left to free.
        if (texture > 0 && SDL_GL_GetCurrentContext() != nullptr) {
            const GLuint name = static_cast<GLuint>(texture);
            glDeleteTextures(1, &name);
        }
    };
}

uint32_t TextureOfSlot(const Renderer& renderer, uint32_t slot) {
    return slot < renderer.textures.size() ? renderer.textures[slot] : 0;
}

void DrawHud(const HudLayout& layout, Renderer& renderer, bool pickPass) {
    for (const HudButton& button : layout.buttons()) {
        if (pickPass) {
            if (button.pickTexture > 0) {
                glDisable(GL_DEPTH_TEST);
                DrawTexturedRect(static_cast<uint32_t>(button.pickTexture), button.xPos, button.yPos,
                                 button.xSize, button.ySize, true);
            }
            continue;
        }
        const uint32_t texture = TextureOfSlot(renderer, button.mouseOver ? button.MOtex : button.tex);
        if (texture != 0) {
            DrawTexturedRect(texture, button.xPos, button.yPos, button.xSize, button.ySize, true);
        }
        if (!button.text.empty()) {
            glColor3ub(static_cast<GLubyte>(button.r), static_cast<GLubyte>(button.g),
                       static_cast<GLubyte>(button.b));
            renderer.Begin2D();
            glRasterPos2i(static_cast<GLint>(button.xPos + button.textX),
                          static_cast<GLint>(button.yPos + button.textY));
            renderer.font.Print("%s", button.text.c_str());
            renderer.End2D();
            glColor3f(1.0f, 1.0f, 1.0f);
        }
    }
}

int32_t ReadPickPixel(int32_t x, int32_t y) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (x < 0 || y < 0 || x >= viewport[2] || y >= viewport[3]) {
        return 0;
    }
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewport[0] + x, viewport[1] + viewport[3] - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] * 1000000 + rgb[1] * 1000 + rgb[2];
}

PickedObject PickObject(Renderer& renderer, HudLayout& layout, const PickScene& scene, int32_t x, int32_t y) {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint previousDraw = 0;
    GLint previousRead = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &previousDraw);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previousRead);
    GLfloat clear[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);

    // The pass draws at the viewport's size into its own target, at the origin.
    const bool offScreen = pickTarget().Bind(viewport[0] + viewport[2], viewport[1] + viewport[3]);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    // Only the pixel under the cursor is read back, so only that pixel is cleared and drawn.
    const bool inside = x >= 0 && y >= 0 && x < viewport[2] && y < viewport[3];
    if (inside) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport[0] + x, viewport[1] + viewport[3] - 1 - y, 1, 1);
    }
    renderer.ClearFrame();
    glDisable(GL_BLEND);
    glDisable(GL_DITHER);
    if (scene.drawWorld) {
        renderer.ApplyCamera();
        glEnable(GL_DEPTH_TEST);
        renderer.SetLightingMode(Flat);
        scene.drawWorld();
    }
    renderer.SetLightingMode(Flat);
    DrawHud(layout, renderer, true);
    glEnable(GL_DITHER);
    renderer.SetLightingMode(Lit);
    const int32_t id = ReadPickPixel(x, y);
    glDisable(GL_SCISSOR_TEST);

    if (offScreen) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(previousDraw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previousRead));
    }
    glClearColor(clear[0], clear[1], clear[2], clear[3]);

    PickedObject result;
    result.id = id;
    if (id == 0) {
        return result;
    }
    if (HudButton* button = layout.FindByPickColour(id)) {
        result.kind = PickKind::HudButton;
        result.button = button;
        return result;
    }
    if (scene.units != nullptr) {
        for (Unit* unit : *scene.units) {
            if (unit != nullptr && unit->core != nullptr &&
                static_cast<int32_t>(unit->core->pickColour) == id) {
                result.kind = PickKind::Unit;
                result.unit = unit;
                return result;
            }
        }
    }
    if (scene.map != nullptr) {
        if (MapTile* tile = scene.map->TileByPickId(id)) {
            result.kind = PickKind::MapTile;
            result.tile = tile;
        }
    }
    return result;
}
