#!/usr/bin/env bash
# Renders the window into docs/*.png, light and dark, with the sample photos.
#   scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
cmake --build "$build" --target take_screenshots
for look in "" --dark; do
  QT_QPA_PLATFORM=offscreen "$build/bin/take_screenshots" "$here/docs" $look
done
