#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Quick when everything is already there: each step checks before it acts.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev clang-format
  libbenchmark-dev googletest
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 locales xvfb xdotool imagemagick fonts-wqy-microhei python3-xlib
  dpkg-dev xz-utils x11-utils python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# Code page 936 under Wine comes from the zh_CN.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating zh_CN.UTF-8"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# libjpeg for the Windows program, built from Debian's libjpeg-turbo source package.
"$(dirname "$0")/build-libjpeg.sh"
