#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

TEST(Paths, BackslashesBecomeSlashes) {
    EXPECT_EQ(NativePath("XMLFiles\\GUI\\menu.xml"), "XMLFiles/GUI/menu.xml");
    EXPECT_EQ(NativePath("Art Assets/Textures/a.png"), "Art Assets/Textures/a.png");
    EXPECT_EQ(NativePath(""), "");
}

TEST(Paths, ListFilesSortsFilesAndSkipsFolders) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vantor_listfiles";
    fs::remove_all(dir);
    fs::create_directories(dir / "sub");
    for (const char* name : {"b.xml", "B.xml", "a.xml"}) {
        std::ofstream(dir / name) << "x";
    }
    std::vector<std::string> files{"kept"};
    ListFiles(dir.string(), files);
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files[0], "kept");
    EXPECT_EQ(files[1], dir.string() + "\\B.xml");
    EXPECT_EQ(files[2], dir.string() + "\\a.xml");
    EXPECT_EQ(files[3], dir.string() + "\\b.xml");

    std::vector<std::string> none;
    ListFiles((dir / "missing").string(), none);
    EXPECT_TRUE(none.empty());
    fs::remove_all(dir);
}

namespace {

// Sets an environment variable for the scope (unset: null) and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
            had_ = true;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
};

} // namespace

TEST(Paths, PlayerFoldersFollowTheXdgVariablesOrTheHomeFolder) {
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg");
        ScopedEnv data("XDG_DATA_HOME", "/tmp/dat");
        EXPECT_EQ(ConfigFolder(), "/tmp/cfg/vantor");
        EXPECT_EQ(DataFolder(), "/tmp/dat/vantor");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        ScopedEnv data("XDG_DATA_HOME", "relative/is/ignored");
        EXPECT_EQ(ConfigFolder(), "/home/player/.config/vantor");
        EXPECT_EQ(DataFolder(), "/home/player/.local/share/vantor");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "");
        EXPECT_EQ(ConfigFolder(), "/home/player/.config/vantor");
    }
}

TEST(Paths, AUserFolderIsReadFirstAndTakesEverySaveOfARelativePath) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("vantor_user_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "game/XMLFiles/Levels");
    fs::create_directories(root / "user/XMLFiles/Levels");
    std::ofstream(root / "game/XMLFiles/Levels/a.xml") << "shipped a";
    std::ofstream(root / "game/XMLFiles/Levels/b.xml") << "shipped b";
    std::ofstream(root / "user/XMLFiles/Levels/b.xml") << "edited b";
    std::ofstream(root / "user/XMLFiles/Levels/c.xml") << "new c";
    const fs::path previous = fs::current_path();
    fs::current_path(root / "game");
    const std::string user = (root / "user").string();
    EXPECT_EQ(SetUserFolder(user + "/"), "");
    EXPECT_EQ(UserFolder(), user);

    EXPECT_EQ(NativePath("XMLFiles\\Levels\\a.xml"), "XMLFiles/Levels/a.xml") << "no copy: the shipped file";
    EXPECT_EQ(NativePath("XMLFiles\\Levels\\b.xml"), user + "/XMLFiles/Levels/b.xml") << "the player's copy";
    EXPECT_EQ(NativePath("/abs/x.xml"), "/abs/x.xml");
    EXPECT_EQ(SavePath("XMLFiles\\GUI\\menu.xml"), user + "/XMLFiles/GUI/menu.xml");
    EXPECT_TRUE(fs::is_directory(root / "user/XMLFiles/GUI")) << "the save's folders are made";
    EXPECT_EQ(SavePath("/abs/x.xml"), "/abs/x.xml");
    std::vector<std::string> files;
    ListFiles("XMLFiles\\Levels", files);
    EXPECT_EQ(files, (std::vector<std::string>{"XMLFiles\\Levels\\a.xml", "XMLFiles\\Levels\\b.xml",
                                               "XMLFiles\\Levels\\c.xml"}));

    EXPECT_EQ(SetUserFolder(""), user);
    EXPECT_EQ(NativePath("XMLFiles\\Levels\\b.xml"), "XMLFiles/Levels/b.xml");
    EXPECT_EQ(SavePath("XMLFiles\\Levels\\b.xml"), "XMLFiles/Levels/b.xml");
    fs::current_path(previous);
    fs::remove_all(root);
}

TEST(Paths, AnInstalledProgramRunsInItsDataFolderAndABuiltOneInItsRunFolder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("vantor_start_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "prefix/bin");
    fs::create_directories(root / "prefix/share/vantor/XMLFiles");
    fs::create_directories(root / "build/game/XMLFiles");
    fs::create_directories(root / "elsewhere/bin");

    const StartFolders installed = ChooseStartFolders((root / "prefix/bin/vantor").string(), "/data/vantor");
    EXPECT_EQ(installed.workingFolder, (root / "prefix/share/vantor").string());
    EXPECT_EQ(installed.userFolder, "/data/vantor") << "an installed game writes only to the player's folder";
    const StartFolders built = ChooseStartFolders((root / "build/game/vantor").string(), "/data/vantor");
    EXPECT_EQ(built.workingFolder, (root / "build/game").string());
    EXPECT_TRUE(built.userFolder.empty()) << "a build's run folder keeps saving into its tracked files";
    const StartFolders stray = ChooseStartFolders((root / "elsewhere/bin/vantor").string(), "/data/vantor");
    EXPECT_TRUE(stray.workingFolder.empty());
    EXPECT_TRUE(stray.userFolder.empty());
    EXPECT_TRUE(ChooseStartFolders("", "/data").workingFolder.empty());

    const fs::path previous = fs::current_path();
    StartFolders enter;
    enter.workingFolder = (root / "prefix/share/vantor").string();
    enter.userFolder = (root / "player/data/vantor").string();
    std::string error;
    EXPECT_TRUE(EnterStartFolders(enter, error)) << error;
    EXPECT_EQ(fs::current_path(), root / "prefix/share/vantor");
    EXPECT_TRUE(fs::is_directory(enter.userFolder));
    EXPECT_EQ(UserFolder(), enter.userFolder);
    SetUserFolder("");
    fs::current_path(previous);
    StartFolders missing;
    missing.workingFolder = (root / "gone").string();
    EXPECT_FALSE(EnterStartFolders(missing, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(fs::current_path(), previous);
    fs::remove_all(root);
}
