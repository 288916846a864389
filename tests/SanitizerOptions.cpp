// Options every sanitized test program starts with; ASAN_OPTIONS in the environment still overrides them
// one by one. The file also moves LeakSanitizer's check to the end of the tests (see below).
//
// intercept_tls_get_addr=0: with it on, AddressSanitizer records the dynamic TLS block of every library
// loaded at run time (Mesa's driver and LLVM when a GL context is made) and guesses the block's size from
// glibc 2.19's block header. When such a block happens to start 16 bytes into a page, the "header" it
// reads is the allocator's bookkeeping of the neighbouring heap chunk, and LeakSanitizer's exit check
// then scans a range like 0xb5f..0x1800001c61 and dies with "Tracer caught signal 11". Where a block
// lands depends on the order of earlier allocations, so the failure came and went with machine load.
// Without the interception nothing is lost: LeakSanitizer already treats everything the dynamic linker
// allocates, dynamic TLS blocks included, as reachable.

#include <gtest/gtest.h>
#include <sanitizer/lsan_interface.h>

#include <cstdlib>

extern "C" const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}

namespace {

// LeakSanitizer's own end-of-process check runs from the sanitizer library's finaliser, which the dynamic
// linker calls last of all: by then the destructors of every other library have run, LLVM's and Mesa's
// (loaded with the first GL context) and the X libraries' among them, and the check stops the world and
// scans the memory of libraries that have already been torn down. The check is made instead when the last
// test has finished, while every library is whole and only the test's own threads are alive; it counts
// as the process's leak check (the one at exit then does not run), and what static objects still hold is
// reachable as before.
class LeakCheckAfterTheTests : public ::testing::Environment {
public:
    void TearDown() override { __lsan_do_leak_check(); }
};

[[maybe_unused]] ::testing::Environment* const leakCheck =
    ::testing::AddGlobalTestEnvironment(new LeakCheckAfterTheTests);

// No thread of Mesa's may still run when the check stops the world, however the program was started
// (./test.sh sets the same): llvmpipe rasterises on the calling thread instead of a pool of workers, and
// without the shader disk cache there is no cache-writing thread (nor files written under $HOME).
[[maybe_unused]] const bool singleThreadedGl = [] {
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    return true;
}();

} // namespace
