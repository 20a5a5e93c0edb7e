#!/usr/bin/env bash
# Builds the command-line extractor and runs it on a sample module the build makes.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native -j "$(nproc)" --target iconextract sample_module
out="$PWD/build/native/sample-output"
mkdir -p "$out"
sample="$PWD/build/native/tests/fixtures/sample64.dll"
./build/native/cli/iconextract list "$sample"
./build/native/cli/iconextract extract "$sample" --dir "$out"
