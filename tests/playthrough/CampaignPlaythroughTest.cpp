#include "ScreenChecks.h"
#include "combat/CombatScreen.h"
#include "combat/gl/BattleReadouts.h"
#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/Screens.h"
#include "data/CampaignFile.h"
#include "driver/BattleTactics.h"
#include "driver/GameDriver.h"
#include "driver/Skins.h"
#include "hud/HudLayout.h"
#include "screens/BuildScreen.h"
#include "screens/MissionMarkers.h"
#include "screens/WorldMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

// The game as a player meets it: from the logos through the main menu and the world map to the build
// screen, where two mechs are put together, then into the first mission, won by moving and firing, and back
// to the world map with the standings the mission put at stake. Every step is a key press, a pointer motion
// or a click; every screen is saved as a picture and checked on the picture.

namespace {

constexpr int32_t ChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);
// The frame in the middle of the build screen where the mech being built turns.
constexpr PixelRect PreviewFrame{256, 146, 316, 110};
// The world map's three standing bars.
constexpr PixelRect StandingBars{25, 435, 110, 100};
// The parts of each mech: a steady core, a head and a tail that strengthen the weapon, and a laser whose
// range reaches the enemy from the start.
const std::array<const char*, 4> MechParts = {"Wolf Core", "Turtle Head", "Blaster", "Tri Laser Green"};

// The colours the battle's read-outs are printed in.
constexpr Rgb WhiteText{255, 255, 255};
constexpr Rgb AmberText{255, 204, 64};

// The pixels of the area within tolerance of the colour in every channel.
int CountNear(const Picture& picture, const PixelRect& area, Rgb colour, int tolerance = 30) {
    int count = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            const Rgb p = picture.at(x, y);
            count += std::abs(p.r - colour.r) <= tolerance && std::abs(p.g - colour.g) <= tolerance &&
                             std::abs(p.b - colour.b) <= tolerance
                         ? 1
                         : 0;
        }
    }
    return count;
}

// The share of the area's pixels that are dark (every channel under 80).
double DarkShare(const Picture& picture, const PixelRect& area) {
    int dark = 0;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            const Rgb p = picture.at(x, y);
            dark += p.r < 80 && p.g < 80 && p.b < 80 ? 1 : 0;
        }
    }
    return area.width * area.height > 0 ? double(dark) / double(area.width * area.height) : 0.0;
}

PixelRect RectOf(const ReadoutBox& box) {
    return {box.x, box.y, box.width, box.height};
}

// Expects a read-out on the picture: a dark plate over the box with text of the colour printed on it, where
// the picture before showed none.
void ExpectReadout(const Picture& before, const Picture& shown, const ReadoutBox& box, Rgb text,
                   const std::string& what) {
    const PixelRect area = RectOf(box);
    EXPECT_GT(box.width, 20) << what;
    EXPECT_GT(DarkShare(shown, area), 0.4) << what << ": the plate is drawn";
    EXPECT_GT(CountNear(shown, area, text), 12) << what << ": its text is printed";
    EXPECT_GT(DifferingShare(before, shown, area), 0.2) << what << ": the frame before did not show it";
}

// The pixels of the area that differ between two pictures.
std::vector<PixelPoint> ChangedPixels(const Picture& before, const Picture& after, const PixelRect& area) {
    std::vector<PixelPoint> pixels;
    for (int y = area.y; y < area.y + area.height; ++y) {
        for (int x = area.x; x < area.x + area.width; ++x) {
            if (DifferingShare(before, after, {x, y, 1, 1}, 30) > 0.0) {
                pixels.push_back({x, y});
            }
        }
    }
    return pixels;
}

// Builds the mech of a squad slot from its parts on the build screen and checks its preview.
void BuildMech(GameDriver& driver, int32_t slot) {
    Army& army = driver.game().campaign->army();
    ASSERT_TRUE(driver.ClickButton(SendMessage, BuildValue::FirstSlot + slot));
    ASSERT_EQ(SquadBuildMessage::Get().builder.currentSlot(), slot);
    const Unit& unit = *army.squad[size_t(slot)];
    ASSERT_EQ(unit.core, nullptr) << "slot " << slot + 1 << " starts empty";
    driver.Frame();
    const Picture empty = driver.Screen();
    for (const char* part : MechParts) {
        ASSERT_TRUE(EquipPart(driver, part)) << part << " is not on the part list";
    }
    ASSERT_NE(unit.core, nullptr);
    EXPECT_EQ(unit.core->children.size(), 3u) << "a head, a tail and a weapon are attached";
    ASSERT_NE(unit.weapon, nullptr);
    EXPECT_EQ(unit.weapon->name, "Tri Laser Green_Weapon");
    EXPECT_GT(unit.hp, 0);

    driver.Frames(2);
    const Picture built = driver.Shot("build_mech_" + std::to_string(slot + 1));
    const std::vector<PixelPoint> mech = ChangedPixels(empty, built, PreviewFrame);
    EXPECT_GT(mech.size(), 300u) << "the mech turns in the preview frame";
    const SkinVerdict skin = JudgeSkin(built, mech, 0);
    EXPECT_TRUE(skin.Wears()) << "the preview's mech: " << skin.Describe();
}

