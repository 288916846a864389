#include "core/GameContext.h"
#include "core/Screens.h"

void BootUpdate() {
    GameContext& game = GameContext::Get();
    game.window().Open();
    game.ChangeState(kLogoState);
}
