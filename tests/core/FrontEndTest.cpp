#include "FakeWindow.h"
#include "combat/LevelMap.h"
#include "core/Boot.h"
#include "core/GameContext.h"
#include "core/Screens.h"
#include "core/Settings.h"
#include "data/CampaignFile.h"
#include "platform/Dialog.h"
#include "platform/FakeClock.h"
#include "platform/HighResTimer.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

// Records what the boot asks for and hands out numbered textures.
class RecordingBoot final : public BootServices {
public:
    void OpenRenderer() override { calls.push_back("renderer"); }
    void BuildShader() override { calls.push_back("shader"); }
    void CreateFont() override { calls.push_back("font"); }
    std::vector<std::string> ReadModelCatalogue() override {
        calls.push_back("catalogue");
        return {"Art Assets\\a.ase", "", "Art Assets\\b.ase"};
    }
    void LoadModel(int32_t slot, const std::string& file) override {
        calls.push_back("model " + std::to_string(slot) + " " + file);
    }
    void BuildModelLists(int32_t) override { ++modelLists; }
    void ListDataFiles(std::vector<std::string>& missions, std::vector<std::string>& modules) override {
        calls.push_back("list");
        missions.push_back("XMLFiles\\Missions\\m.xml");
        modules.push_back("XMLFiles\\Mecha\\Modules\\Cores\\c.xml");
    }
    void CreateInput() override { calls.push_back("input"); }
    int32_t LoadSound(const std::string& path, bool stream, bool looping) override {
        calls.push_back("sound " + path + (stream ? " stream" : " sample") + (looping ? " looping" : ""));
        return ++lastSound;
    }
    bool FileExists(const std::string&) override { return pageThreeExists; }
    uint32_t LoadTexture(const std::string& path) override {
        textures.push_back(path);
        std::this_thread::sleep_for(textureTime);
        return ++lastTexture;
    }
    uint32_t CreateBlankTexture(int32_t width, int32_t height) override {
        calls.push_back("blank " + std::to_string(width) + "x" + std::to_string(height));
        return ++lastTexture;
    }
    void ChangeState(int32_t state) override {
        calls.push_back("state " + std::to_string(state) + " after " + std::to_string(textures.size()) +
                        " textures");
        if (game != nullptr) {
            game->ChangeState(state);
        }
    }
    void LoadSettings() override { calls.push_back("settings"); }
    void SkipLogoRandomDraw() override { calls.push_back("logo random"); }
    void BuildLevelModels() override { calls.push_back("level models"); }
    void BuildMarkerModel(uint32_t texture) override { calls.push_back("marker " + std::to_string(texture)); }
    void CreateCampaign() override { calls.push_back("campaign"); }

    bool pageThreeExists = false;
    // Where state changes go on to, if anywhere.
    GameContext* game = nullptr;
    // How long each picture takes.
    std::chrono::milliseconds textureTime{0};
    std::vector<std::string> calls;
    std::vector<std::string> textures;
    int32_t modelLists = 0;
    int32_t lastSound = 0;
    uint32_t lastTexture = 0;
};

// Records what the screens draw.
class RecordingPainter final : public FrontEndPainter {
public:
    void BeginFrame() override { drawn.push_back("frame"); }
    void DrawPicture(int32_t slot, bool blend) override {
        drawn.push_back("picture " + std::to_string(slot) + (blend ? " blended" : ""));
    }
    void DrawHud() override { drawn.push_back("hud"); }
    void WarmUp() override { drawn.push_back("warm up"); }
    void DrawVolume(int32_t level) override { drawn.push_back("volume " + std::to_string(level)); }
    std::vector<std::string> drawn;
};

// The context with a window that needs no display and a painter that records.
class FrontEndTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        GameContext& game = GameContext::Get();
        auto owned = std::make_unique<FakeWindow>();
        window = owned.get();
        game.UseWindow(std::move(owned));
        SetFrontEndPainter(&painter);
    }
    void TearDown() override { SetFrontEndPainter(nullptr); }

    void SendHud(int32_t value) {
        Message message;
        message.type = HudMessage;
        message.value = value;
        MessageDispatcher::Instance().Send(message);
        MessageDispatcher::Instance().Update();
    }

    FakeClock clock;
    RecordingPainter painter;
    FakeWindow* window = nullptr;
    DialogRecorder dialogs;
};

} // namespace

