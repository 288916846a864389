#include "core/GameContext.h"

#include "combat/gl/CombatState.h"
#include "core/Screens.h"
#include "hud/MessageDispatcher.h"
#include "platform/sdl/GLWindow.h"
#include "screens/BuildScreen.h"
#include "screens/WorldMap.h"

GameContext& GameContext::Get() {
    // The dispatcher must exist before the context: receivers owned by the context unregister from it
    // when the context is destroyed.
    MessageDispatcher::Instance();
    static GameContext context;
    return context;
}

GameContext::GameContext() : window_(std::make_unique<GLWindow>()) {
    lastMessage.message = 0;
    board = nullptr;
    FillStateTable();
    campaign = nullptr;
}

GameContext::~GameContext() = default;

void GameContext::FillStateTable() {
    stateTable.SetRow(kBootState, {nullptr, BootUpdate, nullptr});
    stateTable.SetRow(kLogoState, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kTeamLogoState, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kHowToPlay1State, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kHowToPlay2State, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kHowToPlay3State, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kMainMenuState, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kOptionsState, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kCreditsState, {nullptr, nullptr, nullptr});
    stateTable.SetRow(kWorldMapState, {WorldMapEnter, WorldMapUpdate, WorldMapExit});
    stateTable.SetRow(kBuildState, {BuildEnter, BuildUpdate, BuildExit});
    stateTable.SetRow(kSquadState, {SquadEnter, SquadUpdate, SquadExit});
    stateTable.SetRow(kCombatState, {CombatEnter, CombatUpdate, CombatExit});
    stateTable.SetRow(kQuitState, {nullptr, nullptr, nullptr});
}
