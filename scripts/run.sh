#!/usr/bin/env bash
# Builds Vellmaroq and starts it from the current folder (where it looks for info.txt).
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
bash "$src/scripts/install-deps.sh"
cmake -S "$src" -B "$src/build-app" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLMAROQ_TESTS=OFF >/dev/null
cmake --build "$src/build-app" --target vellmaroq
exec "$src/build-app/app/vellmaroq"
