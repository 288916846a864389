#include "core/ScreenHud.h"

#include "core/GameContext.h"
#include "hud/gl/HudDrawing.h"

void LoadScreenLayout(const char* fileName) {
    GameContext::Get().hud.LoadHud(fileName);
}

void DrawScreenHud() {
    GameContext& game = GameContext::Get();
    DrawHud(game.hud, game.renderer, false);
}
