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
xvfb=
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
fi
export DISPLAY=$display
export WINEPREFIX="$PWD/build/win64/wineprefix"
wineserver=/usr/lib/wine/wineserver
./build/win64/wine-run cmd /c exit >/dev/null 2>&1 || true # makes the prefix on first use
"$wineserver" -w
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true; [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true' EXIT
# Wine's own services start now, so that they do not inherit a test's output and keep CTest
# waiting for it after the test has ended.
./build/win64/wine-run cmd /c exit >/dev/null 2>&1 || true

ctest --preset native -j "$jobs"
# The readers of untrusted bytes under the sanitizers: each fuzzer for a minute.
./scripts/fuzz.sh 60
ctest --preset win64 -j "$jobs"