// Checks that every unit of the battle wears its skin where the player sees it.
void ExpectSkinsOnTheBattlefield(const GameDriver& driver, const CombatScreen& screen) {
    const PickView view = PickView::Capture();
    for (const Unit* unit : screen.turnQueue) {
        const SkinVerdict skin =
            JudgeSkin(driver.Screen(), view.PixelsOf(PickIdOf(*unit), 1), ExpectedSkin(*unit));
        EXPECT_TRUE(skin.Wears()) << unit->name << " of player " << unit->owner.player << ": "
                                  << skin.Describe();
    }
}

// The average colour of what the window shows of a tile, away from its edges.
Rgb ShownTileColour(const GameDriver& driver, const CombatScreen& screen, const PickView& view,
                    PathStep tile) {
    return AverageColour(driver.Screen(), view.PixelsOf(TilePickId(screen, tile.x, tile.y), 2));
}

// Hovers the farthest reachable tile and checks the route's colours: orange steps and a green end.
void ExpectPathColours(GameDriver& driver, BattleTactics& tactics) {
    CombatScreen& screen = tactics.screen;
    const std::optional<PathStep> far = tactics.FarthestReachable();
    ASSERT_TRUE(far.has_value()) << "the active unit can reach some tile";
    const PickView before = PickView::Capture();
    const Rgb reachable = ShownTileColour(driver, screen, before, *far);
    const Picture unhovered = driver.Screen();
    ASSERT_TRUE(tactics.Hover(far->x, far->y));
    ASSERT_EQ(screen.map.TileAt(far->x, far->y)->marker, TileMarker::PathEnd);
    const Picture preview = driver.Shot("path_preview");

    // Beside the pointer: the route's time cost and the time left after it.
    const RouteReadout cost = screen.RouteUnderPointer();
    ASSERT_TRUE(cost.shown) << "the route's cost is read out";
    EXPECT_EQ(cost.cost, screen.pathfinder.pathCost);
    EXPECT_EQ(cost.text, std::to_string(cost.cost) + " TU / " + std::to_string(cost.left) + " left");
    const ReadoutBox costBox = ReadoutBoxAt(screen.pointer.x, screen.pointer.y, {cost.text});
    ExpectReadout(unhovered, preview, costBox, WhiteText, "the route cost read-out");

    // The tiles' colours are judged away from the read-out's plate.
    PickView view = PickView::Capture();
    const PixelRect plate = RectOf(costBox);
    auto colourBesidePlate = [&](const CombatScreen& shownScreen, const PickView& shownView, PathStep tile) {
        std::vector<PixelPoint> pixels = shownView.PixelsOf(TilePickId(shownScreen, tile.x, tile.y), 2);
        std::erase_if(pixels, [&](const PixelPoint& p) { return plate.Contains(p.x, p.y); });
        return AverageColour(driver.Screen(), pixels);
    };
    const Rgb end = colourBesidePlate(screen, view, *far);
    EXPECT_GT(reachable.b, reachable.g) << "a reachable tile is shown blue";
    EXPECT_GT(end.g, end.r + 40) << "the route's end is shown green";
    EXPECT_GT(end.g, end.b + 40) << "the route's end is shown green";
    // The route runs end first; its steps between the start and the end are shown orange.
    const std::vector<PathStep>& route = screen.pathfinder.path;
    ASSERT_GE(route.size(), 3u) << "the farthest tile is more than one step away";
    int orange = 0;
    for (size_t i = 1; i + 1 < route.size(); ++i) {
        const Rgb step = colourBesidePlate(screen, view, route[i]);
        orange += step.r > step.b + 60 && step.g > step.b ? 1 : 0;
    }
    EXPECT_GT(orange, 0) << "the route's steps are shown orange";
}

} // namespace

