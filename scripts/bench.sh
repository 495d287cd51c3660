#!/usr/bin/env bash
# Builds the benchmarks in Release (build-bench), runs them all and prints each figure beside its
# target, one line per figure. The benchmarks measure; they are not part of the tests. Exits
# non-zero when a figure misses its target or a benchmark fails.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
bash "$src/scripts/install-deps.sh"
dir="$src/build-bench"
bin="$dir/bench"

# The tests are left out: the benchmarks need none of them, and a test being written elsewhere
# must not stop the build.
cmake -S "$src" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELLMAROQ_BENCH=ON \
    -DVELLMAROQ_TESTS=OFF >/dev/null
cmake --build "$dir" --target vq_benchmarks -j "$(nproc)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# Qt wants a private runtime folder; a session without one gets its own here.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    mkdir -m 700 "$scratch/runtime"
    export XDG_RUNTIME_DIR="$scratch/runtime"
fi
figures="$scratch/figures.txt"
: >"$figures"

status=0
"$bin/scan_bench" --figures="$figures" || status=1
"$bin/window_bench" --figures="$figures" || status=1
"$bin/startup_bench" --probe="$bin/startup_probe" --figures="$figures" || status=1

echo
echo "=== Figures ($(nproc) cores; medians, see README.md, Performance)"
cat "$figures"
exit "$status"
