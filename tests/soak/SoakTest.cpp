#include "combat/CombatScreen.h"
#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/Screens.h"
#include "driver/BattleTactics.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"
#include "render/ModelNode.h"
#include "screens/BuildScreen.h"

#include <GL/glew.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's allocator statistics (GCC ships no header for them).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
extern "C" size_t __sanitizer_get_heap_size();
extern "C" void __sanitizer_print_memory_profile(size_t topPercent, size_t maxContexts);
extern "C" void __sanitizer_purge_allocator();
#endif

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

// A long session of play through the game's own window: screen changes, mechs rebuilt on the build screen,
// whole battles, hovering every button and pausing. After a warm-up, every further round must leave the
// game holding what it held before: memory, display lists, textures, pick colours and sound channels.
// (tests/playthrough/ResourceSoakTest.cpp counts display lists and pick colours over core swaps and battles
// in the normal run; this one plays as a player would, for much longer.)
// Run by ./test.sh --soak (not part of the normal run); VANTOR_SOAK_FRAMES changes the length.

namespace {

constexpr int32_t ChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);
const std::array<const char*, 4> MechParts = {"Wolf Core", "Turtle Head", "Blaster", "Tri Laser Green"};
// Texture names a GL implementation hands out are probed up to this; the game makes a few hundred.
constexpr GLuint ProbedNames = 1u << 18;

// What the game holds at one moment.
struct Holdings {
    int64_t frame = 0;
    double residentMb = 0.0;
    // What the program has allocated and not freed, and what the allocator holds from the system for it;
    // both -1 where the allocator cannot tell. Resident memory beyond the heap is code, GL buffers and the
    // like.
    double heapInUseMb = -1.0;
    double heapMappedMb = -1.0;
    int displayLists = 0;
    int textures = 0;
    size_t pickColours = 0;
    // Channels held once every effect has finished and handed its channel back: music and looping effects
    // keep theirs for good. (The game hands a finished effect's channel back only when a sound next takes a
    // new channel, so without that step the count depends on which effects played last.)
    int channelsHeld = 0;
    size_t soundsLoaded = 0;
    // The files of the sounds holding those channels.
    std::string channelHolders;

