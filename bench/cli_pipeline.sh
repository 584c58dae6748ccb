#!/usr/bin/env bash
# Whole-pipeline benchmark: quorvane-cli on a folder of photos, for each
# format, against the bare tools run one after another from a shell loop with
# the same settings.
#
#   bench/cli_pipeline.sh PHOTO_FOLDER [BUILD_DIR]
#
# Prints, per format: our wall time, the loop's wall and CPU time, the
# speed-up, and the pipeline efficiency = (loop CPU time / cores) / our wall.
set -euo pipefail

photos=$(cd "$1" && pwd)
build=$(cd "${2:-build}" && pwd)
cli="$build/bin/quorvane-cli"
tools="$build/share/quorvane/bin"
cores=$(nproc)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Seconds of wall time and of user+system CPU time of a command.
measure() {
  /usr/bin/time -f '%e %U %S' -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
    cat "$work/stderr" >&2
    return 1
  }
  awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$work/time"
}

bare_loop() {
  local format=$1 out=$2
  mkdir -p "$out"
  for f in "$photos"/*; do
    local name
    name=$(basename "${f%.*}")
    case $format in
      webp) "$tools/cwebp" -q 80 -m 6 "$f" -o "$out/$name.webp" 2>/dev/null ;;
      jpeg) djpeg -targa "$f" >"$out/$name.tga" &&
            "$tools/cjpeg" -quality 80 -optimize -progressive -targa "$out/$name.tga" >"$out/$name.jpg" &&
            rm "$out/$name.tga" ;;
      png) vips copy "$f" "$out/$name.in.png[compression=1]" &&
           "$build/bin/quorvane-quantize" "$out/$name.in.png" "$out/$name.png" 256 &&
           rm "$out/$name.in.png" &&
           "$tools/oxipng" -o 4 --strip safe "$out/$name.png" 2>/dev/null ;;
      heic) heif-enc -q 45 "$f" -o "$out/$name.heic" >/dev/null ;;
      avif) "$tools/avifenc" --min 12 --max 12 --speed 4 "$f" "$out/$name.avif" >/dev/null ;;
    esac
  done
}
export -f bare_loop
export photos build tools

printf '%-5s %9s %9s %9s %8s %10s\n' format ours_s loop_s loop_cpu speedup efficiency
for format in ${FORMATS:-webp jpeg png heic avif}; do
  read -r ours_wall _ < <(measure "$cli" --format "$format" --quality 80 --output "$work/ours-$format" "$photos")
  read -r loop_wall loop_cpu < <(measure bash -c "bare_loop $format '$work/bare-$format'")
  awk -v f="$format" -v o="$ours_wall" -v lw="$loop_wall" -v lc="$loop_cpu" -v c="$cores" \
    'BEGIN { printf "%-5s %9.1f %9.1f %9.1f %7.2fx %10.2f\n", f, o, lw, lc, lw / o, (lc / c) / o }'
  rm -rf "$work/ours-$format" "$work/bare-$format"
done
