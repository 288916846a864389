#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test,
# then every reader's fuzzer for 20 seconds.
#   ./test.sh                  the whole suite
#   ./test.sh --fuzz [seconds] builds the fuzzers and runs each for the given time (default 600 s)
#   ./test.sh --soak           plays 20,000 frames and checks that nothing the game holds grows
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
vantor_install_packages

mode=all
fuzzSeconds=20
case "${1:-}" in
--fuzz)
    mode=fuzz
    fuzzSeconds=${2:-600}
    ;;
--soak)
    mode=soak
    ;;
"") ;;
*)
    echo "usage: $0 [--fuzz [seconds] | --soak]" >&2
    exit 2
    ;;
esac

build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_SANITIZE=ON > /dev/null

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LIBGL_ALWAYS_SOFTWARE=1
# No test touches the player's own settings or saved campaign: each program also makes a folder of its own.
test_home="$(mktemp -d)"
trap 'rm -rf "$test_home"' EXIT
export XDG_CONFIG_HOME="$test_home/config" XDG_DATA_HOME="$test_home/data"
# llvmpipe's worker threads can crash LeakSanitizer's thread stop at exit; rasterise on the calling thread.
export LP_NUM_THREADS=0
# Nor a shader cache thread (tests/SanitizerOptions.cpp sets both for programs started otherwise).
export MESA_SHADER_CACHE_DISABLE=true
export SDL_AUDIODRIVER=dummy

# Runs a command under a virtual X server unless there is a display already.
with_display() {
    if [ -z "${DISPLAY:-}" ]; then
        xvfb-run -a -s "-screen 0 1024x768x24" "$@"
    else
        "$@"
    fi
}

case "$mode" in
fuzz)
    # The fuzzers' corpora start from the generated models and pictures too.
    cmake --build "$build" --target vantor_assets -j "$(vantor_jobs)"
    scripts/fuzz.sh "$fuzzSeconds" "$build/game"
    ;;
soak)
    cmake --build "$build" --target vantor_soak -j "$(vantor_jobs)"
    # A small quarantine of freed memory, so that resident memory measures what the game holds and not
    # what AddressSanitizer keeps back.
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:quarantine_size_mb=4:thread_local_quarantine_size_kb=64"
    (cd "$build/game" && with_display ../tests/vantor_soak)
    ;;
all)
    cmake --build "$build" -j "$(vantor_jobs)"
    # The fuzzers build while the tests run, on the core the tests leave free.
    fuzzBuildLog="$test_home/fuzz-build.log"
    scripts/fuzz.sh --build-only > "$fuzzBuildLog" 2>&1 &
    fuzzBuild=$!
    # One test at a time: the windows of parallel tests would overlap on the one X server, and reading back
    # pixels that another window covers gives undefined colours.
    testStatus=0
    with_display ctest --test-dir "$build" --output-on-failure -j 1 --timeout 600 || testStatus=$?
    fuzzBuildStatus=0
    wait "$fuzzBuild" || fuzzBuildStatus=$?
    if [ "$testStatus" -ne 0 ]; then
        exit "$testStatus"
    fi
    if [ "$fuzzBuildStatus" -ne 0 ]; then
        cat "$fuzzBuildLog" >&2
        echo "The fuzzers did not build" >&2
        exit "$fuzzBuildStatus"
    fi
    scripts/fuzz.sh "$fuzzSeconds" "$build/game"
    ;;
esac
