#include "core/Boot.h"

#include "core/GameContext.h"
#include "core/Screens.h"
#include "data/Component.h"
#include "hud/gl/HudDrawing.h"
#include "platform/Paths.h"
#include "platform/sdl/InputDevices.h"
#include "platform/sdl/Texture.h"
#include "render/ModelCatalogue.h"
#include "render/gl/ModelDrawing.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>

const std::vector<BootPicture> bootPictures = {
    {16, "Art Assets\\Buttons\\Generic\\Menu_Block_Black.png"},
    {5, "Art Assets\\Textures\\Army2.png"},
    {4, "Art Assets\\Textures\\Army1.png"},
    {32, "Art Assets\\Textures\\Army3.png"},
    {33, "Art Assets\\Textures\\ArmyPlayer.png"},
    {34, "Art Assets\\Textures\\Ace.png"},
    {22, "Art Assets\\Textures\\Building10.png"},
    {35, "Art Assets\\Textures\\Custom1.png"},
    {36, "Art Assets\\Textures\\Custom2.png"},
    {37, "Art Assets\\Textures\\Custom3.png"},
    {38, "Art Assets\\Textures\\Custom4.png"},
    {39, "Art Assets\\Textures\\Custom5.png"},
    {40, "Art Assets\\Textures\\Custom6.png"},
    {0, "Art Assets\\Screens\\LogoScreen.png"},
    {19, "Art Assets\\Screens\\HowTo_Units.png"},
    {20, "Art Assets\\Screens\\HowTo_Controls.png"},
    {1, "Art Assets\\Screens\\TitleScreen.png"},
    {8, "Art Assets\\Screens\\OptionsScreen.png"},
    {11, "Art Assets\\Screens\\WorldMap.png"},
    {9, "Art Assets\\Screens\\CreditsScreen.png"},
    {25, "Art Assets\\Screens\\loadout_screen.png"},
    {10, "Art Assets\\Screens\\Squad_Select_Screen_1_Outline_Text.png"},
    {52, "Art Assets\\Screens\\TeamLogoScreen.png"},
    {53, "Art Assets\\Textures\\mainmenu_buttonHighlight_credits.png"},
    {54, "Art Assets\\Textures\\mainmenu_buttonHighlight_exit.png"},
    {55, "Art Assets\\Textures\\mainmenu_buttonHighlight_options.png"},
    {56, "Art Assets\\Textures\\mainmenu_buttonHighlight_StartMenu.png"},
    {17, "Art Assets\\Menu_WorldMap_Active_Mission_Button.png"},
    {18, "Art Assets\\Menu_WorldMap_Event_Button.png"},
    {15, "Art Assets\\Textures\\Particle_Texture.png"},
    {26, "Art Assets\\Textures\\Empty_Bar.png"},
    {27, "Art Assets\\Textures\\Life_Bar.png"},
    {28, "Art Assets\\Textures\\Time_Bar.png"},
    {31, "Art Assets\\Textures\\Dead_Bar.png"},
    {76, "Art Assets\\Textures\\FactionIcon2.png"},
    {77, "Art Assets\\Textures\\FactionIcon1.png"},
    {78, "Art Assets\\Textures\\FactionIcon3.png"},
    {41, "Art Assets\\Textures\\statcard.png"},
    {66, "Art Assets\\Textures\\statcardMirror.png"},
    {42, "Art Assets\\Textures\\hud\\endTurnUp.png"},
    {43, "Art Assets\\Textures\\hud\\endTurnDown.png"},
    {44, "Art Assets\\Textures\\hud\\undoUp.png"},
    {45, "Art Assets\\Textures\\hud\\undoDown.png"},
    {46, "Art Assets\\Textures\\hud\\moveOn.png"},
    {47, "Art Assets\\Textures\\hud\\moveOff.png"},
    {48, "Art Assets\\Textures\\hud\\attackOn.png"},
    {49, "Art Assets\\Textures\\hud\\attackOff.png"},
    {50, "Art Assets\\Textures\\hud\\statsOn.png"},
    {51, "Art Assets\\Textures\\hud\\statsOff.png"},
    {57, "Art Assets\\Buttons\\Pause\\pauseTop1.png"},
    {58, "Art Assets\\Buttons\\Pause\\pauseExit5.png"},
    {59, "Art Assets\\Buttons\\Pause\\pauseExitDown5.png"},
    {60, "Art Assets\\Buttons\\Pause\\pauseHowToPlay4.png"},
    {61, "Art Assets\\Buttons\\Pause\\pauseHowToPlayDown4.png"},
    {62, "Art Assets\\Buttons\\Pause\\pauseOptions3.png"},
    {63, "Art Assets\\Buttons\\Pause\\pauseOptionsDown3.png"},
    {64, "Art Assets\\Buttons\\Pause\\pauseContinue2.png"},
    {65, "Art Assets\\Buttons\\Pause\\pauseContinueDown2.png"},
    {72, "Art Assets\\Buttons\\Options\\options_highlight+_volumebutton.png"},
    {73, "Art Assets\\Buttons\\Options\\options_highlight-_volumebutton.png"},
    {74, "Art Assets\\Buttons\\Options\\options_highlight_backbutton.png"},
    {75, "Art Assets\\Buttons\\Options\\options_highlight_fullscreenbutton.png"},
    {81, "Art Assets\\Buttons\\Options\\options_highlight_choicebutton.png"},
    {79, "Art Assets\\Buttons\\Generic\\Menu_Continue.png"},
    {80, "Art Assets\\Buttons\\Generic\\Menu_ContinueLit.png"},
    {71, "Art Assets\\Buttons\\Credits\\BackCreditsMouseover.png"},
    {67, "Art Assets\\Buttons\\World Overview\\buildButton.png"},
    {68, "Art Assets\\Buttons\\World Overview\\buildButtonMouseover.png"},
    {69, "Art Assets\\Buttons\\World Overview\\backWorldMapButton.png"},
    {70, "Art Assets\\Buttons\\World Overview\\backWorldMapButtonMouseover.png"},
    {7, "Art Assets\\Screens\\pauseBlack.png"},
    {29, "Art Assets\\Textures\\ActivePos.png"},
};

