#!/usr/bin/env bash
# Checks a built package as a user would meet it, inside a fresh root (run it
# through scripts/debian-root.sh with QUORVANE_ROOT_FILES naming the .deb and
# a photo): install with apt, convert the photo to each output format, show
# the manual page, purge, and look for anything left behind.
#
#   QUORVANE_ROOT_FILES="build/quorvane_….deb PHOTO.jpg" \
#     bash scripts/debian-root.sh RELEASE bash scripts/package-check.sh
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive

deb=$(ls /root/quorvane_*.deb)
photo=$(ls /root/*.jpg | head -n 1)
apt-get update -qq
start=$(date +%s)
apt-get install -y -qq --no-install-recommends "$deb" >/tmp/install.log 2>&1 || {
  tail -n 30 /tmp/install.log >&2
  exit 1
}
echo "package-check: installed in $(($(date +%s) - start)) s"
dpkg -L quorvane >/tmp/files
quorvane --version
for format in webp jpeg png heic avif jxl; do
  quorvane-cli --format "$format" --output /tmp/out "$photo"
done
ls -l /tmp/out
apt-get install -y -qq --no-install-recommends man-db >/dev/null 2>&1
MANPAGER=cat man quorvane-cli | head -n 5
apt-get purge -y -qq quorvane >/dev/null
left=()
while read -r path; do
  if [[ -e $path && ! -d $path ]]; then left+=("$path"); fi
done </tmp/files
for dir in /usr/share/quorvane /usr/libexec/quorvane /usr/share/doc/quorvane; do
  [[ -e $dir ]] && left+=("$dir")
done
if ((${#left[@]})); then
  echo "package-check: left behind after purge: ${left[*]}" >&2
  exit 1
fi
echo "package-check: purge left nothing behind"
