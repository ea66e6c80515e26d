#!/usr/bin/env bash
# Starts Zazorudu as a user runs it: installs what is missing, builds the program if it is out of
# date (quietly; the build's output is shown only when it fails), then starts build/zazorudu on
# the demo receiver. A PDA_GPS that is already set wins, and so does every other PDA_* setting.
#   scripts/run.sh                         on the desktop
#   xvfb-run -a scripts/run.sh             on a box without a screen, under Xvfb
#   PDA_DISPLAY=headless scripts/run.sh    with no screen at all
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# Checked first: building is no use when the window has nowhere to go.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${PDA_DISPLAY:-}" != headless ]; then
  echo "run.sh: no display; run it under Xvfb with \`xvfb-run -a scripts/run.sh\`, or without a screen with \`PDA_DISPLAY=headless scripts/run.sh\`" >&2
  exit 1
fi

"$root/scripts/install-deps.sh"

build_log="$(mktemp)"
trap 'rm -f "$build_log"' EXIT
if ! (cd "$root" && cmake --preset default && cmake --build build --target zazorudu) >"$build_log" 2>&1; then
  cat "$build_log" >&2
  echo "run.sh: the build failed (output above)" >&2
  exit 1
fi
rm -f "$build_log"
trap - EXIT

# The program starts from the caller's folder, so relative PDA_ROOT and nmea: paths mean what
# the caller meant.
export PDA_GPS="${PDA_GPS:-demo}"
exec "$root/build/zazorudu"
