#include "ScreenChecks.h"
#include "combat/CombatScreen.h"
#include "combat/LevelMap.h"
#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/Screens.h"
#include "driver/BattleTactics.h"
#include "driver/FileGuard.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// The battle's menus and editors as a player and a level designer meet them: the pause menu with its
// how-to-play pages and options, the debug bar, the level editor painting tiles that are saved and read
// back, and the layout editor.

namespace {

constexpr int32_t ChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);
constexpr int32_t LeavePause = int32_t(ButtonFunction::Pause);
// Pause layout messages: the next page, the options; options layout messages: louder, back.
constexpr int32_t NextPage = 3;
constexpr int32_t Options = 4;
constexpr int32_t Louder = 0;
// Where the options overlay prints the volume.
constexpr PixelRect VolumeDigits{620, 165, 40, 30};

struct TileState {
    int32_t elevation = 0;
    int32_t texture = 0;
    float passable = 0.0f;
    bool operator==(const TileState&) const = default;
};

TileState StateOf(const LevelMap& map, PathStep at) {
    const MapTile* tile = map.TileAt(at.x, at.y);
    return tile != nullptr ? TileState{tile->elevation, tile->texture, tile->passable} : TileState{};
}

// The tile of that texture the player sees best: a click point where no unit stands.
std::optional<PathStep> VisibleTile(const CombatScreen& screen, const PickView& view, int32_t texture,
                                    const std::vector<PathStep>& except) {
    for (int32_t y = 0; y < int32_t(screen.map.height()); ++y) {
        for (int32_t x = 0; x < int32_t(screen.map.width()); ++x) {
            const MapTile* tile = screen.map.TileAt(x, y);
            bool excluded = false;
            for (const PathStep& other : except) {
                excluded = excluded || (other.x == x && other.y == y);
            }
            if (!excluded && tile->texture == texture && screen.UnitAtTile(x, y) == nullptr &&
                view.ClickPoint(tile->pickId).has_value()) {
                return PathStep{x, y};
            }
        }
    }
    return std::nullopt;
}

// Drags the brush over the tiles, finding each where it is seen after the one before was painted.
void PaintTiles(GameDriver& driver, const CombatScreen& screen, const std::vector<PathStep>& tiles) {
    bool held = false;
    for (const PathStep& tile : tiles) {
        const std::optional<PixelPoint> point =
            PickView::Capture().ClickPoint(TilePickId(screen, tile.x, tile.y));
        ASSERT_TRUE(point.has_value()) << "tile " << tile.x << ", " << tile.y << " is in view";
        driver.MoveMouse(point->x, point->y);
        if (!held) {
            // The press itself does not paint; the first frame the button is held does.
            driver.ButtonDown();
            driver.Frames(2);
            held = true;
        }
    }
    driver.ButtonUp();
    driver.Frame();
}

} // namespace

