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

# Every CTest summary is kept, so the run ends with one line of totals.
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
run_ctest() { "$@" | tee >(grep -E "tests passed, [0-9]+ tests failed out of|\(Skipped\)" >>"$summary"); }

for c in "${configs[@]}"; do
  echo "=== $c ===" >&2
  cmake --preset "$c" >/dev/null
  cmake --build --preset "$c"
  case "$c" in
    fuzz) scripts/fuzz.sh build-fuzz 30 ;;
    tsan) run_ctest "${norandom[@]}" ctest --preset "$c" ;;
    *) run_ctest ctest --preset "$c" ;;
  esac
done

sleep 0.2  # the summary's tee finishes behind the pipe
if [ -s "$summary" ]; then
  awk '/\(Skipped\)/ { skipped++; next }
       { for (i = 1; i <= NF; i++) { if ($i == "failed") failed += $(i - 2); if ($i == "of") total += $(i + 1) } }
       END { print "totals: " total - failed - skipped " passed, " failed " failed, " skipped " skipped" }' "$summary"
fi
