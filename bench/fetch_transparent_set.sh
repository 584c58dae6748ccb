#!/usr/bin/env bash
# Gathers the transparent test set of the alpha palette benchmark from Debian
# packages: logos, glows, splash art and icons with soft shadows, all 8-bit
# RGBA PNGs whose alpha varies. Nothing is installed; the packages are
# downloaded and unpacked in a scratch folder.
#
#   bench/fetch_transparent_set.sh DIR    (the images land in DIR/)
set -euo pipefail

out=${1:?usage: fetch_transparent_set.sh DIR}
mkdir -p "$out"
scratch=$(mktemp -d)
chmod 755 "$scratch"  # apt-get download writes as its own user
trap 'rm -rf "$scratch"' EXIT

packages=(desktop-base plymouth-themes oxygen-icon-theme gnome-icon-theme)
(cd "$scratch" && apt-get download "${packages[@]}" >/dev/null)
for deb in "$scratch"/*.deb; do dpkg-deb -x "$deb" "$scratch/root"; done

# name in the set <- path inside the packages
files=(
  emerald-logo.png=usr/share/plymouth/themes/emerald/logo+emerald.png
  emerald-glow.png=usr/share/plymouth/themes/emerald/glow.png
  emerald-grub.png=usr/share/desktop-base/emerald-theme/grub/grub-4x3.png
  debian-logo-text.png=usr/share/desktop-base/debian-logos/logo-text-version-256.png
  solar-star.png=usr/share/plymouth/themes/solar/star.png
  spacefun-swirl.png=usr/share/plymouth/themes/spacefun/swirlaxy.png
  spacefun-earth.png=usr/share/plymouth/themes/spacefun/earth4.png
  lines-logo.png=usr/share/plymouth/themes/lines/logo.png
  moonlight-glow.png=usr/share/plymouth/themes/moonlight/glow.png
  fade-in-lock.png=usr/share/plymouth/themes/fade-in/lock.png
  oxygen-konqueror.png=usr/share/icons/oxygen/base/256x256/apps/konqueror.png
  oxygen-folder-red.png=usr/share/icons/oxygen/base/256x256/places/folder-red.png
  oxygen-media-flash.png=usr/share/icons/oxygen/base/256x256/devices/media-flash.png
  oxygen-digikam.png=usr/share/icons/oxygen/base/256x256/apps/digikam.png
  oxygen-internet.png=usr/share/icons/oxygen/base/256x256/categories/applications-internet.png
  gnome-user-trash.png=usr/share/icons/gnome/256x256/places/user-trash.png
  gnome-video.png=usr/share/icons/gnome/256x256/mimetypes/video-x-generic.png
  gnome-face-angel.png=usr/share/icons/gnome/256x256/emotes/face-angel.png
  gnome-system-run.png=usr/share/icons/gnome/256x256/actions/system-run.png
  spacefun-logo.png=usr/share/plymouth/themes/spacefun/logo.png
)
for entry in "${files[@]}"; do
  cp "$scratch/root/${entry#*=}" "$out/${entry%%=*}"
done
echo "${#files[@]} images in $out"
