#include "combat/LevelMap.h"
#include "platform/Dialog.h"
#include "platform/SaveFaults.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

namespace {

// A folder of its own under the system's temporary folder, removed afterwards.
class TempLevels {
public:
    TempLevels() {
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor-levels-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    ~TempLevels() { std::filesystem::remove_all(dir_); }
    std::string folder() const { return dir_.string() + "/"; }
    void write(const std::string& name, const std::string& text) const { std::ofstream(dir_ / name) << text; }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::filesystem::path dir_;
};

// Counts live ids and refuses to hand out one twice.
class CheckingIds : public PickIdSource {
public:
    int32_t NewPickColour() override {
        live.insert(next);
        return next++;
    }
    void ReleasePickColour(int32_t id) override { live.erase(id); }
    std::set<int32_t> live;
    int32_t next = 1;
};

std::string MapText(const std::string& width, const std::string& height, const std::string& elevation,
                    const std::string& passable, const std::string& texture) {
    return "<mapdata><width>" + width + "</width><height>" + height + "</height><elevation>" + elevation +
           "</elevation><passable>" + passable + "</passable><texture>" + texture + "</texture></mapdata>";
}

const std::string TwoByTwo = MapText("2", "2", "<row>1 2</row><row>3 4</row>",
                                     "<row>1 0</row><row>2.5 0.5</row>", "<row>0 4</row><row>12 24</row>");

} // namespace

TEST(LevelMap, LoadsGridAndKeepsOneIdPerTileAcrossReloads) {
    TempLevels levels;
    levels.write("a.xml", TwoByTwo);
    CheckingIds ids;
    LevelMap map;
    map.SetPickIds(&ids);
    map.SetFolder(levels.folder());
    ASSERT_TRUE(map.Load("a.xml"));
    ASSERT_EQ(map.width(), 2u);
    EXPECT_EQ(map.TileAt(1, 0)->elevation, 2);
    EXPECT_EQ(map.TileAt(1, 0)->passable, 0.0f);
    EXPECT_EQ(map.TileAt(0, 1)->passable, 2.5f);
    EXPECT_EQ(map.TileAt(1, 1)->texture, 24);
    ASSERT_TRUE(map.Load());
    EXPECT_EQ(ids.live.size(), 4u);
    EXPECT_EQ(map.TileAt(-1, 0), nullptr);
    EXPECT_EQ(map.TileAt(2, 0), nullptr);
    int32_t x = 0, y = 0;
    EXPECT_TRUE(map.CoordinatesOf(map.TileAt(1, 1), x, y));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 1);
    MapTile stranger;
    EXPECT_FALSE(map.CoordinatesOf(&stranger, x, y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(map.TileByPickId(map.TileAt(0, 1)->pickId), map.TileAt(0, 1));
    EXPECT_EQ(map.TileByPickId(999999), nullptr);
}

TEST(LevelMap, BrokenFilesAreRefusedAndKeepThePreviousGrid) {
    TempLevels levels;
    levels.write("good.xml", TwoByTwo);
    const std::string rows = "<row>1</row>";
    levels.write("negative.xml", MapText("-3", "1", rows, rows, rows));
    levels.write("words.xml", MapText("wide", "1", rows, rows, rows));
    levels.write("huge.xml", MapText("2000000000", "2000000000", rows, rows, rows));
    levels.write("short.xml", MapText("3", "1", "<row>1 1 1</row>", "<row>1 1</row>", "<row>0 0 0</row>"));
    levels.write("missingrow.xml",
                 MapText("1", "2", "<row>1</row>", "<row>1</row><row>1</row>", "<row>1</row>"));
    levels.write("nolayer.xml", "<mapdata><width>1</width><height>1</height></mapdata>");
    levels.write("garbage.xml", "<mapdata><width>1");
    LevelMap map;
    map.SetFolder(levels.folder());
    ASSERT_TRUE(map.Load("good.xml"));
    for (const char* name : {"negative.xml", "words.xml", "huge.xml", "short.xml", "missingrow.xml",
                             "nolayer.xml", "garbage.xml", "absent.xml"}) {
        DialogRecorder recorder;
        EXPECT_FALSE(map.Load(name)) << name;
        EXPECT_EQ(recorder.count(DialogKind::Error), 1) << name;
        EXPECT_EQ(map.width(), 2u) << name;
        EXPECT_EQ(map.TileAt(1, 1)->elevation, 4) << name;
        EXPECT_EQ(map.fileName(), "good.xml") << "a later save must not write the old grid over " << name;
    }
}

TEST(LevelMap, TexturesOutsideTheTableDrawAsTextureZero) {
    LevelMap map;
    map.Resize(3, 1);
    for (int32_t i = 0; i < LevelMap::TextureTableSize; ++i) {
        map.textures[i] = static_cast<uint32_t>(100 + i);
    }
    map.TileAt(0, 0)->texture = 24;
    map.TileAt(1, 0)->texture = 25;
    map.TileAt(2, 0)->texture = -7;
    EXPECT_EQ(map.TextureHandleOf(*map.TileAt(0, 0)), 124u);
    EXPECT_EQ(map.TextureHandleOf(*map.TileAt(1, 0)), 100u);
    EXPECT_EQ(map.TextureHandleOf(*map.TileAt(2, 0)), 100u);
}

TEST(LevelMap, SaveWritesPassCostsAsTheyReadAndRoundTrips) {
    TempLevels levels;
    levels.write("a.xml", TwoByTwo);
    LevelMap map;
    map.SetFolder(levels.folder());
    ASSERT_TRUE(map.Load("a.xml"));
    map.TileAt(0, 0)->elevation = 7;
    ASSERT_TRUE(map.Save());
    std::string text = levels.read("a.xml");
    EXPECT_NE(text.find("<row>1 0</row>"), std::string::npos) << text;
    EXPECT_NE(text.find("<row>2.5 0.5</row>"), std::string::npos) << text;
    EXPECT_NE(text.find("<?xml version=\"1.0\"?>"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(levels.folder() + "a.xml.saving"));
    LevelMap again;
    again.SetFolder(levels.folder());
    ASSERT_TRUE(again.Load("a.xml"));
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 2; ++x) {
            EXPECT_EQ(again.TileAt(x, y)->elevation, map.TileAt(x, y)->elevation);
            EXPECT_EQ(again.TileAt(x, y)->passable, map.TileAt(x, y)->passable);
            EXPECT_EQ(again.TileAt(x, y)->texture, map.TileAt(x, y)->texture);
        }
    }
}

TEST(LevelMap, FailedSaveLeavesTheOldFileWholeAndSaysTheSaveFailed) {
    TempLevels levels;
    levels.write("a.xml", TwoByTwo);
    LevelMap map;
    map.SetFolder(levels.folder());
    ASSERT_TRUE(map.Load("a.xml"));
    map.TileAt(0, 0)->elevation = 9;
    const std::string saveFailed = "Could not save " + map.FilePath() + ": ";
    for (SaveFault fault : kEverySaveFault) {
        const FaultedSave outcome = SaveUnderFault(fault, levels.folder(), [&] { return map.Save(); });
        EXPECT_FALSE(outcome.saved) << SaveFaultName(fault);
        EXPECT_EQ(levels.read("a.xml"), TwoByTwo) << SaveFaultName(fault);
        if (fault != SaveFault::KilledBeforeReplace) {
            EXPECT_EQ(outcome.boxes.rfind(saveFailed, 0), 0u)
                << SaveFaultName(fault) << ": " << outcome.boxes;
        }
    }
    // A folder where the temporary file should go makes the write fail too.
    std::filesystem::remove(levels.folder() + "a.xml.saving");
    std::filesystem::create_directory(levels.folder() + "a.xml.saving");
    DialogRecorder recorder;
    EXPECT_FALSE(map.Save());
    ASSERT_EQ(recorder.shown().size(), 1u);
    EXPECT_EQ(recorder.shown()[0].caption, "Error");
    EXPECT_EQ(recorder.shown()[0].text.rfind(saveFailed, 0), 0u) << recorder.shown()[0].text;
    EXPECT_EQ(levels.read("a.xml"), TwoByTwo);
}

TEST(LevelMap, ResizeKeepsOverlapAndHandsOutAndReleasesTheRightIds) {
    CheckingIds ids;
    LevelMap map;
    map.SetPickIds(&ids);
    map.Resize(10, 10);
    ASSERT_EQ(ids.live.size(), 100u);
    map.TileAt(3, 7)->elevation = 5;
    int32_t kept = map.TileAt(9, 7)->pickId;
    int32_t dropped = map.TileAt(4, 9)->pickId;
    map.Resize(12, 8);
    EXPECT_EQ(map.width(), 12u);
    EXPECT_EQ(map.height(), 8u);
    EXPECT_EQ(map.TileAt(3, 7)->elevation, 5);
    EXPECT_EQ(map.TileAt(9, 7)->pickId, kept);
    EXPECT_EQ(ids.live.count(dropped), 0u);
    EXPECT_NE(map.TileAt(11, 0)->pickId, 0);
    EXPECT_EQ(ids.live.size(), 96u);
    map.Resize(0, 9);
    EXPECT_EQ(map.width(), 12u);
    EXPECT_EQ(map.height(), 9u);
    DialogRecorder recorder;
    map.Resize(5000, 0);
    EXPECT_EQ(map.width(), 12u);
    EXPECT_EQ(recorder.count(DialogKind::Error), 1);
    map.Clear();
    EXPECT_TRUE(ids.live.empty());
}

TEST(LevelMap, SquaresOfAnyRadiusAreClippedToTheGrid) {
    LevelMap map;
    EXPECT_TRUE(map.ClipSquare(0, 0, 5).empty()) << "an empty grid has no tiles to visit";
    map.Resize(10, 6);
    const TileSquare inside = map.ClipSquare(4, 3, 1);
    EXPECT_EQ(inside.x0, 3);
    EXPECT_EQ(inside.x1, 5);
    EXPECT_EQ(inside.y0, 2);
    EXPECT_EQ(inside.y1, 4);
    // The far corner with the largest reach a file can hold, and beyond any int.
    for (int32_t radius : {1000000, 2147483647}) {
        const TileSquare corner = map.ClipSquare(9, 5, radius);
        EXPECT_EQ(corner.x0, 0);
        EXPECT_EQ(corner.x1, 9);
        EXPECT_EQ(corner.y0, 0);
        EXPECT_EQ(corner.y1, 5);
    }
    EXPECT_TRUE(map.ClipSquare(4, 3, -1).empty());
    EXPECT_TRUE(map.ClipSquare(-50, 3, 10).empty()) << "a square beside the grid";
    EXPECT_TRUE(map.ClipSquare(4, 40, 2).empty());
    const TileSquare edge = map.ClipSquare(-2, -2, 3);
    EXPECT_EQ(edge.x0, 0);
    EXPECT_EQ(edge.x1, 1);
    EXPECT_EQ(edge.y1, 1);
}
