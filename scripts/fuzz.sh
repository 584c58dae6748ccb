#!/usr/bin/env bash
# Fuzzes every libFuzzer target of the build (the quantiser's C entry point
# and each parser of untrusted bytes) with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang), each for a bounded time.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]    (default 60 s each; all *_fuzz targets)
#
# Builds in build-fuzz/ (only the fuzz targets). Each target <name>_fuzz starts
# from the seeds in tests/*/fuzz/corpus/<name>/, keeps what it finds in
# build-fuzz/fuzz-corpus/<name>, and the run exits non-zero on the first crash
# or contract violation (the reproducer is left in build-fuzz/).
set -euo pipefail

seconds=${1:-60}
shift || true
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

if (($# > 0)); then
  targets=("$@")
else
  cmake --build "$build" --target help >/dev/null  # regenerates when CMake files changed
  mapfile -t targets < <(ninja -C "$build" -t targets all |
    sed -n 's/^\([a-z0-9_]*_fuzz\): phony$/\1/p' | grep -v '^cmake_' | sort -u)
fi
cmake --build "$build" --target "${targets[@]}" -j2

cd "$build"
for target in "${targets[@]}"; do
  name=${target%_fuzz}
  corpus="$build/fuzz-corpus/$name"
  mkdir -p "$corpus"
  for seeds in "$here"/tests/*/fuzz/corpus/"$name"; do
    [[ -d $seeds ]] && cp -n "$seeds"/* "$corpus"/
  done
  # The quantiser's input is a whole image; the parsers see one file or
  # block, which a few hundred kB covers.
  max_len=262144
  [[ $name == quantizer* ]] && max_len=4096
  echo "fuzz: $target for $seconds s"
  "$build/bin/$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus"
done
