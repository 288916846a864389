#include "platform/DurableSave.h"

#include "data/TempFiles.h"
#include "platform/SaveFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(DurableSave, ReplacesTheFileKeepingItsModeAndLinksAndLeavesNoTemporary) {
    namespace fs = std::filesystem;
    TempFolder folder;
    const std::string path = folder.write("a.xml", "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string error = "stale";
    ASSERT_TRUE(SaveFileDurably(path, std::string("new\0text", 8), error)) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(ReadAll(path), std::string("new\0text", 8));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_FALSE(fs::exists(path + ".saving"));

    // Saving through a link writes the file it points to; the link stays.
    const std::string real = folder.write("data/b.xml", "old");
    fs::create_symlink(real, folder.file("b.xml"));
    ASSERT_TRUE(SaveFileDurably(folder.file("b.xml"), "linked", error)) << error;
    EXPECT_TRUE(fs::is_symlink(folder.file("b.xml")));
    EXPECT_EQ(ReadAll(real), "linked");

    // Game paths use backslashes; a new file is created.
    ASSERT_TRUE(SaveFileDurably(folder.path().string() + "\\c.xml", "fresh", error)) << error;
    EXPECT_EQ(ReadAll(folder.file("c.xml")), "fresh");

    EXPECT_FALSE(SaveFileDurably("", "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(
        SaveFailedText("XMLFiles\\GUI\\menu.xml", "No space left on device"),
        "Could not save XMLFiles\\GUI\\menu.xml: No space left on device. The file on disk was not changed.");
}

TEST(DurableSave, EveryFaultLeavesTheOldFileWholeAndALaterSaveWorks) {
    for (SaveFault fault : kEverySaveFault) {
        TempFolder folder;
        const std::string path = folder.write("a.xml", "the old contents");
        const std::string longer(4096, 'n');
        const FaultedSave outcome = SaveUnderFault(fault, folder.path().string(), [&] {
            std::string error;
            const bool saved = SaveFileDurably(path, longer, error);
            if (!saved) {
                ShowErrorBox(SaveFailedText(path, error));
            }
            return saved;
        });
        EXPECT_FALSE(outcome.saved) << SaveFaultName(fault);
        EXPECT_EQ(ReadAll(path), "the old contents") << SaveFaultName(fault);
        if (fault == SaveFault::KilledBeforeReplace) {
            EXPECT_TRUE(outcome.killed);
        } else {
            EXPECT_EQ(outcome.boxes.rfind("Could not save " + path + ": ", 0), 0u)
                << SaveFaultName(fault) << ": " << outcome.boxes;
            EXPECT_FALSE(std::filesystem::exists(path + ".saving")) << SaveFaultName(fault);
        }
        std::string error;
        EXPECT_TRUE(SaveFileDurably(path, longer, error)) << SaveFaultName(fault) << ": " << error;
        EXPECT_EQ(ReadAll(path), longer) << SaveFaultName(fault);
        EXPECT_FALSE(std::filesystem::exists(path + ".saving")) << SaveFaultName(fault);
    }
}
