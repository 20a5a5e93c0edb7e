#!/usr/bin/env bash
# Screenshots of skinned controls and of a skinned message box on a virtual display, to be
# looked at. Usage: screenshots.sh [build dir] [output dir] [display]
set -euo pipefail
build=${1:-build/win64}
out=${2:-$build/skin-shots}
display=${3:-${DISPLAY:-:97}}
demo=${SKIN_DEMO:-$build/tests/skin/skin_demo.exe}
mkdir -p "$out"
export DISPLAY=$display

shoot() { # scheme, arguments, picture name
  "$build/wine-run" "$demo" $1 $2 &
  local pid=$!
  timeout 30 xdotool search --sync --name "$3" >/dev/null
  sleep 1.5
  import -window root "$out/$4.png"
  wait "$pid"
}

shoot 1 "" "皮肤" window-blue
shoot 2 "" "皮肤" window-olive
shoot 1 box "提示" messagebox-blue
echo "screenshots in $out"