    std::string Describe() const {
        char text[320];
        std::snprintf(text, sizeof text,
                      "frame %6lld: %7.1f MB resident (heap %6.1f MB in use of %6.1f MB), %4d display lists, "
                      "%4d textures, %5zu pick colours, "
                      "%3d sound channels held, %3zu sounds loaded",
                      static_cast<long long>(frame), residentMb, heapInUseMb, heapMappedMb, displayLists,
                      textures, pickColours, channelsHeld, soundsLoaded);
        return text + std::string(" [") + channelHolders + "]";
    }
};

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Resident memory by where it lies: AddressSanitizer's shadow and its allocator's own region (x86-64
// layout), mapped files (code and data of the program and its libraries) and other anonymous mappings
// (large allocations, GL buffers, compiled shaders). Tells a real growth from a sanitizer's or a driver's.
std::string ResidentByKind() {
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    double shadow = 0;
    double allocator = 0;
    double files = 0;
    double other = 0;
    double largestOther = 0;
    unsigned long long start = 0;
    bool file = false;
    while (std::getline(smaps, line)) {
        unsigned long long from = 0;
        unsigned long long to = 0;
        char path[512] = "";
        if (std::sscanf(line.c_str(), "%llx-%llx %*s %*s %*s %*s %511s", &from, &to, path) >= 2 &&
            line.find(':') > line.find(' ')) {
            start = from;
            file = path[0] != '\0' && path[0] != '[';
            continue;
        }
        unsigned long long kb = 0;
        if (std::sscanf(line.c_str(), "Rss: %llu kB", &kb) != 1) {
            continue;
        }
        const double mb = double(kb) / 1024.0;
        if (start >= 0x7fff8000ull && start < 0x10007fff8000ull) {
            shadow += mb;
        } else if (start >= 0x600000000000ull && start < 0x640000000000ull) {
            allocator += mb;
        } else if (file) {
            files += mb;
        } else {
            other += mb;
            largestOther = std::max(largestOther, mb);
        }
    }
    char text[200];
    std::snprintf(
        text, sizeof text,
        "resident: %.1f MB shadow, %.1f MB allocator region, %.1f MB files, %.1f MB other anonymous "
        "(largest %.1f MB)",
        shadow, allocator, files, other, largestOther);
    return text;
}

// Waits, without running frames, until no effect is playing any more; false after five seconds.
bool AwaitQuiet() {
    for (int wait = 0; wait < 250; ++wait) {
        if (Mix_Playing(-1) == 0) {
            return true;
        }
        SDL_Delay(20);
    }
    return false;
}

Holdings Measure(GameDriver& driver) {
    GameContext& game = driver.game();
    EXPECT_TRUE(AwaitQuiet()) << Mix_Playing(-1) << " effects still play after five seconds";
    game.sound.ReclaimFinishedChannels();
    Holdings holdings;
    holdings.frame = driver.framesRun();
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps the pages of freed small blocks for reuse and never gives them back by itself,
    // so resident memory would swing by 30 MB with whatever a round last freed. Given back first, resident
    // memory counts what the program holds.
    __sanitizer_purge_allocator();
#endif
    holdings.residentMb = ResidentMegabytes();
#if defined(__SANITIZE_ADDRESS__)
    holdings.heapInUseMb = double(__sanitizer_get_current_allocated_bytes()) / (1024.0 * 1024.0);
    holdings.heapMappedMb = double(__sanitizer_get_heap_size()) / (1024.0 * 1024.0);
#endif
    holdings.displayLists = static_cast<int>(LiveDisplayListCount());
    for (GLuint name = 1; name < ProbedNames; ++name) {
        holdings.textures += glIsTexture(name) ? 1 : 0;
    }
    holdings.pickColours = game.pickColours.size();
    for (int32_t channel = 0; channel < SoundManager::channelCount; ++channel) {
        holdings.channelsHeld += game.sound.channelFree(channel) ? 0 : 1;
    }
    holdings.soundsLoaded = game.sound.sounds().size();
    for (const SoundEntry& entry : game.sound.sounds()) {
        if (entry.channel >= 0 && !game.sound.channelFree(entry.channel)) {
            const size_t slash = entry.name.find_last_of('\\');
            holdings.channelHolders += (holdings.channelHolders.empty() ? "" : ", ") +
                                       entry.name.substr(slash == std::string::npos ? 0 : slash + 1);
        }
    }
    return holdings;
}

// Moves the pointer over every button of the current layout in turn, and off them again.
void HoverEveryButton(GameDriver& driver) {
    std::vector<PixelPoint> middles;
    for (const HudButton& button : driver.game().hud.buttons()) {
        middles.push_back(GameDriver::Middle(button));
    }
    for (const PixelPoint& middle : middles) {
        driver.MoveMouse(middle.x, middle.y);
        driver.Frame();
    }
    driver.MoveMouse(2, 2);
}

// The build screen: the first round builds two mechs, every later one takes their heads and weapons off
// and puts them back on, and looks at every slot.
void Rebuild(GameDriver& driver, bool firstRound) {
    for (int32_t slot = 0; slot < 2; ++slot) {
        ASSERT_TRUE(driver.ClickButton(SendMessage, BuildValue::FirstSlot + slot));
        if (firstRound) {
            for (const char* part : MechParts) {
                ASSERT_TRUE(EquipPart(driver, part)) << part;
            }
        } else {
            ASSERT_TRUE(driver.ClickButton(SendMessage, BuildValue::TakeOffWeapon));
            ASSERT_TRUE(driver.ClickButton(SendMessage, BuildValue::TakeOffHead));
            driver.Frames(3);
            ASSERT_TRUE(EquipPart(driver, MechParts[1]));
            ASSERT_TRUE(EquipPart(driver, MechParts[3]));
        }
        driver.Frames(5);
    }
    for (int32_t slot = 0; slot < 6; ++slot) {
        driver.ClickButton(SendMessage, BuildValue::FirstSlot + slot);
        driver.Frames(2);
    }
    HoverEveryButton(driver);
}

// Pauses the battle, hovers the pause menu, turns its pages and resumes.
void PauseAndResume(GameDriver& driver, CombatScreen& screen) {
    driver.PressKey(SDL_SCANCODE_ESCAPE);
    driver.Frames(2);
    EXPECT_TRUE(screen.paused);
    HoverEveryButton(driver);
    for (int page = 0; page < 3; ++page) {
        driver.ClickButton(SendMessage, 3);
        driver.Frames(3);
    }
    driver.PressKey(SDL_SCANCODE_ESCAPE);
    driver.Frames(2);
}

// One battle of the first mission: played until won or for a dozen activations, paused on the way, then
// left for the world map through the victory layout or the pause menu.
void Battle(GameDriver& driver) {
    const int32_t mission = driver.MissionIndex("01_Outskirts.xml");
    ASSERT_GE(mission, 0);
    ASSERT_TRUE(driver.ClickButton(SendMessage, mission));
    ASSERT_EQ(driver.game().currentState(), kCombatState);
    BattleTactics tactics(driver);
    CombatScreen& screen = tactics.screen;
    for (int activation = 0; activation < 12 && !tactics.Won(); ++activation) {
        if (!tactics.AwaitOrder()) {
            break;
        }
        if (activation == 1) {
            PauseAndResume(driver, screen);
            tactics.AwaitOrder();
        }
        if (!tactics.Won()) {
            tactics.PlayActivation();
        }
    }
    driver.Frames(2);
    if (tactics.Won()) {
        // A won battle shows its summary page first; CONTINUE leads on to the victory layout.
        driver.RunUntil([&] { return screen.SummaryShown(); }, 200);
        driver.Frames(40);
        ASSERT_TRUE(driver.ClickButton(int32_t(ButtonFunction::FakeKeyPress), CombatKey::Space));
        driver.Frames(2);
    } else {
        driver.PressKey(SDL_SCANCODE_ESCAPE);
        driver.Frames(2);
    }
    ASSERT_TRUE(driver.ClickButton(ChangeState, kWorldMapState));
    driver.Frames(3);
    ASSERT_EQ(driver.game().currentState(), kWorldMapState);
}

// One round from the main menu through the world map, the build screen and a battle back to the main
// menu.
void Round(GameDriver& driver, bool firstRound) {
    GameContext& game = driver.game();
    HoverEveryButton(driver);
    // The first round starts a campaign; the later ones continue the one saved on the world map.
    ASSERT_TRUE(driver.ClickButton(SendMessage, firstRound ? kStartValue : kContinueValue));
    driver.Frames(3);
    HoverEveryButton(driver);
    ASSERT_TRUE(driver.ClickButton(ChangeState, kBuildState));
    ASSERT_EQ(game.currentState(), kBuildState);
    Rebuild(driver, firstRound);
    ASSERT_TRUE(driver.ClickButton(ChangeState, kWorldMapState));
    driver.Frames(3);
    Battle(driver);
    // Back to the main menu, then the options and the credits, each left by its button.
    ASSERT_TRUE(driver.ClickButton(ChangeState, kMainMenuState));
    ASSERT_EQ(game.currentState(), kMainMenuState);
    driver.Frames(3);
    for (GameState screen : {kOptionsState, kCreditsState}) {
        ASSERT_TRUE(driver.ClickButton(ChangeState, screen));
        ASSERT_EQ(game.currentState(), screen);
        driver.Frames(30);
        HoverEveryButton(driver);
        ASSERT_TRUE(driver.ClickButton(ChangeState, kMainMenuState));
        ASSERT_EQ(game.currentState(), kMainMenuState);
        driver.Frames(3);
    }
}

} // namespace

