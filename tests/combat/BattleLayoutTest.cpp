#include "combat/BattleLayout.h"
#include "BattleFixture.h"

#include <gtest/gtest.h>

TEST(BattleLayout, BarsScaleWithDistanceAndHideBehindTheCamera) {
    EXPECT_FLOAT_EQ(BarScale(85.0f), 0.95f);
    EXPECT_FLOAT_EQ(BarScale(10.0f), 1.95f);

    const BarPlacement near = PlaceBar(400.7, 300.2, 0.5, 600, 1.95f);
    ASSERT_TRUE(near.visible);
    EXPECT_EQ(near.width, 62);
    EXPECT_EQ(near.height, 13);
    EXPECT_EQ(near.x, 400 - 31);
    EXPECT_EQ(near.y, 299) << "window y counts upward, the layout's downward";

    EXPECT_FALSE(PlaceBar(400, 300, 1.2, 600, 1.0f).visible) << "behind the camera";
    EXPECT_FALSE(PlaceBar(400, 300, -0.1, 600, 1.0f).visible);
    EXPECT_FALSE(PlaceBar(1e30, 300, 0.5, 600, 1.0f).visible) << "a garbled projection draws nothing";

    EXPECT_EQ(BarFill(1.0f, 62), 62);
    EXPECT_EQ(BarFill(2.5f, 62), 62) << "time over 100 fills the bar, no more";
    EXPECT_EQ(BarFill(-0.5f, 62), 0);
    EXPECT_EQ(BarFill(0.5f, 31), 15);
}

TEST(BattleLayout, StatCardsShowWeaponLinesOnlyForArmedUnits) {
    std::unique_ptr<Unit> unarmed = MakeUnit(1, 0, 0, 4, 12, WeaponSpec(), false);
    unarmed->hp = 35;
    unarmed->fullHp = 80;
    std::vector<StatLine> lines = StatCardLines(unarmed.get(), 578, 698, true);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].text, "Distance: 4");
    EXPECT_EQ(lines[2].text, "HP: 35/80");
    EXPECT_EQ(lines[4].y, 560);

    std::unique_ptr<Unit> armed = MakeUnit(2, 0, 0);
    lines = StatCardLines(armed.get(), 30, 150, false);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[5].text, "Damage: 20");
    EXPECT_EQ(lines[5].x, 150);
    EXPECT_EQ(lines[10].text, "Time: 10");
    EXPECT_EQ(lines[10].y, 575);

    lines = StatCardLines(nullptr, 578, 698, true);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "No Unit Detected");
    EXPECT_EQ(lines[0].y, 515);
    EXPECT_TRUE(StatCardLines(nullptr, 30, 150, false).empty()) << "the left card stays empty";
}
