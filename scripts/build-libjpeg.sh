#!/usr/bin/env bash
# Builds the static libjpeg of the Windows program from Debian's libjpeg-turbo source package,
# once per MinGW architecture, into build/deps/libjpeg-<triplet>/ (include/ and lib/libjpeg.a).
# Usage: scripts/build-libjpeg.sh [x86_64-w64-mingw32 | i686-w64-mingw32]...  (default: both)
# Quick the second time: a finished architecture leaves a stamp and is not built again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
deps="$root/build/deps"
triplets=("$@")
((${#triplets[@]})) || triplets=(x86_64-w64-mingw32 i686-w64-mingw32)

all_built=1
for triplet in "${triplets[@]}"; do
  [ -f "$deps/libjpeg-$triplet/.built" ] || all_built=0
done
((all_built)) && exit 0

mkdir -p "$deps"
exec 9>"$deps/libjpeg.lock"
flock 9

# The source package: deb-src must be among the apt sources before apt-get source finds it.
fetch_source() {
  local sources=/etc/apt/sources.list.d/debian.sources
  if [ -f "$sources" ] && ! grep -q 'deb-src' "$sources"; then
    echo "build-libjpeg: adding deb-src to $sources"
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$sources"
    apt-get update -qq
  fi
  mkdir -p "$deps/download"
  (cd "$deps/download" && apt-get source --download-only libjpeg-turbo >/dev/null 2>&1) || {
    apt-get update -qq
    (cd "$deps/download" && apt-get source --download-only libjpeg-turbo >/dev/null)
  }
}

source_dir="$deps/libjpeg-turbo-src"
if [ ! -f "$source_dir/.unpacked" ]; then
  ls "$deps"/download/libjpeg-turbo_*.dsc >/dev/null 2>&1 || fetch_source
  rm -rf "$source_dir"
  dsc=$(ls "$deps"/download/libjpeg-turbo_*.dsc | head -n 1)
  dpkg-source --no-check -x "$dsc" "$source_dir" >/dev/null
  rm -f "$deps"/libjpeg-turbo_*.orig.tar.*  # the copy dpkg-source leaves beside the tree
  touch "$source_dir/.unpacked"
fi

for triplet in "${triplets[@]}"; do
  prefix="$deps/libjpeg-$triplet"
  [ -f "$prefix/.built" ] && continue
  case "$triplet" in
    x86_64-w64-mingw32) toolchain="$root/cmake/mingw-x86_64.cmake" ;;
    i686-w64-mingw32) toolchain="$root/cmake/mingw-i686.cmake" ;;
    *) echo "build-libjpeg: unknown architecture $triplet" >&2; exit 1 ;;
  esac
  echo "build-libjpeg: building libjpeg for $triplet"
  work="$deps/libjpeg-build-$triplet"
  rm -rf "$work" "$prefix"
  # The project's toolchain files set an emulator from CMAKE_BINARY_DIR; libjpeg runs nothing.
  cmake -S "$source_dir" -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=OFF -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=OFF >"$work.log" 2>&1 ||
    { cat "$work.log" >&2; exit 1; }
  cmake --build "$work" --target jpeg-static -j 2 >>"$work.log" 2>&1 ||
    { cat "$work.log" >&2; exit 1; }
  mkdir -p "$prefix/include" "$prefix/lib"
  cp "$work/libjpeg.a" "$prefix/lib/"
  cp "$source_dir/jpeglib.h" "$source_dir/jmorecfg.h" "$source_dir/jerror.h" \
    "$work/jconfig.h" "$prefix/include/"
  rm -rf "$work" "$work.log"
  touch "$prefix/.built"
done
