#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
vantor_install_packages

build=build/test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_SANITIZE=ON > /dev/null
cmake --build "$build" -j "$(vantor_jobs)"

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

# One test at a time: the windows of parallel tests would overlap on the one X server, and reading back
# pixels that another window covers gives undefined colours.
run_ctest=(ctest --test-dir "$build" --output-on-failure -j 1 --timeout 600)
if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1024x768x24" "${run_ctest[@]}"
else
    "${run_ctest[@]}"
fi
