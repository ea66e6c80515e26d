#!/usr/bin/env bash
# cpu: see bench/README.md and measure.py. Options: cpu.sh --help
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/measure.py" cpu "$@"
