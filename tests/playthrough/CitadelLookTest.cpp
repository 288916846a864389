#include "combat/CombatScreen.h"
#include "core/GameContext.h"
#include "core/Screens.h"
#include "core/GameState.h"
#include "driver/BattleTactics.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

// The look of the battle on the largest map, guarded by reference pictures: the battlefield as it opens with
// the reachable area marked, a planned route, and the nearest and farthest zoom. Each frame is compared with
// its reference pixel by pixel; a few channel steps of difference pass (light and rasterisation may round
// differently), anything more may cover only a sliver of the window. Run with VANTOR_WRITE_REFERENCES=1 to
// write the shown frames as the new references into the source tree (look at them before committing).

namespace {

constexpr int32_t ChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);
// Channel steps a pixel may be off and still count as the same.
constexpr int PixelTolerance = 12;
// Share of the window whose pixels may be off by more (edges of shapes that land a pixel apart).
constexpr double MostDifferingShare = 0.01;

std::string ReferencePath(const std::string& name) {
    return std::string(VANTOR_SOURCE_DIR) + "/tests/playthrough/reference/" + name + ".png";
}

void ExpectLooksLikeReference(GameDriver& driver, const std::string& name) {
    const Picture shown = driver.Shot(name);
    if (std::getenv("VANTOR_WRITE_REFERENCES") != nullptr) {
        ASSERT_TRUE(SavePng(shown, ReferencePath(name)));
        return;
    }
    const std::optional<Picture> reference = LoadGamePicture(ReferencePath(name));
    ASSERT_TRUE(reference.has_value()) << "reference picture " << ReferencePath(name);
    ASSERT_EQ(reference->width(), shown.width());
    ASSERT_EQ(reference->height(), shown.height());
    const double differing = DifferingShare(*reference, shown, shown.bounds(), PixelTolerance);
    const double anyChange = DifferingShare(*reference, shown, shown.bounds(), 0);
    std::printf("%s: %.3f%% of the window differs from its reference, %.3f%% by more than %d\n", name.c_str(),
                anyChange * 100, differing * 100, PixelTolerance);
    EXPECT_LE(differing, MostDifferingShare)
        << name << ": " << differing * 100 << "% of the window differs from " << ReferencePath(name)
        << " (the frame is in " << driver.pictureFolder() << ")";
}

bool ZoomTo(GameDriver& driver, CombatScreen& screen, int32_t level) {
    for (int tries = 0; tries < 8 && screen.camera.zoomLevel != level; ++tries) {
        // The notch becomes a camera key in the next frame, which starts the step a frame later.
        driver.Wheel(screen.camera.zoomLevel < level ? 1 : -1);
        driver.Frames(3);
        driver.RunUntil([&] { return !screen.camera.busy(); }, 300);
    }
    driver.Frames(2);
    return screen.camera.zoomLevel == level && !screen.camera.busy();
}

} // namespace

TEST(CitadelLook, BattlefieldRouteAndZoomsLookAsTheirReferences) {
    if (!GameDriver::FirstInProcess()) {
        GTEST_SKIP() << "the game boots once a process; run each play-through on its own";
    }
    GameDriver driver("citadel_look");
    GameContext& game = driver.game();
    ASSERT_TRUE(driver.ToMainMenu());
    ASSERT_TRUE(driver.ClickButton(SendMessage, kStartValue)) << "START on the main menu";
    const int32_t citadel = driver.MissionIndex("05_Citadel.xml");
    ASSERT_GE(citadel, 0);
    ASSERT_TRUE(driver.ClickButton(SendMessage, citadel));
    ASSERT_EQ(game.currentState(), kCombatState);
    BattleTactics tactics(driver);
    CombatScreen& screen = tactics.screen;
    ASSERT_TRUE(tactics.AwaitOrder());
    ASSERT_EQ(screen.map.fileName(), "Citadel.xml");
    // The pointer rests in a corner, over no tile the preview reacts to.
    driver.MoveMouse(2, 2);
    driver.Frames(2);
    ExpectLooksLikeReference(driver, "citadel_opening");

    const std::optional<PathStep> far = tactics.FarthestReachable();
    ASSERT_TRUE(far.has_value());
    ASSERT_TRUE(tactics.Hover(far->x, far->y));
    driver.Frames(2);
    ASSERT_FALSE(game.pathfinder.path.empty()) << "the hovered tile shows a route";
    ExpectLooksLikeReference(driver, "citadel_route");

    driver.MoveMouse(2, 2);
    ASSERT_TRUE(ZoomTo(driver, screen, 3));
    ExpectLooksLikeReference(driver, "citadel_nearest");
    ASSERT_TRUE(ZoomTo(driver, screen, 0));
    ExpectLooksLikeReference(driver, "citadel_farthest");
}
