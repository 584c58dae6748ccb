#!/usr/bin/env bash
# Fuzzes the colour quantiser's C entry point alone; see scripts/fuzz.sh.
#
#   scripts/fuzz-quantizer.sh [SECONDS]    (default 60)
set -euo pipefail
exec "$(dirname "$0")/fuzz.sh" "${1:-60}" quantizer_fuzz
