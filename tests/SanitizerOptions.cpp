// Options every sanitized test program starts with; ASAN_OPTIONS in the environment still overrides them
// one by one.
//
// intercept_tls_get_addr=0: with it on, AddressSanitizer records the dynamic TLS block of every library
// loaded at run time (Mesa's driver and LLVM when a GL context is made) and guesses the block's size from
// glibc 2.19's block header. When such a block happens to start 16 bytes into a page, the "header" it
// reads is the allocator's bookkeeping of the neighbouring heap chunk, and LeakSanitizer's exit check
// then scans a range like 0xb5f..0x1800001c61 and dies with "Tracer caught signal 11". Where a block
// lands depends on the order of earlier allocations, so the failure came and went with machine load.
// Without the interception nothing is lost: LeakSanitizer already treats everything the dynamic linker
// allocates, dynamic TLS blocks included, as reachable.

extern "C" const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