TEST_F(FrontEndTest, BootShowsTheLogoRightAfterItsPictureAndThenLoadsInOrder) {
    GameContext& game = GameContext::Get();
    RecordingBoot boot;
    RunBoot(game, boot);

    EXPECT_EQ(boot.calls,
              (std::vector<std::string>{"renderer", "state 1 after 1 textures", "settings", "shader", "font",
                                        "catalogue", "model 0 Art Assets\\a.ase", "model 1 ",
                                        "model 2 Art Assets\\b.ase", "list", "input",
                                        "sound Sound Assets\\BGM\\05 - Rock And A Hard Place.mp3 stream looping",
                                        "sound Sound Assets\\SFX\\Menu_Sounds\\Menu_Mechanical03.wav sample",
                                        "logo random", "level models", "blank 800x600", "marker 99", "campaign"}))
        << "the marker takes the second active position picture, the last of the list";
    EXPECT_EQ(boot.modelLists, 48) << "every model slot's lists are compiled once more";
    EXPECT_EQ(game.menuMusic, 1);
    EXPECT_EQ(game.interfaceSound, 2);
    EXPECT_EQ(game.missionFiles.back(), "XMLFiles\\Missions\\m.xml");

    // The logo's picture first, then the loading picture, the tiles and the rest without the logo's.
    ASSERT_EQ(boot.textures.size(), 2u + 25u + 71u);
    EXPECT_EQ(boot.textures[0], "Art Assets\\Screens\\LogoScreen.png");
    EXPECT_EQ(boot.textures[1], "Art Assets\\Screens\\Loading.png");
    EXPECT_EQ(std::count(boot.textures.begin(), boot.textures.end(), boot.textures[0]), 1);
    EXPECT_EQ(game.renderer.textures[kLogoScreenSlot], 1u);
    EXPECT_EQ(game.renderer.textures[loadingScreenSlot], 2u);

    // Tile textures go to the level, index by index; 25 to 31 stay empty.
    EXPECT_EQ(boot.textures[2], "Art Assets\\grass_texture.png");
    EXPECT_EQ(boot.textures[26], "Art Assets\\Textures\\Corner_TR.png");
    EXPECT_EQ(game.level.textures[0], 3u);
    EXPECT_EQ(game.level.textures[24], 27u);
    EXPECT_EQ(game.level.textures[25], 0u);

    // 72 pictures into distinct slots; the slots drawn by the front end are filled.
    std::set<int32_t> slots;
    for (const BootPicture& picture : bootPictures) {
        EXPECT_TRUE(slots.insert(picture.slot).second) << picture.slot;
    }
    EXPECT_EQ(bootPictures.size(), 72u);
    EXPECT_EQ(game.renderer.textures[kBlankScreenSlot], 28u);
    EXPECT_EQ(boot.textures[27], "Art Assets\\Buttons\\Generic\\Menu_Block_Black.png");
    EXPECT_EQ(game.renderer.textures[16], 29u);
    for (int32_t slot : {kLogoScreenSlot, kTitleScreenSlot, kOptionsScreenSlot, kCreditsScreenSlot,
                         kHowToPlay1Slot, kHowToPlay2Slot, kTeamLogoScreenSlot, 53, 54, 55, 56, 72, 78}) {
        EXPECT_NE(game.renderer.textures[size_t(slot)], 0u) << slot;
    }
    EXPECT_EQ(game.renderer.textures[kHowToPlay3Slot], 0u) << "no third page picture was made";
    EXPECT_EQ(game.renderer.textures[kActivePositionSlot], 99u);

    // A third page picture is loaded when it exists.
    RecordingBoot withPage;
    withPage.pageThreeExists = true;
    RunBoot(game, withPage);
    EXPECT_EQ(withPage.textures.back(), howToPlay3File);
    EXPECT_NE(game.renderer.textures[kHowToPlay3Slot], 0u);
}

