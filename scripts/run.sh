#!/usr/bin/env bash
# Builds the Windows program and starts it under Wine. With a display it opens there; without
# one it runs on a virtual display of its own, saves a screenshot and prints its path. It runs
# until the window is closed or the user presses Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$(nproc)" --target IconExtractor
build="$PWD/build/win64"
program="$build/app/IconExtractor.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "run: starting the program on $DISPLAY"
  exec "$build/wine-run" "$program"
fi

# The first display number that no X server holds.
for n in $(seq 90 120); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
    display=":$n"
    break
  fi
done
: "${display:?no free display number}"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
stop() {
  if [ -n "$app" ]; then
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
  fi
  kill "$xvfb" 2>/dev/null || true
}
trap stop EXIT
trap 'exit 130' INT TERM
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$build/wine-run" "$program" &
app=$!
shot="$build/screenshot.png"
./scripts/screenshot.sh "$shot"
echo "run: the program runs on the virtual display $display (no display was set)"
echo "run: screenshot saved to $shot"
echo "run: press Ctrl+C to stop it"
wait "$app" || true
app=""
