#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// One reader of the game's files, fed arbitrary bytes as if they were the file. The same functions run
// under libFuzzer (tests/fuzz/libfuzzer) and replay the saved faulty inputs in the normal test suite.
// They must run in the game's run folder, where the shipped data files lie. scripts/fuzz.sh seeds each
// corpus with the shipped files of its kind.

using FuzzInput = int (*)(const uint8_t* data, size_t size);

struct FuzzHarness {
    std::string_view name; // also names the fuzzer program ("fuzz_" + name), its dictionary and its folders
    FuzzInput run;
};

int FuzzComponentReader(const uint8_t* data, size_t size);
int FuzzUnitReader(const uint8_t* data, size_t size);
int FuzzMissionReader(const uint8_t* data, size_t size);
int FuzzLevelMapReader(const uint8_t* data, size_t size);
int FuzzLayoutReader(const uint8_t* data, size_t size);
int FuzzModelCatalogueReader(const uint8_t* data, size_t size);
int FuzzAseReader(const uint8_t* data, size_t size);
int FuzzColourKeyPictureReader(const uint8_t* data, size_t size);

// Every harness, in a fixed order.
const std::vector<FuzzHarness>& FuzzHarnesses();
