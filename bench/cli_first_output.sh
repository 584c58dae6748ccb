#!/usr/bin/env bash
# How soon the command line writes its first output when given a large tree:
# FILES hard links (default 100000) to one small PNG in folders of 1000, then
# quorvane-cli on the tree, stopped with SIGINT once the first output is
# there. Prints the seconds to the first output and to the end after SIGINT.
#   [COLD=1] bench/cli_first_output.sh [CLI] [FILES]
set -euo pipefail
cli=${1:-build/bin/quorvane-cli}
files=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work" "$files" <<'PY'
import os, struct, sys, zlib
work, files = sys.argv[1], int(sys.argv[2])
w, h = 64, 48
rows = b"".join(b"\0" + bytes((x * 4 + y) % 256 for x in range(w * 3)) for y in range(h))
def chunk(t, d): return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
seed = os.path.join(work, "seed.png")
open(seed, "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
data = open(seed, "rb").read()
for i in range(files):
    folder = os.path.join(work, "tree", f"{i // 1000:03d}")
    if i % 1000 == 0:  # a file of its own per folder: links per inode are limited
        os.makedirs(folder)
        first = os.path.join(folder, f"{i:06d}.png")
        open(first, "wb").write(data)
    else:
        os.link(first, os.path.join(folder, f"{i:06d}.png"))
PY
# COLD=1 (root): start from a cold page cache, as after a reboot.
if [ "${COLD:-0}" = 1 ]; then sync; echo 3 > /proc/sys/vm/drop_caches; fi
start=$(date +%s.%N)
"$cli" --output "$work/out" "$work/tree" > "$work/log" 2>&1 &
pid=$!
while [ -z "$(ls -A "$work/out" 2>/dev/null | grep -v '^\.' || true)" ]; do
  kill -0 $pid 2>/dev/null || break
  sleep 0.02
done
first=$(date +%s.%N)
kill -INT $pid
wait $pid || true
end=$(date +%s.%N)
echo "files: $files"
echo "first output after: $(echo "$first - $start" | bc) s"
echo "ended after SIGINT: $(echo "$end - $first" | bc) s"
tail -1 "$work/log"
