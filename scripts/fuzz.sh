#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer) in
# build-fuzz and runs every one of them for SECONDS (default 60), all at once, each on a scratch
# copy of its seed corpus in tests/fuzz/corpus, which stays as it is. Exits non-zero when any
# target finds a crash, a leak, a sanitizer report or an input that hangs; the input that shows
# it is kept under build-fuzz/fuzz-findings/TARGET/ and its path printed.
#
# usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [SECONDS]" >&2
    exit 64
fi
build="$src/build-fuzz"
corpus="$src/tests/fuzz/corpus"

echo "=== $(basename "$build")"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVELLMAROQ_FUZZ=ON -DVELLMAROQ_TESTS=ON >/dev/null
# Only the fuzz targets and their libraries: the rest of the tree has no part in the run.
cmake --build "$build" --target vq_fuzz_targets -j "$(nproc)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
findings="$build/fuzz-findings"
logs="$build/fuzz-logs"
rm -rf "$findings" "$logs"
mkdir -p "$logs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The host file target works in a temporary folder; one left by a crash goes with the scratch.
export TMPDIR="$scratch"

names=()
pids=()
for dir in "$corpus"/*/; do
    name="$(basename "$dir")"
    binary="$build/tests/fuzz/fuzz_$name"
    if [ ! -x "$binary" ]; then
        echo "no fuzz target for the corpus $name" >&2
        exit 1
    fi
    cp -r "$dir" "$scratch/$name"
    mkdir -p "$findings/$name"
    "$binary" "$scratch/$name" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 \
        -detect_leaks=1 -print_final_stats=1 -artifact_prefix="$findings/$name/" \
        >"$logs/$name.log" 2>&1 &
    names+=("$name")
    pids+=("$!")
done

failed=0
printf '%-14s %10s %10s %8s\n' target runs exec/s corpus
for i in "${!names[@]}"; do
    name="${names[$i]}"
    log="$logs/$name.log"
    status=0
    wait "${pids[$i]}" || status=$?
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    speed="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")"
    size="$(find "$scratch/$name" -type f | wc -l)"
    printf '%-14s %10s %10s %8s\n' "$name" "${runs:--}" "${speed:--}" "$size"
    if [ "$status" -ne 0 ]; then
        failed=1
        echo "--- fuzz_$name failed (exit status $status); log: $log" >&2
        grep -E "ERROR: |runtime error: |property broken: " "$log" | head -5 >&2 || true
        for input in "$findings/$name"/*; do
            [ -e "$input" ] || continue
            echo "reproducer: $input" >&2
            echo "  rerun: $build/tests/fuzz/fuzz_$name $input" >&2
        done
    fi
done

if [ "$failed" -ne 0 ]; then
    echo "Fuzzing found faults." >&2
    exit 1
fi
echo "All fuzz targets ran ${seconds}s without a finding."