TEST_F(FrontEndTest, TheFirstLogoShowsBeforeTheRestLoadsAndIsNeverLeftWithAnythingUnloaded) {
    GameContext& game = GameContext::Get();
    std::vector<std::unique_ptr<RecordingBoot>> boots;
    // Starts a boot whose pictures take a millisecond each and shows the first logo frame.
    auto start = [&]() -> RecordingBoot& {
        game.lastMessage = WindowMessage{};
        RecordingBoot& boot = *boots.emplace_back(std::make_unique<RecordingBoot>());
        boot.game = &game;
        boot.textureTime = std::chrono::milliseconds(1);
        StartBoot(game, boot);
        EXPECT_EQ(game.currentState(), kLogoState);
        painter.drawn.clear();
        game.stateTable.UpdateCurrent();
        EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 0 blended"}));
        EXPECT_EQ(boot.textures, std::vector<std::string>{"Art Assets\\Screens\\LogoScreen.png"})
            << "the first logo frame shows the logo before anything else is loaded";
        EXPECT_EQ(boot.calls.back(), "settings") << "nor is the shader built";
        EXPECT_TRUE(BootLoading(game));
        return boot;
    };

    // Left alone, the logo frames load the rest a frame's budget at a time, long before the logo's time.
    {
        RecordingBoot& boot = start();
        int frames = 0;
        while (BootLoading(game) && frames < 100) {
            clock.now += clock.frequency / 60;
            game.stateTable.UpdateCurrent();
            ++frames;
            EXPECT_EQ(game.currentState(), kLogoState);
        }
        EXPECT_FALSE(BootLoading(game));
        EXPECT_GE(frames, 3) << "98 pictures of a millisecond take several frames of " << kBootFrameBudget.count()
                             << " ms";
        EXPECT_LT(frames, 100);
        EXPECT_EQ(game.bootLoader, nullptr);
        // The logo stays its two seconds.
        clock.now += clock.frequency;
        game.stateTable.UpdateCurrent();
        EXPECT_EQ(game.currentState(), kLogoState);
        EXPECT_EQ(boot.calls.size(), 18u);
    }
    // A key press or a click in the first logo frame, or later with the load half done, finishes the load
    // before the team logo comes; so does the logo's time running out first.
    for (int when : {0, 1, 2}) {
        for (uint32_t press : {uint32_t(WM_KEYDOWN), uint32_t(WM_LBUTTONDOWN), uint32_t(0)}) {
            if (press == 0 && when == 0) {
                continue;
            }
            RecordingBoot& boot = start();
            for (int frame = 0; frame < when; ++frame) {
                clock.now += clock.frequency / 60;
                game.stateTable.UpdateCurrent();
            }
            ASSERT_TRUE(BootLoading(game)) << "the load is not done by itself yet";
            ASSERT_EQ(game.currentState(), kLogoState);
            if (press != 0) {
                game.lastMessage.message = press;
            } else {
                clock.now += clock.frequency * 21 / 10;
            }
            game.stateTable.UpdateCurrent();
            EXPECT_EQ(game.currentState(), kTeamLogoState) << "press " << press << " after " << when;
            EXPECT_FALSE(BootLoading(game));
            EXPECT_EQ(boot.calls.back(), "campaign");
            EXPECT_EQ(boot.textures.size(), 98u);
        }
    }
    // The team logo then leads to the menu as before, with nothing of the boot left.
    game.lastMessage.message = WM_KEYDOWN;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kMainMenuState);
}

