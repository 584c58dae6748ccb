#!/usr/bin/env bash
# Fuzzes the colour quantiser's C entry points (the colour palette and the
# alpha-aware one) with libFuzzer (clang), AddressSanitizer and
# UndefinedBehaviorSanitizer, for a bounded time each.
#
#   scripts/fuzz-quantizer.sh [SECONDS]    (per entry point, default 60)
#
# Builds in build-fuzz/ (only the fuzz targets), keeps the corpora in
# build-fuzz/fuzz-corpus/ and exits non-zero when a crash or a contract
# violation is found (the reproducer is left in build-fuzz/).
set -euo pipefail

seconds=${1:-60}
here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build-fuzz"

sanitizers="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all"
if [[ ! -f "$build/build.ninja" ]]; then
  cmake -S "$here" -B "$build" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_FLAGS="$sanitizers" -DCMAKE_CXX_FLAGS="$sanitizers" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DQUORVANE_BUILD_GUI=OFF -DQUORVANE_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target quantizer_fuzz quantizer_alpha_fuzz -j2

corpus="$build/fuzz-corpus/quantizer"
mkdir -p "$corpus"
# A few seeds: tiny images, one with every colour count edge.
printf '\x00\x00\x00\x01\x00\xff\x00\x00\xff' >"$corpus/seed-1x1"
printf '\x07\x00\x02\x00\x01\x10\x20\x30\x40\x50\x60\x70\x80' >"$corpus/seed-8x3-256"
printf '\x20\x00\x10\x40\x00\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb' >"$corpus/seed-33x17-64"
printf '\x01\x00\x01\x01\x01\x01\x02\x03\x04' >"$corpus/seed-reject-257"

alpha_corpus="$build/fuzz-corpus/quantizer-alpha"
mkdir -p "$alpha_corpus"
# Width, height, colour count (2 bytes), pixels: clear, soft-edged, too few colours.
printf '\x03\x02\x10\x00\x00\x00\x00\x00\xff\x10\x20\x80' >"$alpha_corpus/seed-4x3-16"
printf '\x20\x10\x00\x01\x10\x20\x30\x00\x40\x50\x60\xff\x70\x80\x90\x7f' >"$alpha_corpus/seed-33x17-256"
printf '\x07\x07\x02\x00\x11\x22\x33\x00\x44\x55\x66\x01\x77\x88\x99\xff' >"$alpha_corpus/seed-8x8-2"
printf '\x01\x01\x01\x00\x01\x02\x03\x04' >"$alpha_corpus/seed-reject-1"

cd "$build"
"$build/bin/quantizer_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus"
"$build/bin/quantizer_alpha_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
  -print_final_stats=1 "$alpha_corpus"
