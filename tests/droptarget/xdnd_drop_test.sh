#!/usr/bin/env bash
# A file dropped from the X side on a Wine window with a drop target for files: the text that
# FilesReceived delivers must be the file's DOS path.
# Usage: xdnd_drop_test.sh WINE_RUN PROBE_EXE XDND_SCRIPT
set -euo pipefail
wine_run=$1 probe=$2 script=$3

work=$(mktemp -d /tmp/xdnd-drop.XXXXXX)
probe_pid=
cleanup() {
  if [ -n "$probe_pid" ]; then kill "$probe_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/drop me" "$work/图标"
first="$work/drop me/tool.exe"
second="$work/图标/图标 1.ico"
: >"$first"
: >"$second"
output="$work/received.txt"
dos() { printf 'Z:%s' "${1//\//\\}"; }
uri() { /usr/bin/python3 -c 'import sys, urllib.parse; print("file://" + urllib.parse.quote(sys.argv[1]))' "$1"; }

"$wine_run" "$probe" "$(dos "$output")" &
probe_pid=$!
# The window is 480 x 273 at 100,100; the point lies inside it, away from the component.
/usr/bin/python3 "$script" DropProbe 300 200 "$(uri "$first")" "$(uri "$second")"
wait "$probe_pid"
probe_pid=

# Two names, each followed by CR LF, as ANSI paths of code page 936.
printf '%s\r\n%s\r\n' "$(dos "$first")" "$(dos "$second")" | iconv -f UTF-8 -t GBK >"$work/expected.txt"
if ! cmp -s "$output" "$work/expected.txt"; then
  echo "FilesReceived gave:" >&2
  iconv -f GBK -t UTF-8 "$output" | od -c | head >&2 || od -c "$output" | head >&2
  echo "expected:" >&2
  od -c "$work/expected.txt" | head >&2
  exit 1
fi
iconv -f GBK -t UTF-8 "$output"
