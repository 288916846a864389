#pragma once

#include <cstdint>
#include <string>
#include <vector>

class GameContext;

// What the boot loader asks of the game while it loads; the game's own services do the work, tests
// record the calls.
class BootServices {
public:
    virtual ~BootServices() = default;
    // Opens the window and GL context, shows the loading screen and loads the model catalogue.
    virtual void InitRenderer() = 0;
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

// Loads everything in order, storing what it loads in the context; switches to the logo half-way.
void RunBoot(GameContext& game, BootServices& services);
