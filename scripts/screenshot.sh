#!/usr/bin/env bash
# Saves a picture of the screen $DISPLAY once the program's main window shows there.
# Usage: scripts/screenshot.sh OUTPUT.png    (the program must be starting or running)
set -euo pipefail
out="${1:?usage: scripts/screenshot.sh OUTPUT.png}"
: "${DISPLAY:?no display}"
# The title holds "Qorvane"; xdotool matches it in the title that Wine gives the X window.
if ! timeout 60 xdotool search --sync --onlyvisible --name 'Qorvane' >/dev/null 2>&1; then
  echo "screenshot: the program's window did not show on $DISPLAY" >&2
  exit 1
fi
sleep 1 # the first paint decodes the background
import -window root "$out"
