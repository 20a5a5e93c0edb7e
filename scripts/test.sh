#!/usr/bin/env bash
# Builds the three presets and runs every test: native, then the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

jobs=$(nproc)
for preset in native win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

# A warm wineserver saves seconds on every Windows test program.
./build/win64/wine-run wineboot -u >/dev/null 2>&1 || true
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver -p 60

ctest --preset native -j "$jobs"
ctest --preset win64 -j "$jobs"
