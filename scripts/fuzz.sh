#!/usr/bin/env bash
# Builds the `fuzz` preset and runs each fuzz target (the engine's loaders, the
# asset tool's picture readers) for SECONDS (default 60), one target after
# another on one core, starting from the test fixtures and the target's seeds,
# with the format's dictionary. New inputs collect in build/fuzz/corpus/TARGET,
# so a later run goes on from there.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
# A crash, leak, hang (30 s for one input), sanitizer report or failed property
# stops that target: the input is saved in build/fuzz/artifacts/TARGET/, named
# in the output with the command that replays it, and the script exits with 1
# after the other targets have run.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/install-packages.sh
install_for build fuzz

seconds="${1:-60}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(fuzz_tiff_load fuzz_wav_load fuzz_unpack fuzz_picture_read)

# Seed folders and dictionary of each target.
declare -A seeds=(
    [fuzz_tiff_load]="tests/tiff/fixtures tests/tiff/hostile"
    [fuzz_wav_load]="tests/sound/fixtures"
    [fuzz_unpack]="tests/fuzz/seeds/unpack"
    [fuzz_picture_read]="tests/tiff/fixtures tests/fuzz/seeds/picture tests/fuzz/regressions/picture_read"
)
declare -A dictionaries=(
    [fuzz_tiff_load]="tests/fuzz/tiff.dict"
    [fuzz_wav_load]="tests/fuzz/wav.dict"
    [fuzz_unpack]="tests/fuzz/packbits.dict"
    [fuzz_picture_read]="tests/fuzz/picture.dict"
)

cmake --preset fuzz -G Ninja >/dev/null
cmake --build --preset fuzz

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
symbolizer=$(command -v llvm-symbolizer-14 || command -v llvm-symbolizer || true)
[ -z "$symbolizer" ] || export ASAN_SYMBOLIZER_PATH="$symbolizer"

source=$PWD
root=$PWD/build/fuzz
failed=0
for target in "${targets[@]}"; do
    program=$root/tests/fuzz/$target
    [ -n "${seeds[$target]:-}" ] || { echo "fuzz: no target named $target" >&2; exit 2; }
    corpus=$root/corpus/$target
    artifacts=$root/artifacts/$target
    log=$root/logs/$target.log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")" "$root/work"
    before=$(ls "$artifacts")
    echo "fuzz: $target for ${seconds} s"
    status=0
    # In a folder of its own: the engine writes its debug.txt where it runs.
    seedFolders=()
    for folder in ${seeds[$target]}; do seedFolders+=("$source/$folder"); done
    # The CPU the target had, which a shared machine makes far less than the time.
    TIMEFORMAT="fuzz: $target had %U s of user and %S s of system CPU in %R s"
    time (cd "$root/work" && "$program" "$corpus" "${seedFolders[@]}" \
        -dict="$source/${dictionaries[$target]}" -max_total_time="$seconds" \
        -timeout=30 -rss_limit_mb=2048 -close_fd_mask=1 -print_final_stats=1 \
        -artifact_prefix="$artifacts/") >"$log" 2>&1 || status=$?
    grep -E "^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::peak_rss_mb|^fuzz: " \
        "$log" || true
    if ((status != 0)); then
        failed=1
        echo "fuzz: $target FAILED (exit $status); the end of $log:"
        tail -n 40 "$log"
        for file in $(comm -13 <(echo "$before") <(ls "$artifacts")); do
            echo "fuzz: reproducer saved as $artifacts/$file"
            echo "fuzz: replay it with: $program $artifacts/$file"
        done
    fi
done
exit $failed