TEST_F(FrontEndTest, LogosMoveOnAfterTwoSecondsOrAKeyAndTheMenuLeadsOnThroughItsButtons) {
    GameContext& game = GameContext::Get();
    game.lastMessage = WindowMessage{};
    game.ChangeState(kLogoState);
    EXPECT_EQ(game.currentState(), kLogoState);
    const int32_t firstStartup = game.startupSound;

    // The logo stays until two seconds have passed since its first frame.
    game.stateTable.UpdateCurrent();
    clock.now += clock.frequency;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kLogoState);
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 0 blended", "frame", "picture 0 blended"}));
    clock.now += clock.frequency * 11 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kTeamLogoState);
    EXPECT_EQ(game.startupSound, firstStartup) << "the start-up sound is loaded once";
    EXPECT_TRUE(game.sound.Find(game.startupSound)->playing) << "and the team logo plays it again";

    // A key press leaves the team logo for the main menu at once.
    painter.drawn.clear();
    game.lastMessage.message = WM_KEYDOWN;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 52 blended"}));
    EXPECT_EQ(game.currentState(), kMainMenuState);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\menu.xml");
    ASSERT_EQ(game.hud.buttons().size(), 5u);
    const int32_t menuMusic = game.menuMusic;

    painter.drawn.clear();
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 1 blended", "hud"}));

    // The menu's third button leads to the options; the menu music stops.
    game.hud.ClickButton(game.hud.buttons()[2]);
    EXPECT_EQ(game.currentState(), kOptionsState);
    EXPECT_FALSE(game.sound.Find(menuMusic) != nullptr && game.sound.Find(menuMusic)->playing);
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\options.xml");
    EXPECT_TRUE(OptionsMessage::Get().active);
}

// The warm-up must never show: it is drawn once, on a frame whose logo picture is drawn over it, and only
// once the boot has loaded what it draws (from the second logo on).
TEST_F(FrontEndTest, TheSecondLogoWarmsTheRendererUpOnceUnderItsPicture) {
    GameContext& game = GameContext::Get();
    game.lastMessage = WindowMessage{};
    game.frontEndWarmedUp = false;
    game.ChangeState(kLogoState);
    game.stateTable.UpdateCurrent();
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 0 blended", "frame", "picture 0 blended"}));

    painter.drawn.clear();
    game.ChangeState(kTeamLogoState);
    for (int frame = 0; frame < 3; ++frame) {
        game.stateTable.UpdateCurrent();
    }
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 52 blended", "frame", "warm up",
                                                       "picture 52 blended", "frame", "picture 52 blended"}));
    EXPECT_EQ(game.currentState(), kTeamLogoState);
}

// Nothing loads between the team logo's enter and its first frame, so its two seconds count from the enter,
// as the first logo's count from its first frame when the boot loads on behind it.
TEST_F(FrontEndTest, TheTeamLogosTwoSecondsCountFromItsEnterOnceNothingIsLoading) {
    GameContext& game = GameContext::Get();
    game.lastMessage = WindowMessage{};
    game.ChangeState(kTeamLogoState);
    clock.now += clock.frequency * 15 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kTeamLogoState) << "its first frame, 1.5 s after the enter";
    clock.now += clock.frequency * 4 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kTeamLogoState) << "1.9 s after the enter";
    clock.now += clock.frequency * 2 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kMainMenuState) << "2.1 s after the enter, 0.6 s after its first frame";
}

TEST_F(FrontEndTest, APressLeavesOnlyTheLogoItWasMadeOn) {
    GameContext& game = GameContext::Get();
    for (uint32_t press : {uint32_t(WM_KEYDOWN), uint32_t(WM_LBUTTONDOWN)}) {
        game.lastMessage = WindowMessage{};
        game.ChangeState(kLogoState);
        game.lastMessage.message = press;
        game.stateTable.UpdateCurrent();
        ASSERT_EQ(game.currentState(), kTeamLogoState);
        // No new window message: the press that left the first logo is not seen again.
        for (int frame = 0; frame < 3; ++frame) {
            game.stateTable.UpdateCurrent();
        }
        EXPECT_EQ(game.currentState(), kTeamLogoState) << "press " << press;
        // A further press leaves the team logo.
        game.lastMessage.message = press;
        game.stateTable.UpdateCurrent();
        EXPECT_EQ(game.currentState(), kMainMenuState) << "press " << press;
    }
    // Without a press the first logo stays for its two seconds, counted from its first frame on screen: five
    // seconds passing between the boot's entering the logo and that frame do not skip it.
    game.lastMessage = WindowMessage{};
    RecordingBoot boot;
    boot.game = &game;
    StartBoot(game, boot);
    ASSERT_EQ(game.currentState(), kLogoState);
    clock.now += clock.frequency * 5;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kLogoState) << "the first frame shows the logo";
    clock.now += clock.frequency * 19 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kLogoState);
    clock.now += clock.frequency * 2 / 10;
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.currentState(), kTeamLogoState);
}

