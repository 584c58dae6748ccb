#!/usr/bin/env bash
# Fuzzes the colour quantiser's C entry point with libFuzzer (clang), AddressSanitizer
# and UndefinedBehaviorSanitizer, for a bounded time.
#
#   scripts/fuzz-quantizer.sh [SECONDS]    (default 60)
#
# Builds in build-fuzz/ (only the fuzz target), keeps the corpus in
# build-fuzz/fuzz-corpus/quantizer and exits non-zero when a crash or a contract
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
cmake --build "$build" --target quantizer_fuzz -j2

corpus="$build/fuzz-corpus/quantizer"
mkdir -p "$corpus"
# A few seeds: tiny images, one with every colour count edge.
printf '\x00\x00\x00\x01\x00\xff\x00\x00\xff' >"$corpus/seed-1x1"
printf '\x07\x00\x02\x00\x01\x10\x20\x30\x40\x50\x60\x70\x80' >"$corpus/seed-8x3-256"
printf '\x20\x00\x10\x40\x00\x00\x11\x22\x33\x44\x55\x66\x77\x88\x99\xaa\xbb' >"$corpus/seed-33x17-64"
printf '\x01\x00\x01\x01\x01\x01\x02\x03\x04' >"$corpus/seed-reject-257"

cd "$build"
"$build/bin/quantizer_fuzz" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
  -print_final_stats=1 "$corpus"