const char* const howToPlay3File = "Art Assets\\Screens\\HowTo_Objectives.png";

namespace {

// The file the picture list loads into a slot.
const char* PictureOfSlot(int32_t slot) {
    for (const BootPicture& picture : bootPictures) {
        if (picture.slot == slot) {
            return picture.file;
        }
    }
    return "";
}

} // namespace

const char* const loadingPictureFile = "Art Assets\\Screens\\Loading.png";

BootLoader::BootLoader(GameContext& game, BootServices& services) : game_(game), services_(services) {}

BootLoader::BootLoader(GameContext& game, std::unique_ptr<BootServices> services)
    : game_(game), owned_(std::move(services)), services_(*owned_) {}

void BootLoader::Start() {
    if (started_) {
        return;
    }
    started_ = true;
    services_.OpenRenderer();
    // The first logo needs its picture and nothing else; the picture list below skips it.
    game_.renderer.textures[kLogoScreenSlot] = services_.LoadTexture(PictureOfSlot(kLogoScreenSlot));
    services_.ChangeState(kLogoState);
    // Before the first logo frame: the window is already full-screen if the player left it so.
    services_.LoadSettings();
    AddSteps();
}

void BootLoader::AddSteps() {
    GameContext& game = game_;
    BootServices& services = services_;
    // The logo's picture is copied into the frame without it; everything after the logo is drawn with it.
    steps_.push_back([&services] { services.BuildShader(); });
    steps_.push_back([&services] { services.CreateFont(); });
    steps_.push_back([&game, &services] {
        game.renderer.textures[loadingScreenSlot] = services.LoadTexture(loadingPictureFile);
    });
    steps_.push_back([this] { modelFiles_ = services_.ReadModelCatalogue(); });
    for (int32_t slot = 0; slot < modelSlotCount; ++slot) {
        steps_.push_back([this, slot] {
            if (size_t(slot) < modelFiles_.size()) {
                services_.LoadModel(slot, modelFiles_[size_t(slot)]);
            }
        });
    }
    for (int32_t slot = 0; slot < modelSlotCount; ++slot) {
        steps_.push_back([&services, slot] { services.BuildModelLists(slot); });
    }
    steps_.push_back([&game, &services] {
        services.ListDataFiles(game.missionFiles, game.moduleFiles);
        services.CreateInput();
        game.menuMusic = services.LoadSound("Sound Assets\\BGM\\05 - Rock And A Hard Place.mp3", true, true);
        game.interfaceSound =
            services.LoadSound("Sound Assets\\SFX\\Menu_Sounds\\Menu_Mechanical03.wav", false, false);
        services.SkipLogoRandomDraw();
    });
    for (size_t i = 0; i < std::size(LevelMap::TextureFiles); ++i) {
        steps_.push_back([&game, &services, i] {
            game.level.textures[i] = services.LoadTexture(LevelMap::TextureFiles[i]);
        });
    }
    steps_.push_back([&game, &services] {
        services.BuildLevelModels();
        game.renderer.textures[kBlankScreenSlot] = services.CreateBlankTexture(800, 600);
    });
    for (const BootPicture& picture : bootPictures) {
        if (picture.slot == kLogoScreenSlot) {
            continue;
        }
        steps_.push_back([&game, &services, &picture] {
            game.renderer.textures[size_t(picture.slot)] = services.LoadTexture(picture.file);
        });
    }
    steps_.push_back([&game, &services] {
        // The third how-to-play page has no picture of its own unless one was made for it.
        if (services.FileExists(howToPlay3File)) {
            game.renderer.textures[kHowToPlay3Slot] = services.LoadTexture(howToPlay3File);
        }
        services.BuildMarkerModel(game.renderer.textures[kActivePositionSlot]);
        services.CreateCampaign();
    });
}

