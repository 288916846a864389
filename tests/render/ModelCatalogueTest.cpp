#include "render/ModelCatalogue.h"
#include "platform/Dialog.h"
#include "render/ModelSlots.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string WriteCatalogue(const std::string& text) {
    const std::string path = "/tmp/vantor_catalogue_" + std::to_string(::getpid()) + ".xml";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

TEST(ModelCatalogue, ReadsTheShippedCatalogueIntoSlotOrder) {
    DialogRecorder recorder;
    std::vector<std::string> files;
    ASSERT_TRUE(ReadModelCatalogue(VANTOR_SOURCE_DIR "/data/XMLFiles/Models.xml", files));
    ASSERT_EQ(files.size(), modelSlotNames.size());
    EXPECT_EQ(files[0], "Art Assets\\Models\\Test\\TestModel.ASE");
    EXPECT_EQ(files[1], "Art Assets\\Models\\Mechs\\Wolf.ASE");
    for (size_t slot = 0; slot < files.size(); ++slot) {
        EXPECT_FALSE(files[slot].empty()) << modelSlotNames[slot] << " names a model";
    }
    EXPECT_TRUE(recorder.shown().empty());
}

TEST(ModelCatalogue, MissingSlotsStayEmptyAndBrokenFilesSayWhy) {
    DialogRecorder recorder;
    std::vector<std::string> files;
    const std::string path = WriteCatalogue("<models><RAT_CORE>a.ASE</RAT_CORE><UNKNOWN>b.ASE</UNKNOWN>"
                                            "<TEST_MODEL/></models>");
    ASSERT_TRUE(ReadModelCatalogue(path, files));
    ASSERT_EQ(files.size(), modelSlotNames.size());
    EXPECT_EQ(files[8], "a.ASE") << modelSlotNames[8];
    EXPECT_TRUE(files[0].empty()) << "an empty element names no model";
    EXPECT_TRUE(recorder.shown().empty());

    WriteCatalogue("<catalogue/>");
    EXPECT_FALSE(ReadModelCatalogue(path, files));
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(recorder.sawText("Missing \"models\" Tag"));
    WriteCatalogue("<models><RAT_CORE>");
    EXPECT_FALSE(ReadModelCatalogue(path, files));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: " + path));
    std::remove(path.c_str());
}
