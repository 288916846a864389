#include "screens/WorldMap.h"

#include "core/GameContext.h"
#include "core/ScreenHud.h"
#include "screens/CampaignSave.h"
#include "screens/MissionChoice.h"
#include "screens/MissionMarkers.h"
#include "screens/ScreenDrawing.h"

#include <algorithm>

namespace {

constexpr int32_t kWorldMapSlot = 11;
constexpr int32_t kEmptyBarSlot = 26;
constexpr int32_t kLifeBarSlot = 27;
constexpr int32_t kFirstFactionIconSlot = 76;
constexpr int32_t kShadeSlot = 7;

// The markers of the map shown now, with what each tells of its mission.
std::vector<MissionMarker>& ShownMarkers() {
    static std::vector<MissionMarker> markers;
    return markers;
}

// Appends one marker button per readable mission file after the layout's own buttons.
void AddMissionMarkers(GameContext& game) {
    ShownMarkers() = MissionMarkers(game.missionFiles);
    for (const MissionMarker& marker : ShownMarkers()) {
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
    // Back on the map, whether from a battle, the build screen or the menu: the campaign is saved.
    SaveCampaign(game);
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
    if (game.campaign) {
        PrintTexts(MarkerTexts(*game.campaign, game.missionFiles, false), 0.55f, 0.95f, 0.45f);
        const std::vector<ScreenText> label = MarkerTexts(*game.campaign, game.missionFiles, true);
        if (!label.empty()) {
            const MarkerLabelBox box = LabelBoxOf(label);
            DrawSlot(kShadeSlot, box.x, box.y, box.width, box.height, true);
            DrawSlot(kShadeSlot, box.x, box.y, box.width, box.height, true);
            PrintTexts(label, 1.0f, 0.9f, 0.55f);
        }
    }
}

std::vector<ScreenText> MarkerTexts(const Campaign& campaign, const std::vector<std::string>& missionFiles,
                                    bool hoveredLabel) {
    std::vector<ScreenText> texts;
    const HudLayout& hud = GameContext::Get().hud;
    for (const MissionMarker& marker : ShownMarkers()) {
        const bool won = size_t(marker.missionIndex) < missionFiles.size() &&
                         campaign.Won(missionFiles[size_t(marker.missionIndex)]);
        if (!hoveredLabel) {
            if (won) {
                texts.push_back({marker.x + 1, marker.y + kMarkerSize + 12, "WON"});
            }
            continue;
        }
        const auto button = std::find_if(hud.buttons().begin(), hud.buttons().end(), [&](const HudButton& b) {
            return b.function == int32_t(ButtonFunction::Message) && b.data == marker.missionIndex;
        });
        if (button == hud.buttons().end() || !button->mouseOver) {
            continue;
        }
        return MarkerLabel(marker, won);
    }
    return texts;
}

void WorldMapExit() {
    GameContext& game = GameContext::Get();
    MapMessage::Get().active = false;
    game.sound.StopSound(game.worldMapMusic);
}
