#!/usr/bin/env bash
# What the quality receipt costs: quorvane-cli on a folder of photos, WebP at
# quality 80 fitted to 1920 px (as people publish photos), with and without
# --check-quality, run alternately; prints each run's CPU time (user +
# system, encoders included) and the ratio of the medians.
#
#   bench/receipt_cost.sh PHOTO_FOLDER [BUILD_DIR] [RUNS]
set -euo pipefail

photos=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
runs=${3:-3}
cli="$build/bin/quorvane-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpu() {  # CPU seconds of one batch
  rm -rf "$work/out"
  /usr/bin/time -f '%U %S' -o "$work/time" "$cli" --format webp --quality 80 \
    --max-width 1920 --max-height 1920 --output "$work/out" "$@" "$photos" >"$work/log" 2>&1
  awk '{ printf "%.2f\n", $1 + $2 }' "$work/time"
}

without=() with=()
for ((run = 0; run < runs; ++run)); do
  without+=("$(cpu)")
  with+=("$(cpu --check-quality)")
  echo "run $((run + 1)): without ${without[-1]} s, with ${with[-1]} s"
done
grep -E "identical|close|visible|changed" "$work/log" | sed 's/.*-> //' >"$work/verdicts" || true
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
m_without=$(median "${without[@]}")
m_with=$(median "${with[@]}")
echo "median CPU: without $m_without s, with $m_with s, ratio $(awk -v a="$m_with" -v b="$m_without" 'BEGIN { printf "%.3f", a / b }')"
echo "verdicts of the last run:"
sed 's/^/  /' "$work/verdicts"
