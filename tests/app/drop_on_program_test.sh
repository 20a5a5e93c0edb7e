#!/usr/bin/env bash
# The real program: a file dropped on its window from the X side lands in its path box, from
# the first moment the window is visible.
# Usage: drop_on_program_test.sh WINE_RUN PROGRAM PATH_BOX_READER XDND_SCRIPT
set -euo pipefail
wine_run=$1 program=$2 reader=$3 script=$4
title='ICO图标提取工具  By:Qorvane]  Maltor'

work=$(mktemp -d /tmp/drop-on-program.XXXXXX)
program_pid=
cleanup() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

cp "$program" "$work/IconExtractor.exe"
mkdir -p "$work/拖放"
dropped="$work/拖放/tool one.exe"
: >"$dropped"
dos() { printf 'Z:%s' "${1//\//\\}"; }
uri() { /usr/bin/python3 -c 'import sys, urllib.parse; print("file://" + urllib.parse.quote(sys.argv[1]))' "$1"; }

"$wine_run" "$work/IconExtractor.exe" &
program_pid=$!
xdotool search --sync --name "$title" >/dev/null
read -r x y width height < <(xdotool search --name "$title" getwindowgeometry --shell |
  awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
# A point of the window below the buttons, away from every component.
/usr/bin/python3 "$script" "$title" $((x + width / 2)) $((y + height - 30)) "$(uri "$dropped")"
"$wine_run" "$reader" "$(dos "$work/box.txt")"
wait "$program_pid"
program_pid=

# One name alone, as an ANSI path of code page 936, with nothing added.
dos "$dropped" | iconv -f UTF-8 -t GBK >"$work/expected.txt"
if ! cmp -s "$work/box.txt" "$work/expected.txt"; then
  echo "the path box shows:" >&2
  od -c "$work/box.txt" | head >&2
  echo "expected:" >&2
  od -c "$work/expected.txt" | head >&2
  exit 1
fi
iconv -f GBK -t UTF-8 "$work/box.txt"; echo
