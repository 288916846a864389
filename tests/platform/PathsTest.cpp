#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
