#!/usr/bin/env bash
# How long the window stops answering while a large tree arrives, measured
# from outside: the real program on a virtual screen with the accessibility
# bus on, asked over that bus for its list's row count every 10 ms while FILES
# (default 100000) images in folders of 1000 are handed to it by a second
# start. Prints the longest and the slowest answers, and when every row was
# listed. See window_stall_a11y.py.
#   bench/window_stall_a11y.sh [BUILD_DIR] [FILES]
# Needs xvfb, dbus, at-spi2-core, python3-pyatspi and openbox.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
files=${2:-100000}
exec "$here/scripts/a11y-session.sh" /usr/bin/python3 "$here/bench/window_stall_a11y.py" \
  "$build/bin/quorvane" "$files"
