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

# The Windows tests share one virtual display and one warm wineserver: a cold start costs
# seconds for every test program.
display=:97
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
fi
export DISPLAY=$display
./build/win64/wine-run cmd /c exit >/dev/null 2>&1 || true
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver -p 60

ctest --preset native -j "$jobs"
# The readers of untrusted bytes under the sanitizers: each fuzzer for a minute.
./scripts/fuzz.sh 60
ctest --preset win64 -j "$jobs"