TEST(Soak, TwentyThousandFramesOfPlayHoldNothingMore) {
    const char* frames = std::getenv("VANTOR_SOAK_FRAMES");
    const int64_t totalFrames = frames != nullptr ? std::atoll(frames) : 20000;
    GameDriver driver("soak");
    ASSERT_TRUE(driver.ToMainMenu());
    driver.Frames(5);

    std::vector<Holdings> rounds;
    rounds.push_back(Measure(driver));
    std::printf("%s (main menu)\n", rounds.back().Describe().c_str());
    int round = 0;
    while (driver.framesRun() < totalFrames) {
        Round(driver, round == 0);
        if (HasFatalFailure()) {
            return;
        }
        ++round;
        rounds.push_back(Measure(driver));
        std::printf("%s (round %d)\n    %s\n", rounds.back().Describe().c_str(), round,
                    ResidentByKind().c_str());
        std::fflush(stdout);
#if defined(__SANITIZE_ADDRESS__)
        // VANTOR_SOAK_PROFILE lists where the live heap was allocated after each round, on the error stream.
        if (std::getenv("VANTOR_SOAK_PROFILE") != nullptr) {
            std::fprintf(stderr, "heap profile after round %d\n", round);
            __sanitizer_print_memory_profile(90, 60);
        }
#endif
    }
    ASSERT_GE(rounds.size(), 4u) << "too few rounds to judge";

    // The first two rounds warm up (first battle, first build, caches); from then on nothing grows.
    const Holdings& warm = rounds[2];
    const Holdings& last = rounds.back();
    EXPECT_LT(last.residentMb - warm.residentMb, 10.0) << warm.Describe() << "\n" << last.Describe();
    EXPECT_LT(last.heapInUseMb - warm.heapInUseMb, 10.0) << "live heap blocks";
    EXPECT_EQ(last.displayLists, warm.displayLists);
    EXPECT_EQ(last.textures, warm.textures);
    EXPECT_EQ(last.pickColours, warm.pickColours);
    EXPECT_EQ(last.channelsHeld, warm.channelsHeld);
    EXPECT_EQ(last.soundsLoaded, warm.soundsLoaded);

    // Sound still plays: with every effect over, a button newly under the pointer plays the hover sound on
    // a channel of its own, and the menu's music goes on.
    GameContext& game = driver.game();
    ASSERT_TRUE(game.sound.deviceOpen()) << "the dummy audio driver opens a device";
    driver.MoveMouse(2, 2);
    driver.Frames(2);
    ASSERT_TRUE(AwaitQuiet());
    const HudButton* credits = driver.FindButton(ChangeState, kCreditsState);
    ASSERT_NE(credits, nullptr);
    const PixelPoint middle = GameDriver::Middle(*credits);
    driver.MoveMouse(middle.x, middle.y);
    const SoundEntry* hover = nullptr;
    for (const SoundEntry& entry : game.sound.sounds()) {
        hover = entry.name == HoverSound ? &entry : hover;
    }
    ASSERT_NE(hover, nullptr) << "the hover sound was loaded";
    ASSERT_GE(hover->channel, 0) << "the hover sound has a channel after " << driver.framesRun() << " frames";
    EXPECT_NE(Mix_Playing(hover->channel), 0)
        << "the hover sound plays after " << driver.framesRun() << " frames";
    EXPECT_NE(Mix_PlayingMusic(), 0) << "the menu's music plays";
}