TEST(EditorsPlaythrough, PauseMenuDebugBarLevelEditorAndLayoutEditor) {
    if (!GameDriver::FirstInProcess()) {
        GTEST_SKIP() << "the game boots once a process; run each play-through on its own";
    }
    const std::string level = "XMLFiles\\Missions\\Levels\\Outskirts.xml";
    FileGuard levelFile(level, std::string(VANTOR_PICTURE_DIR) + "/kept");
    ASSERT_TRUE(levelFile.kept()) << "the first mission's level can be kept aside";
    GameDriver driver("editors");
    GameContext& game = driver.game();

    // [SECTION] Into the first battle, with the squad a new player is given.
    ASSERT_TRUE(driver.ToMainMenu());
    ASSERT_TRUE(driver.ClickButton(SendMessage, kStartValue)) << "START on the main menu";
    ASSERT_TRUE(driver.ClickButton(SendMessage, driver.MissionIndex("01_Outskirts.xml")))
        << "the world map shows the first mission's marker";
    ASSERT_EQ(game.currentState(), kCombatState);
    BattleTactics tactics(driver);
    CombatScreen& screen = tactics.screen;
    ASSERT_TRUE(tactics.AwaitOrder());
    ASSERT_EQ(screen.map.fileName(), "Outskirts.xml");
    const Picture battle = driver.Shot("battle");

    // [SECTION] Pause menu: its two how-to-play pages, back to its menu, the options, continue.
    driver.PressKey(SDL_SCANCODE_ESCAPE);
    ASSERT_TRUE(screen.paused);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\pause.xml");
    const Picture pause = driver.Shot("pause_menu");
    ExpectNewScreen(battle, pause, "pause menu");
    ASSERT_TRUE(driver.ClickButton(SendMessage, NextPage));
    EXPECT_EQ(screen.pausePage, 1);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\howtoplay1.xml");
    const Picture page1 = driver.Shot("pause_how_to_play_1");
    ExpectNewScreen(pause, page1, "first how-to-play page");
    ASSERT_TRUE(driver.ClickButton(SendMessage, NextPage));
    EXPECT_EQ(screen.pausePage, 2);
    const Picture page2 = driver.Shot("pause_how_to_play_2");
    ExpectNewScreen(page1, page2, "second how-to-play page");
    ASSERT_TRUE(driver.ClickButton(SendMessage, NextPage));
    EXPECT_EQ(screen.pausePage, 0);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\pause.xml");
    ExpectNewScreen(page2, driver.Screen(), "pause menu again");

    ASSERT_TRUE(driver.ClickButton(SendMessage, Options));
    ASSERT_TRUE(screen.optionsShown);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\options_p.xml");
    const Picture options = driver.Shot("pause_options");
    ExpectNewScreen(pause, options, "options");
    const uint8_t volume = game.sound.masterVolume();
    ASSERT_TRUE(driver.ClickButton(SendMessage, Louder));
    EXPECT_GT(game.sound.masterVolume(), volume) << "the volume goes up";
    driver.Frame();
    const Picture louder = driver.Shot("pause_options_louder");
    EXPECT_GT(DifferingShare(options, louder, VolumeDigits), 0.0) << "the shown volume changes";
    ASSERT_TRUE(driver.ClickButton(SendMessage, Options));
    EXPECT_FALSE(screen.optionsShown);
    ASSERT_TRUE(driver.ClickButton(LeavePause, 0)) << "the pause menu has a continue button";
    EXPECT_FALSE(screen.paused);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\combat.xml");
    driver.Frame();
    const Picture resumed = driver.Shot("battle_resumed");
    ExpectNewScreen(options, resumed, "battle resumed");

    // [SECTION] Debug bar and level editor.
    driver.PressKey(SDL_SCANCODE_GRAVE);
    ASSERT_TRUE(GameDriver::BarShown("Tweak Bar")) << "the grave accent opens the debug bar";
    driver.Shot("debug_bar");
    ASSERT_TRUE(driver.ClickBarButton("Tweak Bar", "Edit Level"));
    ASSERT_TRUE(screen.editMode);
    driver.Frame();
    ASSERT_TRUE(GameDriver::BarShown("Level Editor"));
    const Picture editor = driver.Shot("level_editor");

    // A building tile gives the brush its height, texture and pass cost; three grass tiles get them.
    const PickView view = PickView::Capture();
    constexpr int32_t Grass = 0;
    constexpr int32_t Building = 3;
    const std::optional<PathStep> source = VisibleTile(screen, view, Building, {});
    ASSERT_TRUE(source.has_value()) << "a building is in view";
    const TileState brush = StateOf(screen.map, *source);
    std::vector<PathStep> painted;
    for (int i = 0; i < 4; ++i) {
        const std::optional<PathStep> tile = VisibleTile(screen, view, Grass, painted);
        ASSERT_TRUE(tile.has_value()) << "four grass tiles are in view";
        painted.push_back(*tile);
    }
    const PathStep unsaved = painted.back();
    painted.pop_back();
    const TileState grass = StateOf(screen.map, unsaved);
    ASSERT_NE(brush, grass);

    const std::optional<PixelPoint> sourcePoint = view.ClickPoint(TilePickId(screen, source->x, source->y));
    driver.Click(sourcePoint->x, sourcePoint->y);
    ASSERT_EQ(screen.selectedTile, screen.map.TileAt(source->x, source->y)) << "a click selects the tile";
    driver.RunUntil([&] { return !screen.camera.busy(); }, 120);
    ASSERT_TRUE(driver.ClickBarButton("Level Editor", "Toggle Paint Mode"));
    ASSERT_TRUE(screen.paintMode);
    PaintTiles(driver, screen, painted);
    for (const PathStep& tile : painted) {
        EXPECT_EQ(StateOf(screen.map, tile), brush) << "tile " << tile.x << ", " << tile.y << " is painted";
    }
    const Picture paintedPicture = driver.Shot("level_painted");
    EXPECT_GT(DifferingShare(editor, paintedPicture, paintedPicture.bounds()), 0.01)
        << "the painted tiles show";

    // Saved: the file holds the three tiles.
    ASSERT_TRUE(driver.ClickBarButton("Level Editor", "Save Changes"));
    LevelMap saved;
    ASSERT_TRUE(saved.Load("Outskirts.xml"));
    for (const PathStep& tile : painted) {
        EXPECT_EQ(StateOf(saved, tile), brush) << "the file holds tile " << tile.x << ", " << tile.y;
    }
    EXPECT_EQ(StateOf(saved, unsaved), grass);

    // A fourth tile painted after saving is gone when the file is read back; the saved three stay.
    PaintTiles(driver, screen, {unsaved});
    ASSERT_EQ(StateOf(screen.map, unsaved), brush);
    ASSERT_TRUE(driver.ClickBarButton("Level Editor", "Reload File"));
    for (const PathStep& tile : painted) {
        EXPECT_EQ(StateOf(screen.map, tile), brush) << "tile " << tile.x << ", " << tile.y << " read back";
    }
    EXPECT_EQ(StateOf(screen.map, unsaved), grass) << "the unsaved tile is read back as it was";
    driver.Frame();
    driver.Shot("level_reloaded");
    EXPECT_TRUE(levelFile.Restore()) << "the level file is put back";

    // [SECTION] Layout editor.
    ASSERT_FALSE(game.hud.editorOpen());
    driver.PressKey(SDL_SCANCODE_TAB);
    EXPECT_TRUE(game.hud.editorOpen()) << "Tab opens the layout editor";
    driver.Frame();
    EXPECT_TRUE(GameDriver::BarShown("HUD Editor"));
    driver.Shot("layout_editor");

    for (const DialogRequest& box : driver.dialogs().shown()) {
        ADD_FAILURE() << "a message box was shown: " << box.caption << ": " << box.text;
    }
}