TEST_F(FrontEndTest, ThreeHundredTripsToTheOptionsLeaveTheMusicPlayingOnFewChannels) {
    GameContext& game = GameContext::Get();
    ASSERT_TRUE(game.sound.deviceOpen()) << "the dummy audio driver opens";
    game.ChangeState(kMainMenuState);
    game.ChangeState(kOptionsState);
    game.ChangeState(kHowToPlay1State);
    game.ChangeState(kMainMenuState);
    const size_t loaded = game.sound.sounds().size();
    for (int trip = 0; trip < 300; ++trip) {
        game.ChangeState(kOptionsState);
        game.ChangeState(kHowToPlay2State);
        game.ChangeState(kMainMenuState);
    }
    EXPECT_EQ(game.sound.sounds().size(), loaded) << "every screen's sounds are loaded once";
    int32_t taken = 0;
    for (int32_t channel = 0; channel < SoundManager::channelCount; ++channel) {
        taken += game.sound.channelFree(channel) ? 0 : 1;
    }
    EXPECT_LE(taken, 8);
    const SoundEntry* music = game.sound.Find(game.menuMusic);
    ASSERT_NE(music, nullptr);
    EXPECT_TRUE(music->playing);
    EXPECT_GE(music->channel, 0);
}

TEST_F(FrontEndTest, OptionsStepTheVolumeAndToggleFullScreenOnlyWhileShown) {
    GameContext& game = GameContext::Get();
    game.ChangeState(kOptionsState);
    game.sound.SetMasterVolume(128);

    SendHud(0);
    EXPECT_EQ(game.sound.masterVolume(), 154);
    SendHud(1);
    SendHud(1);
    EXPECT_EQ(game.sound.masterVolume(), 102);
    SendHud(7);
    EXPECT_EQ(game.sound.masterVolume(), 102) << "other values are ignored";
    SendHud(2);
    EXPECT_TRUE(window->fullScreen);

    painter.drawn.clear();
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(painter.drawn, (std::vector<std::string>{"frame", "picture 8 blended", "hud", "volume 4"}));

    game.ChangeState(kCreditsState);
    EXPECT_FALSE(OptionsMessage::Get().active);
    SendHud(0);
    EXPECT_EQ(game.sound.masterVolume(), 102) << "the options receiver is off on other screens";
    EXPECT_EQ(game.hud.fileName(), "XMLFiles\\GUI\\credits.xml");

    // Quitting releases the level's models and ends the loop.
    game.levelBlockModel = std::make_unique<ModelNode>();
    game.ChangeState(kQuitState);
    game.stateTable.UpdateCurrent();
    EXPECT_EQ(game.levelBlockModel, nullptr);
    ASSERT_FALSE(window->queue.empty());
    EXPECT_EQ(window->queue.back().message, WM_QUIT);
}

TEST(Volume, StepsOf26WithinTheByteAndTenLevels) {
    std::vector<int32_t> up;
    std::vector<int32_t> upLevels;
    for (uint8_t v = 128; up.size() < 5;) {
        v = VolumeUp(v);
        up.push_back(v);
        upLevels.push_back(VolumeLevel(v));
    }
    EXPECT_EQ(up, (std::vector<int32_t>{154, 180, 206, 232, 255}));
    EXPECT_EQ(upLevels, (std::vector<int32_t>{6, 7, 8, 9, 10}));
    std::vector<int32_t> down;
    std::vector<int32_t> downLevels;
    for (uint8_t v = 128; down.size() < 5;) {
        v = VolumeDown(v);
        down.push_back(v);
        downLevels.push_back(VolumeLevel(v));
    }
    EXPECT_EQ(down, (std::vector<int32_t>{102, 76, 50, 24, 0}));
    EXPECT_EQ(downLevels, (std::vector<int32_t>{4, 2, 1, 0, 0}));
    EXPECT_EQ(VolumeUp(229), 255);
    EXPECT_EQ(VolumeUp(228), 254);
    EXPECT_EQ(VolumeDown(26), 0);
    EXPECT_EQ(VolumeDown(27), 1);
}