bool BootLoader::Continue(std::chrono::steady_clock::duration budget) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + budget;
    while (next_ < steps_.size()) {
        steps_[next_++]();
        if (Clock::now() >= until) {
            break;
        }
    }
    return done();
}

void BootLoader::Finish() {
    while (next_ < steps_.size()) {
        steps_[next_++]();
    }
}

void RunBoot(GameContext& game, BootServices& services) {
    BootLoader loader(game, services);
    loader.Start();
    loader.Finish();
}

void StartBoot(GameContext& game, std::unique_ptr<BootServices> services) {
    game.bootLoader = std::make_unique<BootLoader>(game, std::move(services));
    game.bootLoader->Start();
}

void StartBoot(GameContext& game, BootServices& services) {
    game.bootLoader = std::make_unique<BootLoader>(game, services);
    game.bootLoader->Start();
}

void ContinueBoot(GameContext& game, std::chrono::steady_clock::duration budget) {
    if (game.bootLoader != nullptr && game.bootLoader->Continue(budget)) {
        game.bootLoader.reset();
    }
}

void FinishBoot(GameContext& game) {
    if (game.bootLoader != nullptr) {
        game.bootLoader->Finish();
        game.bootLoader.reset();
    }
}

bool BootLoading(const GameContext& game) {
    return game.bootLoader != nullptr && !game.bootLoader->done();
}

namespace {

// Decodes pictures on a thread of its own, in the order the boot will ask for them; the boot then only makes
// them textures. The first is decoded while the window opens; the others wait until it has been taken, so
// that they do not slow the window down on a busy machine, and are decoded while the models load.
class PicturePrefetch {
public:
    explicit PicturePrefetch(std::vector<std::string> paths)
        : paths_(std::move(paths)), promises_(paths_.size()) {
        for (size_t i = 0; i < paths_.size(); ++i) {
            waiting_.emplace(paths_[i], promises_[i].get_future());
        }
        std::future<void> firstTaken = firstTaken_.get_future();
        worker_ = std::thread([this, firstTaken = std::move(firstTaken)] {
            for (size_t i = 0; i < paths_.size() && !stop_; ++i) {
                if (i == 1) {
                    firstTaken.wait();
                }
                if (!stop_) {
                    promises_[i].set_value(DecodePicture(paths_[i]));
                }
            }
        });
    }
    // A boot cut short stops decoding after the picture at hand.
    ~PicturePrefetch() {
        stop_ = true;
        ReleaseRest();
        worker_.join();
    }
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // The picture decoded for the path, once it is ready; none for a path not asked for (or asked again).
    std::optional<DecodedPicture> Take(const std::string& path) {
        auto found = waiting_.find(path);
        if (found == waiting_.end()) {
            return std::nullopt;
        }
        DecodedPicture picture = found->second.get();
        waiting_.erase(found);
        ReleaseRest();
        return picture;
    }

private:
    // Lets the worker go on past the first picture.
    void ReleaseRest() {
        if (!released_) {
            released_ = true;
            firstTaken_.set_value();
        }
    }

    std::vector<std::string> paths_;
    std::vector<std::promise<DecodedPicture>> promises_;
    std::unordered_map<std::string, std::future<DecodedPicture>> waiting_;
    std::promise<void> firstTaken_;
    bool released_ = false;
    std::atomic<bool> stop_{false};
    std::thread worker_;
};

// Every picture the boot loads from a file, in its order: the logo's first.
std::vector<std::string> BootPictureFiles() {
    std::vector<std::string> files = {PictureOfSlot(kLogoScreenSlot), loadingPictureFile};
    files.insert(files.end(), std::begin(LevelMap::TextureFiles), std::end(LevelMap::TextureFiles));
    for (const BootPicture& picture : bootPictures) {
        if (picture.slot != kLogoScreenSlot) {
            files.emplace_back(picture.file);
        }
    }
    files.emplace_back(howToPlay3File);
    return files;
}

// Draws C random numbers from a sequence of its own while it lives; the game's sequence is left where it
// was.
class RandomAside {
public:
    RandomAside() : previous_(initstate(1, state_, sizeof(state_))) {}
    ~RandomAside() { setstate(previous_); }
    RandomAside(const RandomAside&) = delete;
    RandomAside& operator=(const RandomAside&) = delete;

private:
    char state_[128] = {};
    char* previous_;
};

// The boot of the running game.
class GameBoot final : public BootServices {
public:
    explicit GameBoot(GameContext& game) : game_(game), prefetch_(BootPictureFiles()) {}

