#include "combat/LevelEditor.h"
#include "BattleFixture.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(LevelEditor, SelectionPaintModeAndResizeKeepTheFieldsOnLiveData) {
    Battle battle(6, 5);
    battle.add(MakeUnit(1, 1, 1));
    battle.add(MakeUnit(2, 4, 4));
    battle.screen.Enter();
    battle.frame();
    LevelEditor editor(battle.screen);

    editor.ToggleDebugBar();
    editor.ToggleEditor();
    ASSERT_TRUE(battle.screen.editMode);
    for (const MapTile& tile : battle.map.tiles()) {
        EXPECT_EQ(tile.marker, TileMarker::None) << "opening the editor clears the markers";
    }
    EXPECT_EQ(editor.height(), 0) << "nothing selected yet";
    editor.SetHeight(9); // writes nowhere

    battle.map.TileAt(2, 3)->elevation = 3;
    battle.map.TileAt(2, 3)->texture = 4;
    editor.SelectTile(2, 3);
    EXPECT_EQ(battle.screen.selectedTile, battle.map.TileAt(2, 3));
    EXPECT_EQ(battle.map.TileAt(2, 3)->marker, TileMarker::Target);
    EXPECT_EQ(editor.height(), 3);
    editor.SetHeight(5);
    EXPECT_EQ(battle.map.TileAt(2, 3)->elevation, 5);

    editor.TogglePaintMode();
    EXPECT_TRUE(battle.screen.paintMode);
    EXPECT_EQ(editor.height(), 5) << "the brush takes the selected tile's values";
    EXPECT_EQ(editor.texture(), 4);
    editor.SetHeight(2);
    EXPECT_EQ(battle.map.TileAt(2, 3)->elevation, 5) << "the fields now edit the brush";
    editor.Paint(*battle.map.TileAt(0, 0));
    EXPECT_EQ(battle.map.TileAt(0, 0)->elevation, 2);
    EXPECT_EQ(battle.map.TileAt(0, 0)->texture, 4);
    editor.TogglePaintMode();
    EXPECT_EQ(editor.height(), 2) << "toggling back keeps editing the brush";

    editor.TogglePaintMode();
    ASSERT_TRUE(battle.screen.paintMode);
    editor.SelectTile(1, 2);
    EXPECT_EQ(editor.height(), 2) << "selecting in paint mode keeps editing the brush";
    battle.screen.paintMode = false;
    editor.SelectTile(1, 2);
    editor.ResizeMap(8, 0);
    EXPECT_EQ(battle.map.width(), 8u);
    EXPECT_EQ(battle.map.height(), 5u) << "the other side is kept";
    EXPECT_EQ(battle.screen.selectedTile, nullptr);
    EXPECT_EQ(editor.height(), 0) << "no field points into the old grid";
    EXPECT_EQ(editor.passCost(), 0.0f);

    editor.ToggleDebugBar();
    EXPECT_FALSE(battle.screen.editMode) << "removing the debug bar closes the editor";
    EXPECT_FALSE(editor.debugBarShown);
}

TEST(LevelEditor, AnEnabledDebugBarComesBackInEveryBattle) {
    Battle battle(4, 4);
    battle.add(MakeUnit(1, 1, 1));
    battle.add(MakeUnit(2, 3, 3));
    battle.screen.Enter();
    LevelEditor editor(battle.screen);
    editor.BattleSetUp();
    EXPECT_FALSE(editor.debugBarShown) << "not shown until asked for";

    editor.ToggleDebugBar();
    editor.ToggleEditor();
    ASSERT_TRUE(battle.screen.editMode);
    battle.screen.Exit(nullptr);
    editor.CloseAll();
    EXPECT_FALSE(editor.debugBarShown) << "it goes with the battle";
    EXPECT_FALSE(battle.screen.editMode);

    battle.add(MakeUnit(1, 1, 1));
    battle.add(MakeUnit(2, 3, 3));
    battle.screen.Enter();
    editor.BattleSetUp();
    EXPECT_TRUE(editor.debugBarShown) << "and is made again for the next one";
    EXPECT_FALSE(battle.screen.editMode) << "with the editor closed";

    editor.ToggleDebugBar();
    battle.screen.Exit(nullptr);
    editor.CloseAll();
    battle.screen.Enter();
    editor.BattleSetUp();
    EXPECT_FALSE(editor.debugBarShown) << "a bar put away stays away";
}

