#!/usr/bin/env bash
# How long the window stops answering while a large tree arrives, measured
# from outside: the real program on a virtual screen with the accessibility
# bus on, asked over that bus for its list's row count every 10 ms while FILES
# (default 100000) images in folders of 1000 are handed to it on its command
# line. Prints the longest and the slowest answers, and when every row was
# listed. See window_stall_a11y.py.
#   bench/window_stall_a11y.sh [BUILD_DIR] [FILES]
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi and openbox.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
files=${2:-100000}
if [[ -z "${QUORVANE_STALL_INSIDE:-}" ]]; then
  export QUORVANE_STALL_INSIDE=1
  exec xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- "$0" "$build" "$files"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $bus $wm 2>/dev/null || true' EXIT
sleep 1
/usr/bin/python3 "$here/bench/window_stall_a11y.py" "$build/bin/quorvane" "$files"
