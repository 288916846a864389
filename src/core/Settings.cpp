#include "core/Settings.h"

#include "core/GameContext.h"
#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/DurableSave.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const KeyNames[kSettingsCameraKeys] = {"zoomIn",      "rotateLeft", "zoomOut",
                                                   "rotateRight", "pitchUp",    "pitchDown"};

// An integer element's text when it holds one (digits, optional sign); false otherwise.
bool ReadInt(const tinyxml2::XMLElement* parent, const char* name, int32_t& value) {
    const tinyxml2::XMLElement* element = parent->FirstChildElement(name);
    return element != nullptr && element->QueryIntText(&value) == tinyxml2::XML_SUCCESS;
}

std::string ReadWord(const tinyxml2::XMLElement* parent, const char* name) {
    return std::string(ElementText(parent->FirstChildElement(name)));
}

// Reads what the document holds; a value that is missing or out of range keeps its default.
Settings SettingsOf(const tinyxml2::XMLElement* root) {
    Settings settings;
    int32_t value = 0;
    if (ReadInt(root, "volume", value) && value >= 0 && value <= 255) {
        settings.volume = uint8_t(value);
    }
    if (ReadInt(root, "fullScreen", value) && (value == 0 || value == 1)) {
        settings.fullScreen = value == 1;
    }
    if (const tinyxml2::XMLElement* keys = root->FirstChildElement("cameraKeys")) {
        for (int k = 0; k < kSettingsCameraKeys; ++k) {
            if (keys->QueryIntAttribute(KeyNames[k], &value) == tinyxml2::XML_SUCCESS && value > 0 &&
                value < 256) {
                settings.cameraKeys[size_t(k)] = value;
            }
        }
    }
    const std::string speed = ReadWord(root, "computerSpeed");
    if (speed == "fast") {
        settings.computerSpeed = ComputerSpeed::Fast;
    }
    ParseOpponentRule(ReadWord(root, "opponent"), settings.opponent);
    return settings;
}

Settings& LastKept() {
    static Settings settings;
    return settings;
}

bool& Keeping() {
    static bool keeping = false;
    return keeping;
}

} // namespace

int64_t AiActionMilliseconds(ComputerSpeed speed) {
    return speed == ComputerSpeed::Fast ? FastAiActionMilliseconds : DefaultAiActionMilliseconds;
}

const char* SpeedName(ComputerSpeed speed) {
    return speed == ComputerSpeed::Fast ? "Fast" : "Normal";
}

const char* OpponentName(OpponentRule opponent) {
    return OpponentRuleName(opponent);
}

// [SECTION] The file

std::string SettingsFilePath() {
    return ConfigFolder() + "/settings.xml";
}

std::string SettingsText(const Settings& settings) {
    tinyxml2::XMLDocument document;
    document.InsertEndChild(document.NewDeclaration());
    tinyxml2::XMLElement* root = document.NewElement("settings");
    document.InsertEndChild(root);
    root->InsertNewChildElement("volume")->SetText(int(settings.volume));
    root->InsertNewChildElement("fullScreen")->SetText(settings.fullScreen ? 1 : 0);
    tinyxml2::XMLElement* keys = root->InsertNewChildElement("cameraKeys");
    for (int k = 0; k < kSettingsCameraKeys; ++k) {
        keys->SetAttribute(KeyNames[k], settings.cameraKeys[size_t(k)]);
    }
    root->InsertNewChildElement("computerSpeed")
        ->SetText(settings.computerSpeed == ComputerSpeed::Fast ? "fast" : "normal");
    root->InsertNewChildElement("opponent")->SetText(OpponentRuleName(settings.opponent));
    return DocumentText(document);
}

SettingsRead ReadSettingsFile(const std::string& path) {
    SettingsRead read;
    tinyxml2::XMLDocument document;
    std::string reason;
    read.state = LoadPlayerFile(path, "settings", document, reason);
    if (read.state == PlayerFileState::Read) {
        read.settings = SettingsOf(document.RootElement());
    } else if (read.state == PlayerFileState::Broken) {
        const std::string aside = KeepAside(path);
        read.message = "The settings in " + path + " could not be read: " + reason +
                       ". The game starts with " + "its default settings" +
                       (aside.empty() ? std::string(".") : "; the file was kept as " + aside + ".");
    }
    return read;
}

bool WriteSettingsFile(const std::string& path, const Settings& settings, std::string& error) {
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), error)) {
        return false;
    }
    return SaveFileDurably(path, SettingsText(settings), error);
}

// [SECTION] The running game

Settings CurrentSettings(GameContext& game) {
    Settings settings = game.settings;
    settings.volume = game.sound.masterVolume();
    settings.fullScreen = game.window().IsFullScreen();
    for (int k = 0; k < kSettingsCameraKeys; ++k) {
        settings.cameraKeys[size_t(k)] = game.renderer.camera.keys.codes[k];
    }
    return settings;
}

void UseOpponentSettings(const Settings& settings) {
    SetOpponentRule(2, settings.opponent);
    SetAiActionMilliseconds(AiActionMilliseconds(settings.computerSpeed));
}

void ApplySettings(GameContext& game, const Settings& settings) {
    game.settings = settings;
    UseOpponentSettings(settings);
    game.sound.SetMasterVolume(settings.volume);
    if (game.window().IsFullScreen() != settings.fullScreen) {
        game.window().ToggleFullScreen();
    }
    for (int k = 0; k < kSettingsCameraKeys; ++k) {
        game.renderer.camera.keys.codes[k] = settings.cameraKeys[size_t(k)];
    }
}

void LoadSettingsAtStart(GameContext& game) {
    const SettingsRead read = ReadSettingsFile(SettingsFilePath());
    if (!read.message.empty()) {
        ShowErrorBox(read.message);
    }
    ApplySettings(game, read.settings);
    LastKept() = read.settings;
    Keeping() = true;
}

void KeepSettings(GameContext& game) {
    if (!Keeping()) {
        return;
    }
    const Settings now = CurrentSettings(game);
    if (now == LastKept()) {
        return;
    }
    LastKept() = now;
    std::string error;
    const std::string path = SettingsFilePath();
    if (!WriteSettingsFile(path, now, error)) {
        ShowErrorBox(SaveFailedText(path, error));
    }
}
