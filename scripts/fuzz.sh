#!/usr/bin/env bash
# Builds the libFuzzer programs of the readers (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build/fuzz and runs each for the given number of seconds (default 600), as many at a time as the machine
# has cores.
#   scripts/fuzz.sh [seconds] [assets-run-folder]
#   scripts/fuzz.sh --build-only   builds them and stops
# The corpus of each reader starts from the shipped files of its kind: the hand-written data, and the
# generated models and pictures of a run folder that holds them (default build/test/game). Corpora grow
# in build/fuzz/corpus/<name>; a crash, a hang (over 1 s on one input) or running out of memory stops the
# run with the input saved in build/fuzz/findings/<name>/, to be kept under tests/fuzz/regressions/<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
vantor_install_packages
vantor_install_fuzz_packages

buildOnly=false
if [ "${1:-}" = "--build-only" ]; then
    buildOnly=true
    shift
fi
seconds=${1:-600}
assets=$(realpath "${2:-build/test/game}")
build=build/fuzz
fuzzers=(component unit mission level_map layout model_catalogue ase colour_key_picture)

CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_FUZZ=ON \
    -DVANTOR_BUILD_TESTS=OFF -DVANTOR_BUILD_BENCHMARKS=OFF > /dev/null
cmake --build "$build" --target vantor_fuzzers -j "$(vantor_jobs)"
if $buildOnly; then
    exit 0
fi

root=$(realpath "$build")
source=$PWD
runDir=$root/game

# Copies the seeds of one reader into a fresh folder: every file under a folder whose name ends in suffix.
seed() {
    local name=$1 folder=$2 suffix=$3 depth=$4
    local target=$root/seeds/$name
    mkdir -p "$target"
    if [ -d "$folder" ]; then
        find -L "$folder" -maxdepth "$depth" -type f -name "*$suffix" -exec cp {} "$target"/ \;
    fi
    if [ -z "$(ls -A "$target")" ]; then
        echo "No seeds for $name under $folder (build the game's assets first)" >&2
        exit 1
    fi
}
rm -rf "$root/seeds"
seed component "$runDir/XMLFiles/Mecha/Modules" .xml 2
seed unit "$runDir/XMLFiles/Units" .xml 1
seed mission "$runDir/XMLFiles/Missions" .xml 1
seed level_map "$runDir/XMLFiles/Missions/Levels" .xml 1
seed layout "$runDir/XMLFiles/GUI" .xml 1
seed model_catalogue "$runDir/XMLFiles" Models.xml 1
seed ase "$assets/Art Assets/Models" .ASE 2
seed colour_key_picture "$assets/Art Assets" _pick.bmp 1
# The saved faulty inputs seed their reader too, so a fault that comes back is met at once.
for name in "${fuzzers[@]}"; do
    if [ -d "tests/fuzz/regressions/$name" ]; then
        find "tests/fuzz/regressions/$name" -type f ! -name README -exec cp {} "$root/seeds/$name"/ \;
    fi
done

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
mkdir -p "$root/logs"
rm -f "$root"/logs/*.status
# Runs one reader's fuzzer and notes how it ended beside its log.
fuzz() {
    local name=$1
    local log=$root/logs/$name.log
    local status=0
    mkdir -p "$root/corpus/$name" "$root/findings/$name"
    (cd "$runDir" && "$root/fuzzers/fuzz_$name" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -close_fd_mask=1 -dict="$source/tests/fuzz/dictionaries/$name.dict" \
        -artifact_prefix="$root/findings/$name/" "$root/corpus/$name" "$root/seeds/$name") > "$log" 2>&1 ||
        status=$?
    echo "$status" > "$root/logs/$name.status"
}
running=0
for name in "${fuzzers[@]}"; do
    if [ "$running" -ge "$(vantor_jobs)" ]; then
        wait -n
        running=$((running - 1))
    fi
    fuzz "$name" &
    running=$((running + 1))
done
wait
failed=()
printf '%-20s %12s %10s %8s  %s\n' reader executions "exec/s" corpus result
for name in "${fuzzers[@]}"; do
    log=$root/logs/$name.log
    status=$(cat "$root/logs/$name.status" 2>/dev/null || echo 1)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    corpus=$(find "$root/corpus/$name" -type f | wc -l)
    result=ok
    if [ "$status" -ne 0 ]; then
        result="FAULT (see $log and $root/findings/$name/)"
        failed+=("$name")
    fi
    printf '%-20s %12s %10s %8s  %s\n' "$name" "${executions:-?}" "${rate:-?}" "$corpus" "$result"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzzing found faults in: ${failed[*]}" >&2
    exit 1
fi
