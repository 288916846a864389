#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class GameContext;

// What the boot loader asks of the game while it loads; the game's own services do the work, tests
// record the calls.
class BootServices {
public:
    virtual ~BootServices() = default;
    // Opens the window and GL context and readies the renderer to show pictures: GL state and camera.
    virtual void OpenRenderer() = 0;
    // Builds the lighting shader and draws with it from then on.
    virtual void BuildShader() = 0;
    // Builds the text font.
    virtual void CreateFont() = 0;
    // The model file of every slot the model catalogue names, in slot order ("" where it names none).
    virtual std::vector<std::string> ReadModelCatalogue() = 0;
    // Loads a model file into its slot of the model table (an empty name leaves the slot empty).
    virtual void LoadModel(int32_t slot, const std::string& file) = 0;
    // Compiles the display lists of the model in a slot, if there is one.
    virtual void BuildModelLists(int32_t slot) = 0;
    // Lists the mission files and the module files.
    virtual void ListDataFiles(std::vector<std::string>& missionFiles,
                               std::vector<std::string>& moduleFiles) = 0;
    // Creates the keyboard and mouse and lets them be read from the next frame on.
    virtual void CreateInput() = 0;
    // Loads a sound and returns its id (-1 when it cannot be read).
    virtual int32_t LoadSound(const std::string& path, bool stream, bool looping) = 0;
    // True when the file exists.
    virtual bool FileExists(const std::string& path) = 0;
    // Loads a picture and returns its texture (0 when it cannot be read).
    virtual uint32_t LoadTexture(const std::string& path) = 0;
    // Creates an empty texture of the size.
    virtual uint32_t CreateBlankTexture(int32_t width, int32_t height) = 0;
    // Moves to another screen.
    virtual void ChangeState(int32_t state) = 0;
    // Reads the player's settings file and applies it (volume, full screen, camera keys, opponent).
    virtual void LoadSettings() = 0;
    // Uses up the random number the logo's start-up sound would have drawn here, had the logo come after
    // the models and sounds (see GameBoot::ChangeState).
    virtual void SkipLogoRandomDraw() = 0;
    // Builds the level's tile block and tile marker models.
    virtual void BuildLevelModels() = 0;
    // Builds the active-unit marker model into its slot, textured with the given texture.
    virtual void BuildMarkerModel(uint32_t texture) = 0;
    // Creates the campaign with the player's army.
    virtual void CreateCampaign() = 0;
};

// One picture the boot loads into a screen-texture slot.
struct BootPicture {
    int32_t slot;
    const char* file;
};

// The pictures loaded into screen-texture slots, in loading order.
extern const std::vector<BootPicture> bootPictures;
// The generated third how-to-play page, loaded into slot 21 when it exists.
extern const char* const howToPlay3File;
// Slot of the active position picture the marker model is textured with.
constexpr int32_t kActivePositionSlot = 29;
// Slot of the blank 800 x 600 texture.
constexpr int32_t kBlankScreenSlot = 2;

// The boot's loading in small steps, so that the first logo is on screen while the rest loads. Start opens
// the window, loads the logo picture, enters the logo screen and reads the settings; every later step
// loads one thing, in the order the game has always loaded them.
class BootLoader {
public:
    BootLoader(GameContext& game, BootServices& services);
    // Takes the services along; the loader keeps them until it is destroyed.
    BootLoader(GameContext& game, std::unique_ptr<BootServices> services);
    BootLoader(const BootLoader&) = delete;
    BootLoader& operator=(const BootLoader&) = delete;

    // The first step: ends with the logo screen current and the settings applied.
    void Start();
    // Runs steps until one ends after the budget has been used up; true when everything is loaded.
    bool Continue(std::chrono::steady_clock::duration budget);
    // Runs every step that is left.
    void Finish();
    // True when every step has run.
    bool done() const { return started_ && next_ >= steps_.size(); }
    // Steps run and steps in all (after Start).
    size_t stepsRun() const { return next_; }
    size_t stepCount() const { return steps_.size(); }

private:
    void AddSteps();

    GameContext& game_;
    std::unique_ptr<BootServices> owned_;
    BootServices& services_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    bool started_ = false;
    std::vector<std::string> modelFiles_;
};

// How long the logo frames may spend loading, per frame.
constexpr std::chrono::milliseconds kBootFrameBudget{20};

// Loads everything in order at once (Start, then Finish), storing what it loads in the context.
void RunBoot(GameContext& game, BootServices& services);
// Makes the services the context's boot and runs its first step; the logo frames load the rest.
void StartBoot(GameContext& game, std::unique_ptr<BootServices> services);
// The same with services that outlive the boot.
void StartBoot(GameContext& game, BootServices& services);
// While the context's boot is loading: runs its steps for about a frame's budget. Nothing otherwise.
void ContinueBoot(GameContext& game, std::chrono::steady_clock::duration budget = kBootFrameBudget);
// Loads all that is left of the context's boot now; afterwards nothing is left to load.
void FinishBoot(GameContext& game);
// True while the context's boot has steps left.
bool BootLoading(const GameContext& game);
