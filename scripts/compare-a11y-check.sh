#!/usr/bin/env bash
# Checks the compare view from outside, through the accessibility bus, on a
# virtual screen of its own (see compare-a11y-check.py for what it checks).
#   scripts/compare-a11y-check.sh [BUILD_DIR] PHOTO
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi and a window manager
# (openbox) so the window takes the keyboard focus.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [[ $# -eq 2 ]]; then build=$1; shift; else build=$here/build; fi
photo=$(realpath "$1")
if [[ -z "${QUORVANE_A11Y_INSIDE:-}" ]]; then
  export QUORVANE_A11Y_INSIDE=1
  exec xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- "$0" "$build" "$photo"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $bus $wm 2>/dev/null || true' EXIT
sleep 1
/usr/bin/python3 "$here/scripts/compare-a11y-check.py" "$build/bin/quorvane" "$photo"
