#!/usr/bin/env bash
# Runs every fuzz target in BUILD_DIR for SECONDS each, from its seed corpus in tests/fuzz/corpus.
#   scripts/fuzz.sh [BUILD_DIR=build-fuzz] [SECONDS=30]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-30}
found=0
for target in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds=tests/fuzz/corpus/${name#fuzz_}
  echo "fuzzing $name for ${seconds}s" >&2
  "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 "$work" ${seeds:+$( [ -d "$seeds" ] && echo "$seeds")} 2>&1 | tail -n 12
  rm -rf "$work"
done
[ "$found" -eq 1 ] || { echo "no fuzz targets in $build/tests/fuzz" >&2; exit 1; }
