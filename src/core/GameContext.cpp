#include "core/GameContext.h"

#include "combat/gl/CombatState.h"
#include "core/Boot.h"
#include "core/MainLoop.h"
#include "core/Screens.h"
#include "data/Component.h"
#include "data/Unit.h"
#include "hud/MessageDispatcher.h"
#include "platform/sdl/GLWindow.h"
#include "platform/sdl/InputDevices.h"
#include "render/gl/ModelDrawing.h"
#include "screens/BuildScreen.h"
#include "screens/WorldMap.h"

#include <utility>

GameContext& GameContext::Get() {
    // The dispatcher must exist before the context: receivers owned by the context unregister from it
    // when the context is destroyed.
    MessageDispatcher::Instance();
    static GameContext context;
    return context;
}

namespace {

// Screens whose buttons the mouse works: all but the boot, the logos and the battle.
bool PointerScreen(GameState state) {
    return state != kBootState && state != kLogoState && state != kTeamLogoState && state != kCombatState;
}

} // namespace

GameContext::GameContext()
    : window_(std::make_unique<GLWindow>()),
      hudPointer(
          hud,
          [this](int32_t& x, int32_t& y) {
              int fx = 0;
              int fy = 0;
              const bool inside = input_ != nullptr && input_->CursorPosition(fx, fy);
              x = fx;
              y = fy;
              return inside;
          },
          [this] { return PointerScreen(currentState()); }) {
    renderer.UseWindow(window_.get());
    level.SetPickIds(&levelPickIds);
    hud.SetPickColours(&pickColours);
    hud.hooks().changeState = [this](int32_t state) { ChangeState(state); };
    hud.hooks().playHoverSound = [this] {
        static int32_t hover = -2;
        if (hover == -2) {
            hover = sound.LoadSound(HoverSound, false, false);
        }
        sound.PlaySound(hover);
    };
    lastMessage.message = 0;
    board = nullptr;
    FillStateTable();
    particles_ = std::make_unique<ParticlePool>();
    campaign = nullptr;
    // A core loaded from a unit file gets its model, its skin and the unit's pick colour.
    // The colour a core had goes back first: each core holds exactly one.
    SetCoreVisualHook([this](Component& core, int32_t skin) {
        PrepareCoreModel(core, skin, renderer);
        ReleasePickColourOf(std::exchange(core.pickColour, 0u));
        core.pickColour = uint32_t(pickColours.NewPickColour());
    });
    SetPickColourReleaser([this](uint32_t colour) { pickColours.ReleasePickColour(int32_t(colour)); });
}

GameContext::~GameContext() {
    // A boot cut short by quitting during the first logo stops loading; its decoding thread ends.
    bootLoader.reset();
    SetCoreVisualHook(nullptr);
    campaign.reset();
    SetPickColourReleaser(nullptr);
    input_.reset();
    particles_.reset();
}

InputDevices& GameContext::CreateInput() {
    if (!input_) {
        input_ = std::make_unique<InputDevices>(
            [](int32_t type, int32_t value) {
                Message message;
                message.type = type;
                message.value = value;
                MessageDispatcher::Instance().Send(message);
            },
            window_.get());
    }
    return *input_;
}

void GameContext::FillStateTable() {
    stateTable.SetRow(kBootState, {nullptr, BootUpdate, nullptr});
    stateTable.SetRow(kLogoState, {LogoEnter, LogoUpdate, nullptr});
    stateTable.SetRow(kTeamLogoState, {LogoEnter, TeamLogoUpdate, nullptr});
    stateTable.SetRow(kHowToPlay1State, {HowToPlay1Enter, HowToPlay1Update, nullptr});
    stateTable.SetRow(kHowToPlay2State, {HowToPlay2Enter, HowToPlay2Update, nullptr});
    stateTable.SetRow(kHowToPlay3State, {HowToPlay3Enter, HowToPlay3Update, nullptr});
    stateTable.SetRow(kMainMenuState, {MenuEnter, MenuUpdate, MenuExit});
    stateTable.SetRow(kOptionsState, {OptionsEnter, OptionsUpdate, OptionsExit});
    stateTable.SetRow(kCreditsState, {CreditsEnter, CreditsUpdate, CreditsExit});
    stateTable.SetRow(kWorldMapState, {WorldMapEnter, WorldMapUpdate, WorldMapExit});
    stateTable.SetRow(kBuildState, {BuildEnter, BuildUpdate, BuildExit});
    stateTable.SetRow(kSquadState, {SquadEnter, SquadUpdate, SquadExit});
    stateTable.SetRow(kCombatState, {CombatEnter, CombatUpdate, CombatExit});
    stateTable.SetRow(kQuitState, {nullptr, QuitUpdate, nullptr});
}

void InstallGameInput() {
    SetInputHooks(
        [] {
            if (InputDevices* input = GameContext::Get().input()) {
                input->Update();
            }
        },
        [](bool active) {
            if (InputDevices* input = GameContext::Get().input()) {
                input->SetActive(active);
            }
        });
}
