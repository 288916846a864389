#include "screens/WorldMap.h"

#include "core/GameContext.h"
#include "core/ScreenHud.h"
#include "screens/MissionChoice.h"
#include "screens/MissionMarkers.h"
#include "screens/ScreenDrawing.h"

namespace {

constexpr int32_t kWorldMapSlot = 11;
constexpr int32_t kEmptyBarSlot = 26;
constexpr int32_t kLifeBarSlot = 27;
constexpr int32_t kFirstFactionIconSlot = 76;

// Appends one marker button per readable mission file after the layout's own buttons.
void AddMissionMarkers(GameContext& game) {
    for (const MissionMarker& marker : MissionMarkers(game.missionFiles)) {
        HudButton button;
        button.xPos = uint32_t(std::max(marker.x, 0));
        button.yPos = uint32_t(std::max(marker.y, 0));
        button.xSize = kMarkerSize;
        button.ySize = kMarkerSize;
        button.tex = kMarkerTexture;
        button.MOtex = kMarkerMouseOverTexture;
        button.function = int32_t(ButtonFunction::Message);
        button.data = marker.missionIndex;
        game.hud.AddButton(button);
    }
}

} // namespace

// [SECTION] Receiver

MapMessage& MapMessage::Get() {
    static MapMessage receiver;
    return receiver;
}

MapMessage::MapMessage() {
    Subscribe(HudMessage);
}

void MapMessage::ProcessMessages() {
    DrainInbox([this](const Message& message) {
        if (!active || message.type != HudMessage) {
            return;
        }
        GameContext& game = GameContext::Get();
        const int32_t index = MissionIndexOf(message.value, game.missionFiles.size());
        if (index < 0) {
            return;
        }
        ChooseMission(game.missionFiles[size_t(index)]);
        game.ChangeState(kCombatState);
    });
}

// [SECTION] Screen

void WorldMapEnter() {
    GameContext& game = GameContext::Get();
    if (game.worldMapMusic < 0) {
        game.worldMapMusic = game.sound.LoadSound(kWorldMapMusic, true, true);
    }
    game.sound.PlaySound(game.worldMapMusic);
    game.hud.LoadHud(kWorldMapLayout);
    AddMissionMarkers(game);
    MapMessage::Get().active = true;
}

void WorldMapUpdate() {
    GameContext& game = GameContext::Get();
    game.renderer.BeginScene();
    DrawScreenPicture(kWorldMapSlot);
    if (game.campaign) {
        for (int k = 0; k < kFactionCount; ++k) {
            const StandingBar bar = StandingBarOf(k, game.campaign->standings[size_t(k)]);
            DrawSlot(kLifeBarSlot, bar.x, bar.fillY, bar.width, bar.fillHeight, true);
            DrawSlot(kEmptyBarSlot, bar.x, bar.frameY, bar.width, bar.frameHeight, true);
            DrawSlot(kFirstFactionIconSlot + k, bar.x, bar.iconY, bar.width, bar.width, true);
        }
    }
    DrawScreenHud();
}

void WorldMapExit() {
    GameContext& game = GameContext::Get();
    MapMessage::Get().active = false;
    game.sound.StopSound(game.worldMapMusic);
}
