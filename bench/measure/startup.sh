#!/usr/bin/env bash
# startup: see bench/README.md and measure.py. Options: startup.sh --help
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/measure.py" startup "$@"
