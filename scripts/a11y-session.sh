#!/usr/bin/env bash
# Runs a command on a virtual screen of its own with a session bus, the
# accessibility bus and a window manager (openbox, so that windows take the
# keyboard focus), for checks and measurements that read the real window
# from outside:
#   scripts/a11y-session.sh COMMAND [ARGUMENT...]
# Needs xvfb, dbus, at-spi2-core and openbox.
set -euo pipefail
if [[ -z "${QUORVANE_A11Y_SESSION:-}" ]]; then
  export QUORVANE_A11Y_SESSION=1
  exec xvfb-run -a -s '-screen 0 1280x800x24' dbus-run-session -- "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately &
bus=$!
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $bus $wm 2>/dev/null || true' EXIT
sleep 1
"$@"
