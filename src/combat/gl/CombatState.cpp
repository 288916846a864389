#include "combat/gl/CombatState.h"

#include "combat/BattleSimulation.h"
#include "combat/LevelEditor.h"
#include "combat/gl/BattleView.h"
#include "combat/gl/PickingMessage.h"
#include "core/GameContext.h"
#include "core/ScreenHud.h"
#include "core/Screens.h"
#include "platform/HighResTimer.h"
#include "platform/sdl/InputDevices.h"
#include "platform/sdl/Texture.h"
#include "screens/MissionChoice.h"

#include <GL/glew.h>

#include <map>
#include <string>
#include <unordered_set>

namespace {

// The game's high-resolution timer as the battle's clock.
class GameClock final : public CombatClock {
public:
    int64_t Elapsed() const override { return HighResTimer::Get().Elapsed(); }
    int64_t Frequency() const override {
        const int64_t frequency = HighResTimer::Get().Frequency;
        return frequency > 0 ? frequency : 1000;
    }
};

// True when the army has at least one mech to send into battle.
bool HasMech(const Army* army) {
    if (army == nullptr) {
        return false;
    }
    for (const auto& unit : army->squad) {
        if (unit != nullptr && unit->core != nullptr) {
            return true;
        }
    }
    return false;
}

// Everything the combat screen owns, made on first use.
struct CombatSession {
    explicit CombatSession(GameContext& context)
        : game(context), view(context.renderer, context.particles()),
          screen(context.level, context.pathfinder, context.renderer.camera, view, random, clock),
          editor(screen) {
        view.SetScreen(&screen);
        picking.screen = &screen;
        picking.view = &view;
        picking.hud = &context.hud;
        picking.editor = &editor;
        picking.cursor = [this](int32_t& x, int32_t& y) {
            InputDevices* input = game.input();
            int cx = 0;
            int cy = 0;
            if (input == nullptr || !input->CursorPosition(cx, cy)) {
                return false;
            }
            x = cx;
            y = cy;
            return true;
        };
        picking.setPauseReceiver = [this](bool on) { pause.active = on; };
        pause.screen = &screen;
        view.drawHud = [this](bool pickPass) { drawLayout(pickPass); };
        view.loadHud = [this](const std::string& path) { game.hud.LoadHud(path); };
        view.postKeyDown = [](int32_t code) {
            Message message;
            message.type = KeyDown;
            message.value = code;
            MessageDispatcher::Instance().Send(message);
        };
        view.playSound = [this](const std::string& path, bool stream, bool looping) {
            game.sound.PlaySound(soundId(path, stream, looping));
        };
        view.stopSound = [this](const std::string& path) {
            auto found = sounds.find(path);
            if (found != sounds.end()) {
                game.sound.StopSound(found->second);
            }
        };
        view.showOptions = [](bool shown) { OptionsMessage::Get().active = shown; };
        view.drawOptions = [] { OptionsUpdate(); };
    }

    int32_t soundId(const std::string& path, bool stream, bool looping) {
        auto found = sounds.find(path);
        if (found == sounds.end()) {
            found = sounds.emplace(path, game.sound.LoadSound(path, stream, looping)).first;
        }
        return found->second;
    }

    // The current layout; in the pick pass every button as a plate of its pick colour.
    void drawLayout(bool pickPass) {
        if (!pickPass) {
            DrawScreenHud();
            return;
        }
        view.DrawLayoutPickPlates(game.hud);
    }

    // Units whose cores have no pick colour, or share one, get a fresh colour.
    void givePickColours() {
        std::unordered_set<uint32_t> seen;
        for (Unit* unit : screen.turnQueue) {
            if (unit->core == nullptr) {
                continue;
            }
            uint32_t& colour = unit->core->pickColour;
            if (colour == 0 || seen.count(colour) != 0 ||
                screen.map.TileByPickId(static_cast<int32_t>(colour))) {
                colour = static_cast<uint32_t>(game.pickColours.NewPickColour());
            }
            seen.insert(colour);
        }
    }

    // Loads the mission the world map chose (or, when none was chosen and no battle is set up, the first
    // one) with the player's squad. A mission that cannot be read is not fought: the battle goes back to the
    // world map with nothing at stake.
    void loadMission() {
        if (screen.active) {
            return;
        }
        std::string mission = ChosenMission();
        if (mission.empty()) {
            if (!screen.turnQueue.empty() || game.missionFiles.empty()) {
                return;
            }
            mission = game.missionFiles.front();
        }
        const Army* squad = game.campaign != nullptr ? &game.campaign->army() : nullptr;
        if (!HasMech(squad)) {
            // A player who has not built a mech yet fights with the starter squad rather than losing at once.
            if (!HasMech(&starterSquad)) {
                BuildSquad(starterSquad, {});
            }
            squad = &starterSquad;
        }
        loadFailed = !screen.LoadMission(mission, squad) || screen.turnQueue.empty();
        if (loadFailed) {
            screen.mission = MissionData();
        }
    }

    GameContext& game;
    CRandom random;
    GameClock clock;
    BattleView view;
    CombatScreen screen;
    LevelEditor editor;
    PickingMessage picking;
    PauseMessage pause;
    std::map<std::string, int32_t> sounds;
    bool loadFailed = false;
    Army starterSquad;
};

CombatSession& Session() {
    static CombatSession session(GameContext::Get());
    return session;
}

} // namespace

CombatScreen& GetCombatScreen() {
    return Session().screen;
}

BattleView& GetBattleView() {
    return Session().view;
}

LevelEditor& GetLevelEditor() {
    return Session().editor;
}

PickingMessage& GetPickingMessage() {
    return Session().picking;
}

PauseMessage& GetPauseMessage() {
    return Session().pause;
}

void LeaveCombatPause() {
    CombatSession& session = Session();
    if (session.screen.paused) {
        if (session.screen.optionsShown) {
            session.screen.optionsShown = false;
            OptionsMessage::Get().active = false;
        }
        session.screen.paused = false;
    }
    session.pause.active = false;
}

void CombatEnter() {
    CombatSession& session = Session();
    GameContext& game = session.game;
    if (!game.hud.hooks().leavePause) {
        game.hud.hooks().leavePause = [] { LeaveCombatPause(); };
    }
    session.loadMission();
    session.view.Prepare(game.level);
    session.view.PrepareUnits(session.screen);
    session.givePickColours();
    session.pause.active = false;
    session.screen.Enter();
    // The summary page shows the standings as they were when the battle began.
    if (game.campaign && !session.screen.record.hasStandings) {
        session.screen.record.hasStandings = true;
        session.screen.record.standingsBefore = game.campaign->standings;
    }
    session.editor.BattleSetUp();
}

void CombatUpdate() {
    CombatSession& session = Session();
    if (session.loadFailed) {
        session.loadFailed = false;
        session.game.ChangeState(kWorldMapState);
        return;
    }
    DrawCombatBars();
    // The options may change between battles or from the pause menu; they apply from the next action on.
    const OpponentSettings& opponent = GameOpponentSettings();
    session.screen.opponentRules = opponent.rules;
    session.screen.aiActionMilliseconds = opponent.aiActionMilliseconds;
    session.screen.Update(session.picking.FrameInput());
}

void CombatExit() {
    CombatSession& session = Session();
    if (session.screen.optionsShown) {
        OptionsMessage::Get().active = false;
    }
    session.screen.paused = false;
    session.screen.optionsShown = false;
    session.pause.active = false;
    session.editor.CloseAll();
    session.screen.Exit(session.game.campaign.get());
}