    void OpenRenderer() override {
        // The renderer's start-up up to a frame that shows a picture; the shader, the font, the models and
        // the rest load over the logo's frames.
        Renderer& renderer = game_.renderer;
        renderer.UseWindow(&game_.window());
        renderer.OpenWindow(800, 600);
        // Buttons get their pick silhouettes from now on; the mouse finds them by colour.
        InstallHudTextureHooks(game_.hud);
        // Binds the context itself: the boot object is gone by the time the mouse moves.
        game_.hudPointer.pickColour = [&game = game_](int32_t x, int32_t y) {
            const PickedObject picked = PickObject(game.renderer, game.hud, PickScene{}, x, y);
            return picked.button != nullptr ? int32_t(picked.button->pickColour) : 0;
        };
    }
    void BuildShader() override {
        game_.renderer.StartLighting();
        game_.shadersAvailable = game_.renderer.shaderReady();
    }
    void CreateFont() override { game_.renderer.font.Create(); }
    std::vector<std::string> ReadModelCatalogue() override {
        std::vector<std::string> files;
        ::ReadModelCatalogue("XMLFiles\\Models.xml", files);
        return files;
    }
    void LoadModel(int32_t slot, const std::string& file) override {
        Renderer& renderer = game_.renderer;
        renderer.models[size_t(slot)] = !file.empty() ? LoadAse(renderer.aseLoader, file) : nullptr;
    }
    void BuildModelLists(int32_t slot) override {
        if (ModelNode* model = game_.renderer.models[size_t(slot)].get()) {
            model->BuildDisplayLists();
        }
    }
    void ListDataFiles(std::vector<std::string>& missionFiles,
                       std::vector<std::string>& moduleFiles) override {
        ListFiles("XMLFiles\\Missions", missionFiles);
        ListModuleFiles(moduleFiles);
    }
    void CreateInput() override {
        InputDevices& input = game_.CreateInput();
        input.CreateKeyboard();
        input.CreateMouse();
        input.initialised = true;
        // The window was just opened in front; losing the focus switches reading off.
        input.active = true;
    }
    int32_t LoadSound(const std::string& path, bool stream, bool looping) override {
        return game_.sound.LoadSound(path, stream, looping);
    }
    bool FileExists(const std::string& path) override {
        std::error_code error;
        return std::filesystem::is_regular_file(NativePath(path), error);
    }
    uint32_t LoadTexture(const std::string& path) override {
        if (std::optional<DecodedPicture> picture = prefetch_.Take(path)) {
            return UploadPicture(*picture);
        }
        return ::LoadTexture(path);
    }
    uint32_t CreateBlankTexture(int32_t width, int32_t height) override {
        return ::CreateBlankTexture(width, height);
    }
    void ChangeState(int32_t state) override {
        // The logo's start-up sound draws its id from a sequence of its own: the models' colours and
        // everything after them draw the same numbers as when the logo was entered after the models and
        // sounds had loaded, so a game started with a given seed plays out as it always did.
        RandomAside aside;
        game_.ChangeState(state);
    }
    void LoadSettings() override { LoadSettingsAtStart(game_); }
    void SkipLogoRandomDraw() override { (void)std::rand(); }
    void BuildLevelModels() override {
        game_.levelBlockModel = std::make_unique<ModelNode>();
        game_.levelBlockModel->BuildProceduralModel(ProceduralTileBlock);
        game_.levelMarkerModel = std::make_unique<ModelNode>();
        game_.levelMarkerModel->BuildProceduralModel(ProceduralTileMarker);
    }
    void BuildMarkerModel(uint32_t texture) override {
        auto marker = std::make_unique<ModelNode>();
        marker->FillProceduralMesh(ProceduralActiveMarker);
        marker->SetNodeTexture(texture, true);
        marker->BuildDisplayLists();
        game_.renderer.models[activeMarkerSlot] = std::move(marker);
    }
    void CreateCampaign() override { game_.campaign = std::make_unique<Campaign>(); }

private:
    GameContext& game_;
    PicturePrefetch prefetch_;
};

} // namespace

void BootUpdate() {
    GameContext& game = GameContext::Get();
    if (game.bootLoader == nullptr) {
        StartBoot(game, std::make_unique<GameBoot>(game));
    }
}
