#!/usr/bin/env bash
# The front door: sets up what is missing (Debian 12 or 13, as root or with
# sudo), builds and goes. Needs nothing but bash and apt to start with.
#
#   bash scripts/dev.sh run        build and start the window
#   bash scripts/dev.sh test       build and run every test
#   bash scripts/dev.sh test-asan  the tests again under ASan + UBSan (build-asan/)
#   bash scripts/dev.sh package    build/quorvane_<version>_amd64.deb, checked by lintian
#   bash scripts/dev.sh bench      run the benchmarks
#
# Release builds go to build/, RelWithDebInfo with sanitizers to build-asan/.
# Warnings are shown, never fatal: a newer compiler's new warning must not
# stop a user's build. Developers and CI set QUORVANE_WERROR=1 to make them
# errors. BUILD, ASAN_BUILD and JOBS override the defaults.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
build=${BUILD:-build}
asan_build=${ASAN_BUILD:-build-asan}
jobs=${JOBS:-$(nproc)}
what=${1:-}

test_environment() {
  export QT_QPA_PLATFORM=offscreen CANBERRA_DRIVER=null
}

configure() {  # folder, build type, extra cmake arguments...
  local folder=$1 type=$2 werror=OFF
  shift 2
  [[ ${QUORVANE_WERROR:-0} == 1 ]] && werror=ON
  # Run every time: a no-op when nothing changed, and it picks up a changed
  # QUORVANE_WERROR in an existing build folder.
  cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DQUORVANE_WERROR="$werror" "$@"
}

case "$what" in
  run)
    bash scripts/setup.sh
    configure "$build" Release
    cmake --build "$build" -j "$jobs" --target quorvane quorvane-cli quorvane-heic
    exec "$build/bin/quorvane" "${@:2}"
    ;;
  test)
    bash scripts/setup.sh
    configure "$build" Release
    cmake --build "$build" -j "$jobs"
    test_environment
    ctest --test-dir "$build" --output-on-failure --timeout 300 -j "$jobs"
    ;;
  test-asan)
    bash scripts/setup.sh
    configure "$asan_build" RelWithDebInfo -DQUORVANE_SANITIZE=ON -DQUORVANE_BUILD_BENCH=OFF
    cmake --build "$asan_build" -j "$jobs"
    test_environment
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      LSAN_OPTIONS=suppressions="$here/tests/lsan.supp":print_suppressions=0 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --test-dir "$asan_build" --output-on-failure --timeout 900 -j "$jobs"
    ;;
  package)
    bash scripts/setup.sh --package
    configure "$build" Release
    cmake --build "$build" -j "$jobs"
    (cd "$build" && cpack -G DEB)
    deb=$(ls -t "$build"/quorvane_*_amd64.deb | head -n 1)
    # Errors and warnings fail; the one override the package carries says why.
    lintian --fail-on error,warning "$deb"
    echo "package: $deb"
    ;;
  bench)
    bash scripts/setup.sh
    configure "$build" Release
    cmake --build "$build" -j "$jobs"
    for b in "$build"/bin/*_bench; do
      echo "== $b"
      "$b"
    done
    ;;
  *)
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
    ;;
esac
