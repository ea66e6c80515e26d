#!/usr/bin/env bash
# The test command: installs what is missing, then configures, builds and runs every test in
# each configuration: the normal build, ASan+UBSan, TSan, and a short run of every fuzz target.
#   scripts/test.sh                 all of it
#   scripts/test.sh default|asan|tsan|fuzz ...   only those
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(default asan tsan fuzz)

# ThreadSanitizer of this toolchain cannot map its shadow memory under the wide address-space
# randomisation of current kernels; run those tests without randomisation.
norandom=()
if setarch "$(uname -m)" -R true 2>/dev/null; then norandom=(setarch "$(uname -m)" -R); fi

for c in "${configs[@]}"; do
  echo "=== $c ===" >&2
  cmake --preset "$c" >/dev/null
  cmake --build --preset "$c"
  case "$c" in
    fuzz) scripts/fuzz.sh build-fuzz 30 ;;
    tsan) "${norandom[@]}" ctest --preset "$c" ;;
    *) ctest --preset "$c" ;;
  esac
done
