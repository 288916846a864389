#include "core/Settings.h"

#include "data/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(Settings, EveryValueComesBackFromTheFileAndAMissingFileGivesTheDefaults) {
    TempFolder folder;
    const std::string path = folder.file("deep/er/settings.xml");

    const SettingsRead missing = ReadSettingsFile(path);
    EXPECT_EQ(missing.state, PlayerFileState::Missing);
    EXPECT_TRUE(missing.message.empty());
    EXPECT_EQ(missing.settings, Settings{});
    EXPECT_EQ(missing.settings.volume, 128);
    EXPECT_FALSE(missing.settings.fullScreen);
    EXPECT_EQ(missing.settings.cameraKeys, (std::array<int32_t, 6>{17, 30, 31, 32, 16, 18}));
    EXPECT_EQ(AiActionMilliseconds(missing.settings.computerSpeed), 1000);
    EXPECT_EQ(missing.settings.opponent, OpponentRule::Classic);

    Settings changed;
    changed.volume = 232;
    changed.fullScreen = true;
    changed.cameraKeys = {44, 45, 46, 47, 48, 49};
    changed.computerSpeed = ComputerSpeed::Fast;
    changed.opponent = OpponentRule::Veteran;
    std::string error;
    ASSERT_TRUE(WriteSettingsFile(path, changed, error)) << error << " (the folders are made)";
    const SettingsRead read = ReadSettingsFile(path);
    EXPECT_EQ(read.state, PlayerFileState::Read);
    EXPECT_EQ(read.settings, changed);
    EXPECT_EQ(AiActionMilliseconds(read.settings.computerSpeed), 250);
    EXPECT_FALSE(std::filesystem::exists(path + ".saving"));
}

TEST(Settings, ABrokenFileGivesTheDefaultsAMessageAndIsKeptAsBad) {
    for (const char* broken :
         {"<settings><volume>200</volume>", "not xml at all", "<options><volume>9</volume></options>"}) {
        TempFolder folder;
        const std::string path = folder.write("settings.xml", broken);
        const SettingsRead read = ReadSettingsFile(path);
        EXPECT_EQ(read.state, PlayerFileState::Broken) << broken;
        EXPECT_EQ(read.settings, Settings{}) << broken;
        EXPECT_NE(read.message.find(path), std::string::npos) << read.message;
        EXPECT_NE(read.message.find("settings.xml.bad"), std::string::npos) << read.message;
        EXPECT_FALSE(std::filesystem::exists(path)) << "the broken file is moved aside";
        EXPECT_EQ(ReadAll(path + ".bad"), broken) << "and kept whole";
    }
}

TEST(Settings, ValuesOutOfRangeKeepTheirDefaultsAndTheRestIsRead) {
    TempFolder folder;
    const std::string path = folder.write("settings.xml", R"(<?xml version="1.0"?>
<settings>
    <volume>300</volume>
    <fullScreen>yes</fullScreen>
    <cameraKeys zoomIn="-3" zoomOut="20" rotateLeft="x"/>
    <computerSpeed>fast</computerSpeed>
    <opponent>cheating</opponent>
</settings>)");
    const SettingsRead read = ReadSettingsFile(path);
    ASSERT_EQ(read.state, PlayerFileState::Read);
    EXPECT_EQ(read.settings.volume, 128);
    EXPECT_FALSE(read.settings.fullScreen);
    EXPECT_EQ(read.settings.cameraKeys, (std::array<int32_t, 6>{17, 30, 20, 32, 16, 18}));
    EXPECT_EQ(read.settings.computerSpeed, ComputerSpeed::Fast);
    EXPECT_EQ(read.settings.opponent, OpponentRule::Classic);
}

TEST(Settings, TheFileLivesInTheSettingsFolder) {
    TempFolder folder;
    ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
    EXPECT_EQ(SettingsFilePath(), folder.path().string() + "/vantor/settings.xml");
}