TEST(CameraMsg, FlagsTellWhichCameraKeysAreDownThisFrame) {
    MessageDispatcher dispatcher;
    CameraKeys keys;
    CameraMsg receiver(keys, dispatcher);
    for (int32_t code : {17, 30, 99}) {
        Message message;
        message.type = KeyDown;
        message.value = code;
        dispatcher.Send(message);
    }
    Message released;
    released.type = KeyReleased;
    released.value = 31;
    dispatcher.Send(released);
    dispatcher.Update();
    EXPECT_TRUE(keys.Held(CameraAction::ZoomIn));
    EXPECT_TRUE(keys.Held(CameraAction::RotateLeft));
    EXPECT_FALSE(keys.Held(CameraAction::ZoomOut));
    dispatcher.Update();
    EXPECT_FALSE(keys.Held(CameraAction::ZoomIn)) << "flags last one frame";
}

TEST(Boot, EveryPictureItLoadsIsInTheRunFolder) {
    std::vector<std::string> missing;
    auto check = [&missing](const char* file) {
        if (!std::filesystem::is_regular_file(NativePath(file))) {
            missing.push_back(file);
        }
    };
    for (const char* file : LevelMap::TextureFiles) {
        check(file);
    }
    for (const BootPicture& picture : bootPictures) {
        check(picture.file);
    }
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_EQ(bootPictures.size(), 72u);
}

TEST_F(FrontEndTest, SettingsChangedOnAnyScreenAreWrittenAndComeBackAtTheNextStart) {
    GameContext& game = GameContext::Get();
    std::filesystem::remove(SettingsFilePath());
    LoadSettingsAtStart(game);
    EXPECT_EQ(game.sound.masterVolume(), 128) << "no file: the defaults";
    KeepSettings(game);
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath())) << "nothing changed, nothing written";

    game.ChangeState(kOptionsState);
    SendHud(0);
    SendHud(kComputerSpeedValue);
    SendHud(kOpponentRuleValue);
    EXPECT_EQ(game.settings.computerSpeed, ComputerSpeed::Fast);
    EXPECT_EQ(game.settings.opponent, OpponentRule::Veteran);
    EXPECT_EQ(GetOpponentRule(2), OpponentRule::Veteran) << "the next battles play by the chosen rule";
    EXPECT_EQ(GetAiActionMilliseconds(), 250);
    KeepSettings(game);
    SettingsRead read = ReadSettingsFile(SettingsFilePath());
    ASSERT_EQ(read.state, PlayerFileState::Read);
    EXPECT_EQ(read.settings.volume, 154);
    EXPECT_EQ(read.settings.computerSpeed, ComputerSpeed::Fast);
    EXPECT_EQ(read.settings.opponent, OpponentRule::Veteran);

    // A camera key set on the debug bar and full screen from the window are kept too.
    game.renderer.camera.keys.codes[int32_t(CameraAction::ZoomIn)] = 44;
    game.window().ToggleFullScreen();
    KeepSettings(game);
    read = ReadSettingsFile(SettingsFilePath());
    EXPECT_EQ(read.settings.cameraKeys[0], 44);
    EXPECT_TRUE(read.settings.fullScreen);

    // The next start takes them all up again.
    ApplySettings(game, Settings{});
    EXPECT_EQ(game.sound.masterVolume(), 128);
    LoadSettingsAtStart(game);
    EXPECT_EQ(game.sound.masterVolume(), 154);
    EXPECT_EQ(game.renderer.camera.keys.codes[0], 44);
    EXPECT_TRUE(game.window().IsFullScreen());
    EXPECT_EQ(game.settings.opponent, OpponentRule::Veteran);
    painter.drawn.clear();

    // A broken file says so and the game goes on with the defaults.
    { std::ofstream(SettingsFilePath()) << "<settings><volume>"; }
    dialogs.clear();
    LoadSettingsAtStart(game);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_NE(dialogs.shown()[0].text.find("settings.xml.bad"), std::string::npos) << dialogs.shown()[0].text;
    EXPECT_EQ(game.sound.masterVolume(), 128);
    EXPECT_FALSE(game.window().IsFullScreen());
    EXPECT_TRUE(std::filesystem::exists(SettingsFilePath() + ".bad"));
    EXPECT_EQ(GetOpponentRule(2), OpponentRule::Classic);
    EXPECT_EQ(GetAiActionMilliseconds(), 1000);
    ApplySettings(game, Settings{});
    KeepSettings(game);
    game.ChangeState(kMainMenuState);
}

