#!/usr/bin/env bash
# memory: see bench/README.md and measure.py. Options: memory.sh --help
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/measure.py" memory "$@"
