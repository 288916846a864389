#include "fuzz/FuzzHarnesses.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

// Every input a fuzzer once crashed, hung or ran out of memory on is kept under regressions/<harness>/ and
// must now be read (or refused) cleanly; the sanitizers of the test build catch faults, the test time limit
// catches hangs.
TEST(FuzzReplayTest, EverySavedFaultyInputIsReadQuicklyAndSafely) {
    const fs::path root = VANTOR_FUZZ_REGRESSIONS;
    std::set<std::string> names;
    for (const FuzzHarness& harness : FuzzHarnesses()) {
        names.insert(std::string(harness.name));
        const fs::path folder = root / std::string(harness.name);
        if (!fs::is_directory(folder)) {
            continue;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file() || entry.path().filename() == "README") {
                continue;
            }
            SCOPED_TRACE(entry.path().string());
            const std::vector<uint8_t> bytes = ReadBytes(entry.path());
            EXPECT_EQ(harness.run(bytes.data(), bytes.size()), 0);
        }
    }
    // A folder for a harness that no longer exists would silently stop being replayed.
    if (fs::is_directory(root)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(root)) {
            if (entry.is_directory()) {
                EXPECT_TRUE(names.count(entry.path().filename().string()) == 1) << entry.path();
            }
        }
    }
}

// Empty and one-byte files reach every reader's first fault path.
TEST(FuzzReplayTest, EmptyAndTinyInputsAreRefusedCleanly) {
    const uint8_t byte = '<';
    for (const FuzzHarness& harness : FuzzHarnesses()) {
        SCOPED_TRACE(std::string(harness.name));
        EXPECT_EQ(harness.run(nullptr, 0), 0);
        EXPECT_EQ(harness.run(&byte, 1), 0);
    }
}
