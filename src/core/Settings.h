#pragma once

#include "combat/OpponentRule.h"
#include "data/SaveFiles.h"

#include <array>
#include <cstdint>
#include <string>

class GameContext;

// The player's settings, kept in "settings.xml" of the settings folder: read at start, written whenever one
// of them changes, wherever it was changed (options screen, pause menu, debug bar, window).

// How long the computer waits before each of its actions.
enum class ComputerSpeed : int32_t { Normal = 0, Fast = 1 };

// Number of camera keys the debug bar sets (zoom in, rotate left, zoom out, rotate right, pitch up, pitch
// down, in the camera's action order).
constexpr int kSettingsCameraKeys = 6;

struct Settings {
    uint8_t volume = 128;
    bool fullScreen = false;
    std::array<int32_t, kSettingsCameraKeys> cameraKeys{17, 30, 31, 32, 16, 18};
    ComputerSpeed computerSpeed = ComputerSpeed::Normal;
    // The rule that plays the computer's side (player 2).
    OpponentRule opponent = OpponentRule::Classic;

    bool operator==(const Settings&) const = default;
};

// Milliseconds between two actions of the computer: 1000 at normal speed, 250 fast.
int64_t AiActionMilliseconds(ComputerSpeed speed);
// The names the options screen shows: "Normal" / "Fast", and the rule's own name ("Classic" / "Veteran").
const char* SpeedName(ComputerSpeed speed);
const char* OpponentName(OpponentRule opponent);

// [SECTION] The file

// The settings file: ConfigFolder()/settings.xml.
std::string SettingsFilePath();

// The file's text for the settings.
std::string SettingsText(const Settings& settings);

// What reading the settings file gave: the settings (defaults for what is missing or unreadable), whether
// the file was there and sound, and for a broken file the message for the player (the file is then kept
// aside as "settings.xml.bad").
struct SettingsRead {
    Settings settings;
    PlayerFileState state = PlayerFileState::Missing;
    std::string message;
};
SettingsRead ReadSettingsFile(const std::string& path);

// Saves the settings durably (making the folder); false with the reason when it could not.
bool WriteSettingsFile(const std::string& path, const Settings& settings, std::string& error);

// [SECTION] The running game

// The settings as the game has them now.
Settings CurrentSettings(GameContext& game);
// Puts the settings into the game (volume, full screen, camera keys, computer speed and rule).
void ApplySettings(GameContext& game, const Settings& settings);
// Hands the computer's speed and rule to the battles to come (and to a running one at its next frame).
void UseOpponentSettings(const Settings& settings);
// Reads the settings file once the window is open and applies it; a broken file shows its message.
void LoadSettingsAtStart(GameContext& game);
// Called every frame: writes the file when the game's settings differ from those last read or written. A
// failed save shows its box once and is tried again at the next change.
void KeepSettings(GameContext& game);