TEST(LevelEditor, TheWheelRaisesTheBrushInPaintModeAndLoadsLeaveNoStaleBrushInTheFields) {
    Battle battle(6, 5);
    battle.add(MakeUnit(1, 1, 1));
    battle.add(MakeUnit(2, 4, 4));
    battle.screen.Enter();
    battle.frame();
    LevelEditor editor(battle.screen);
    editor.ToggleDebugBar();
    editor.ToggleEditor();
    CombatInput wheel;

    editor.SelectTile(2, 3);
    battle.map.TileAt(2, 3)->elevation = 1;
    wheel.wheelDelta = 2;
    battle.frame(wheel);
    EXPECT_EQ(battle.map.TileAt(2, 3)->elevation, 5) << "outside paint mode the selected tile rises by 2 x 2";

    editor.TogglePaintMode();
    ASSERT_EQ(editor.height(), 5);
    wheel.wheelDelta = -1;
    battle.frame(wheel);
    EXPECT_EQ(editor.paintHeight, 4) << "in paint mode the wheel changes the brush";
    EXPECT_EQ(editor.height(), 4) << "and the bar shows it";
    EXPECT_EQ(battle.map.TileAt(2, 3)->elevation, 5) << "not the tile selected before";
    editor.Paint(*battle.map.TileAt(0, 0));
    EXPECT_EQ(battle.map.TileAt(0, 0)->elevation, 4);

    // In paint mode a resize keeps the fields on the brush, which outlives the grid.
    editor.ResizeMap(7, 0);
    EXPECT_EQ(editor.height(), 4);
    battle.frame(wheel);
    EXPECT_EQ(editor.paintHeight, 3);

    // Out of paint mode the fields still show the brush until the grid changes; then they show nothing.
    editor.TogglePaintMode();
    ASSERT_FALSE(battle.screen.paintMode);
    EXPECT_EQ(editor.height(), 3);
    editor.ResizeMap(6, 0);
    EXPECT_EQ(editor.height(), 0) << "no stale brush value after a resize";
    EXPECT_EQ(editor.texture(), 0);
    EXPECT_EQ(editor.passCost(), 0.0f);
    editor.SetHeight(8);
    EXPECT_EQ(editor.paintHeight, 3) << "the field writes nowhere";
    battle.frame(wheel);
    EXPECT_EQ(editor.paintHeight, 3) << "with nothing selected the wheel changes nothing";
}

TEST(LevelEditor, TypedPassCostsAreKeptAsTheLoaderKeepsThem) {
    Battle battle(4, 4);
    battle.add(MakeUnit(1, 0, 0));
    battle.screen.Enter();
    LevelEditor editor(battle.screen);
    editor.ToggleDebugBar();
    editor.ToggleEditor();
    editor.SelectTile(2, 2);
    for (auto [typed, kept] : {std::pair{2.5f, 2.5f}, {-3.0f, 0.0f}, {-0.0f, 0.0f}, {NAN, 0.0f},
                               {INFINITY, 0.0f}, {0.25f, 0.25f}}) {
        editor.SetPassCost(typed);
        EXPECT_EQ(battle.map.TileAt(2, 2)->passable, kept) << "typed " << typed;
        EXPECT_EQ(SanePassCost(typed), kept) << "the loader reads " << typed << " the same way";
    }
    // The brush keeps what a tile would keep, so painting cannot lay down a negative cost either.
    editor.TogglePaintMode();
    editor.SetPassCost(-7.0f);
    EXPECT_EQ(editor.passCost(), 0.0f);
    editor.Paint(*battle.map.TileAt(1, 1));
    EXPECT_EQ(battle.map.TileAt(1, 1)->passable, 0.0f);
}
