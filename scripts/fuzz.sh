#!/usr/bin/env bash
# Fuzzes the ICO and module readers under AddressSanitizer and UBSan.
#   scripts/fuzz.sh [SECONDS]   each target runs SECONDS (default 60)
# First every kept regression case and the corrupt-and-truncate loop run; then each fuzzer
# grows its corpus under build/fuzz/corpus, seeded with small files the build makes. A crash
# leaves its input in build/fuzz/artifacts; minimize it (-minimize_crash=1) and keep it under
# tests/fuzz/regressions/<target>/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
bin=build/fuzz/tests/fuzz
corpus=build/fuzz/corpus
artifacts=build/fuzz/artifacts
rm -rf "$artifacts"
mkdir -p "$corpus/ico" "$corpus/module" "$artifacts"
"$bin/write_seeds" "$corpus/ico" "$corpus/module"
"$bin/corrupt_and_truncate"

# Each input must finish within a second and the process stay under 256 MB; leaks count as
# failures. AddressSanitizer's quarantine of freed blocks is kept small so that the figure is
# the readers' own memory.
export ASAN_OPTIONS=quarantine_size_mb=16:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
limits=(-timeout=1 -rss_limit_mb=256 -malloc_limit_mb=256)
run() {
  local target=$1 kind=$2 max_len=$3
  local regressions=(tests/fuzz/regressions/"$kind"/*)
  if [ -e "${regressions[0]}" ]; then
    "$bin/$target" "${limits[@]}" "${regressions[@]}"
  fi
  "$bin/$target" "${limits[@]}" -max_len="$max_len" -max_total_time="$seconds" \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" "$corpus/$kind" 2>&1 |
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb|Done|==[0-9]+==ERROR|SUMMARY)' || true
  # grep hides libFuzzer's own exit status: a crash shows as an artifact.
  if compgen -G "$artifacts/$target-*" >/dev/null; then
    echo "fuzz: $target found a failing input:" "$artifacts/$target-"*
    return 1
  fi
}
run fuzz_ico ico 16384
run fuzz_module module 65536