TEST(CampaignPlaythrough, FromTheLogosThroughABuiltSquadToAWonFirstMission) {
    if (!GameDriver::FirstInProcess()) {
        GTEST_SKIP() << "the game boots once a process; run each play-through on its own";
    }
    GameDriver driver("campaign");
    GameContext& game = driver.game();

    // [SECTION] Boot and logos: each logo is left by its own key press.
    ASSERT_TRUE(driver.Frame());
    const Picture loading = driver.Shot("loading");
    ASSERT_TRUE(driver.Frame());
    ASSERT_EQ(game.currentState(), kLogoState);
    const Picture logo = driver.Shot("logo");
    ExpectNewScreen(loading, logo, "logo");
    driver.PressKey(SDL_SCANCODE_SPACE);
    EXPECT_EQ(game.currentState(), kTeamLogoState) << "one key press leaves the first logo only";
    Picture teamLogo = logo;
    if (game.currentState() == kTeamLogoState) {
        teamLogo = driver.Shot("team_logo");
        ExpectNewScreen(logo, teamLogo, "team logo");
        driver.PressKey(SDL_SCANCODE_RETURN);
    }
    ASSERT_EQ(game.currentState(), kMainMenuState);
    // The pointer rests where no button is, so the menu shows every button at rest.
    driver.MoveMouse(20, 20);
    driver.Frame();
    const Picture menu = driver.Shot("main_menu");
    ExpectNewScreen(teamLogo, menu, "main menu");

    // [SECTION] Main menu: the pointer lights START up, a click on it opens the world map.
    EXPECT_EQ(driver.FindButton(SendMessage, kContinueValue), nullptr)
        << "nothing saved, nothing to continue";
    const HudButton* start = driver.FindButton(SendMessage, kStartValue);
    ASSERT_NE(start, nullptr) << "the main menu has a START button";
    const PixelRect startArea{int(start->xPos), int(start->yPos), int(start->xSize), int(start->ySize)};
    const PixelPoint startMiddle = GameDriver::Middle(*start);
    driver.MoveMouse(startMiddle.x, startMiddle.y);
    const Picture hovered = driver.Shot("main_menu_start_lit");
    EXPECT_GT(DifferingShare(menu, hovered, startArea), 0.1) << "START lights up under the pointer";
    driver.Click(startMiddle.x, startMiddle.y);
    ASSERT_EQ(game.currentState(), kWorldMapState);
    driver.Frame();
    const Picture worldMap = driver.Shot("world_map");
    ExpectNewScreen(hovered, worldMap, "world map");

    // [SECTION] Build screen: two complete mechs in squad slots 1 and 2.
    ASSERT_TRUE(driver.ClickButton(ChangeState, kBuildState)) << "the world map has a BUILD button";
    ASSERT_EQ(game.currentState(), kBuildState);
    driver.Frame();
    const Picture build = driver.Shot("build_screen");
    ExpectNewScreen(worldMap, build, "build screen");
    for (int32_t slot = 0; slot < 2; ++slot) {
        BuildMech(driver, slot);
        if (HasFatalFailure()) {
            return;
        }
    }
    ASSERT_TRUE(driver.ClickButton(ChangeState, kWorldMapState));
    ASSERT_EQ(game.currentState(), kWorldMapState);
    driver.Frame();
    const Picture ready = driver.Shot("world_map_squad_ready");
    ExpectNewScreen(build, ready, "world map");

    // [SECTION] The first mission's marker starts its battle.
    const int32_t mission = driver.MissionIndex("01_Outskirts.xml");
    ASSERT_GE(mission, 0);
    const std::array<int32_t, kFactionCount> standings = game.campaign->standings;
    ASSERT_TRUE(driver.ClickButton(SendMessage, mission)) << "the world map shows the mission's marker";
    ASSERT_EQ(game.currentState(), kCombatState);
    BattleTactics tactics(driver);
    CombatScreen& screen = tactics.screen;
    const MissionData stakes = screen.mission;
    ASSERT_TRUE(tactics.AwaitOrder()) << "the first of the player's mechs takes orders";
    int players = 0;
    for (const Unit* unit : screen.turnQueue) {
        players += unit->owner.player == 1 ? 1 : 0;
    }
    EXPECT_EQ(players, 2) << "the two built mechs fight";
    EXPECT_EQ(screen.turnQueue.size(), 4u);

    // A closer look: two notches of the wheel zoom in.
    for (int notch = 0; notch < 2; ++notch) {
        driver.Wheel(1);
        driver.Frame();
        driver.RunUntil([&] { return !screen.camera.busy(); }, 120);
    }
    driver.Frames(2);
    const Picture battle = driver.Shot("battle");
    ExpectNewScreen(ready, battle, "battle");
    ExpectSkinsOnTheBattlefield(driver, screen);
    ExpectPathColours(driver, tactics);

    // [SECTION] The battle: approach, fire at marked enemies, end the activation.
    int activations = 0;
    bool shotComputerTurn = false;
    bool damageReadOut = false;
    bool numberRose = false;
    bool lossLogged = false;
    Picture previousStep = driver.Screen();
    while (!tactics.Won() && activations < 16) {
        if (!tactics.AwaitOrder()) {
            break;
        }
        const bool first = activations == 0;
        tactics.PlayActivation([&](const char* step) {
            const std::string name = step;
            if (first && (name == "moved" || name == "attack mode")) {
                driver.Shot(name == "moved" ? "moved" : "attack_mode");
            }
            if (name == "attack mode" && !damageReadOut) {
                // Over a marked enemy: the damage of one shot, the shots that fit and the verdict.
                if (Unit* target = tactics.Target(); target != nullptr && tactics.HoverUnit(*target)) {
                    const Picture unpointed = previousStep;
                    driver.Frame();
                    const Picture shown = driver.Shot("damage_readout");
                    const ShotReadout shot = screen.ShotUnderPointer();
                    EXPECT_TRUE(shot.shown) << "the shot's forecast is read out";
                    EXPECT_GT(shot.damage.highest, shot.damage.lowest);
                    EXPECT_GE(shot.shots, 1);
                    ExpectReadout(unpointed, shown, ReadoutBoxAt(screen.pointer.x, screen.pointer.y, shot.lines),
                                  AmberText, "the damage read-out");
                    damageReadOut = true;
                }
            }
            if (name == "fired" && !numberRose && !screen.record.numbers().empty()) {
                // The damage rises over the target as a number, and is gone after a second.
                driver.Frames(3);
                const Picture rising = driver.Shot("fired");
                const ShotReadout shot = screen.ShotUnderPointer();
                const PixelRect readout =
                    shot.shown ? RectOf(ReadoutBoxAt(screen.pointer.x, screen.pointer.y, shot.lines))
                               : PixelRect{};
                driver.Frames(80);
                EXPECT_TRUE(screen.record.numbers().empty()) << "the number is gone after a second";
                const Picture settled = driver.Screen();
                int risingAmber = 0;
                int settledAmber = 0;
                for (int y = 0; y < rising.height(); y += 1) {
                    for (int x = 0; x < rising.width(); x += 1) {
                        if (readout.Contains(x, y)) {
                            continue;
                        }
                        risingAmber += CountNear(rising, {x, y, 1, 1}, AmberText, 20);
                        settledAmber += CountNear(settled, {x, y, 1, 1}, AmberText, 20);
                    }
                }
                EXPECT_GT(risingAmber, settledAmber + 8) << "the damage number is drawn over the battle";
                numberRose = true;
            }
            if (name == "fired" && !lossLogged && !screen.record.log().empty()) {
                // The destroyed unit leaves a line in the log at the left edge.
                driver.Frame();
                const Picture logged = driver.Shot("destroyed_log_line");
                const std::string& line = screen.record.log().back();
                EXPECT_NE(line.find(" destroyed"), std::string::npos) << line;
                ExpectReadout(previousStep, logged, LogLineBox(screen.record.log().size() - 1, line),
                              Rgb{255, 89, 76}, "the log line");
                lossLogged = true;
            }
            previousStep = driver.Screen();
        });
        ++activations;
        if (!shotComputerTurn && screen.activeUnit != nullptr && screen.activeUnit->owner.isComputer) {
            driver.Frames(30);
            driver.Shot("computer_turn");
            shotComputerTurn = true;
        }
    }
    ASSERT_TRUE(screen.player1Won) << "the squad wins within " << activations << " activations";
    EXPECT_FALSE(screen.player2Won);

    EXPECT_TRUE(damageReadOut) << "a marked enemy was hovered in attack mode";
    EXPECT_TRUE(numberRose) << "a hit showed its damage";
    EXPECT_TRUE(lossLogged) << "a destroyed enemy was logged";

    // [SECTION] The summary page: losses, damage and the standings before and after.
    driver.Frames(2);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\summary.xml");
    ASSERT_TRUE(screen.SummaryShown());
    const Picture summary = driver.Shot("summary");
    ExpectNewScreen(battle, summary, "summary page");
    const PixelRect panel = RectOf(SummaryPanel());
    EXPECT_GT(DarkShare(summary, panel), 0.5) << "the summary's panel";
    EXPECT_GT(CountNear(summary, panel, WhiteText), 300) << "the summary's lines are printed";
    EXPECT_GT(CountNear(summary, panel, AmberText), 40) << "its title and result";
    const std::vector<std::string> lines = SummaryLines(screen.record, screen.mission, screen.player1Won);
    ASSERT_EQ(lines.size(), 7u) << "result, losses, damage dealt and taken, three standings";
    EXPECT_EQ(lines[0], "VICTORY");
    EXPECT_EQ(lines[4], "Faction 1 standing: " + std::to_string(standings[0]) + " -> " +
                            std::to_string(std::clamp(standings[0] - stakes.fac1, 0, 100)));
    driver.Frames(40);
    ASSERT_TRUE(driver.ClickButton(int32_t(ButtonFunction::FakeKeyPress), CombatKey::Space))
        << "the summary page has a CONTINUE button";
    driver.Frames(2);
    EXPECT_FALSE(screen.SummaryShown());

    // [SECTION] Victory picture, then back to the world map with the standings the mission put at stake.
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\win.xml");
    const Picture victory = driver.Shot("victory");
    ExpectNewScreen(summary, victory, "victory");
    ASSERT_TRUE(driver.ClickButton(ChangeState, kWorldMapState))
        << "the victory layout leads to the world map";
    ASSERT_EQ(game.currentState(), kWorldMapState);
    driver.Frame();
    const Picture after = driver.Shot("world_map_after_victory");
    ExpectNewScreen(victory, after, "world map after the battle");
    const std::array<int32_t, kFactionCount> expected = {std::clamp(standings[0] - stakes.fac1, 0, 100),
                                                         std::clamp(standings[1] - stakes.fac2, 0, 100),
                                                         std::clamp(standings[2] - stakes.fac3, 0, 100)};
    EXPECT_EQ(game.campaign->standings, expected) << "a won mission lowers the standings by its stakes";
    EXPECT_GT(DifferingShare(ready, after, StandingBars), 0.0) << "the standing bars show the change";

    // [SECTION] The won mission is marked and saved; the pointer on its marker names it.
    EXPECT_TRUE(game.campaign->Won(game.missionFiles[size_t(mission)]));
    const CampaignRead saved = ReadCampaignFile(CampaignFilePath());
    ASSERT_EQ(saved.state, PlayerFileState::Read) << "coming back to the map saved the campaign";
    EXPECT_EQ(saved.record.wonMissions, std::vector<std::string>{"01_Outskirts.xml"});
    EXPECT_EQ(saved.record.standings, expected);
    EXPECT_EQ(saved.record.squad[0].modules, (std::vector<int>{5, 12, 14, 25}))
        << "Wolf, Turtle, Blaster, Green";
    EXPECT_EQ(saved.record.squad[1].modules, saved.record.squad[0].modules);
    const HudButton* marker = driver.FindButton(SendMessage, mission);
    ASSERT_NE(marker, nullptr);
    const PixelRect underMarker{int(marker->xPos), int(marker->yPos + marker->ySize), 28, 16};
    EXPECT_GT(DifferingShare(ready, after, underMarker), 0.05)
        << "WON is written under the won mission's marker";
    const PixelPoint markerMiddle = GameDriver::Middle(*marker);
    driver.MoveMouse(markerMiddle.x, markerMiddle.y);
    driver.Frame();
    const Picture label = driver.Shot("world_map_won_mission_named");
    const std::vector<ScreenText> markerLines = MarkerTexts(*game.campaign, game.missionFiles, true);
    ASSERT_EQ(markerLines.size(), 3u) << "the marker under the pointer is labelled";
    EXPECT_EQ(markerLines[0].text, "Outskirts - won");
    EXPECT_EQ(markerLines[1].text, "12 x 12 tiles, 2 enemies");
    const MarkerLabelBox box = LabelBoxOf(markerLines);
    EXPECT_GT(DifferingShare(after, label, {box.x, box.y, box.width, box.height}), 0.2)
        << "the label is drawn beside the marker";

    for (const DialogRequest& box : driver.dialogs().shown()) {
        ADD_FAILURE() << "a message box was shown: " << box.caption << ": " << box.text;
    }
}