TEST_F(FrontEndTest, TheMenuOffersContinueOnlyWithASaveAndStartAsksBeforeReplacingIt) {
    GameContext& game = GameContext::Get();
    const bool made = !game.campaign;
    if (made) {
        game.campaign = std::make_unique<Campaign>();
    }
    // The menu acts on its buttons in its own frame, after every receiver has had the click.
    auto click = [&](int32_t value) {
        SendHud(value);
        game.stateTable.UpdateCurrent();
    };
    auto hasContinue = [&] {
        for (const HudButton& button : game.hud.buttons()) {
            if (button.function == int32_t(ButtonFunction::Message) && button.data == kContinueValue) {
                return true;
            }
        }
        return false;
    };
    std::filesystem::remove(CampaignFilePath());
    game.ChangeState(kMainMenuState);
    EXPECT_FALSE(hasContinue()) << "nothing saved, nothing to continue";
    dialogs.clear();
    click(kStartValue);
    EXPECT_EQ(game.currentState(), kWorldMapState);
    EXPECT_EQ(dialogs.count(DialogKind::Question), 0) << "nothing to replace, nothing asked";
    EXPECT_TRUE(std::filesystem::exists(CampaignFilePath())) << "the world map saves the campaign";

    game.campaign->ChangeStanding(0, -30);
    game.ChangeState(kWorldMapState);
    game.campaign->ChangeStanding(0, 40);
    game.ChangeState(kMainMenuState);
    EXPECT_TRUE(hasContinue());
    click(kContinueValue);
    EXPECT_EQ(game.currentState(), kWorldMapState);
    EXPECT_EQ(game.campaign->standings[0], 20) << "the saved standing, not the one changed since";

    game.ChangeState(kMainMenuState);
    dialogs.clear();
    click(kStartValue);
    ASSERT_EQ(dialogs.count(DialogKind::Question), 1);
    EXPECT_EQ(dialogs.shown()[0].text, kReplaceCampaignQuestion);
    EXPECT_EQ(game.currentState(), kMainMenuState) << "No keeps the saved campaign";
    EXPECT_EQ(game.campaign->standings[0], 20);
    dialogs.AnswerQuestions(DialogAnswer::Yes);
    click(kStartValue);
    EXPECT_EQ(game.currentState(), kWorldMapState);
    EXPECT_EQ(game.campaign->standings[0], 50);
    dialogs.AnswerQuestions(DialogAnswer::No);

    // A broken save is reported, moved aside and no longer offered; the menu stays.
    game.ChangeState(kMainMenuState);
    { std::ofstream(CampaignFilePath()) << "<campaign><standings faction1="; }
    dialogs.clear();
    click(kContinueValue);
    EXPECT_EQ(game.currentState(), kMainMenuState);
    ASSERT_EQ(dialogs.count(DialogKind::Error), 1);
    EXPECT_NE(dialogs.shown()[0].text.find("campaign.xml.bad"), std::string::npos) << dialogs.shown()[0].text;
    EXPECT_TRUE(std::filesystem::exists(CampaignFilePath() + ".bad"));
    EXPECT_FALSE(hasContinue());
    game.ChangeState(kCreditsState);
    if (made) {
        game.campaign.reset();
    }
}
