// The libFuzzer entry of one reader; the build names the harness function in VANTOR_FUZZ_HARNESS.
#include "fuzz/FuzzHarnesses.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return VANTOR_FUZZ_HARNESS(data, size);
}
