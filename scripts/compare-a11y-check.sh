#!/usr/bin/env bash
# Checks the compare view from outside, through the accessibility bus, on a
# virtual screen of its own (see compare-a11y-check.py for what it checks).
#   scripts/compare-a11y-check.sh [BUILD_DIR] PHOTO
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi, xdotool and openbox.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -eq 2 ]]; then build=$1; shift; else build=$here/build; fi
photo=$(realpath "$1")
exec "$here/scripts/a11y-session.sh" /usr/bin/python3 "$here/scripts/compare-a11y-check.py" \
  "$build/bin/quorvane" "$photo"
