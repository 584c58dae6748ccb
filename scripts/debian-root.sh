#!/usr/bin/env bash
# Runs a command in a fresh minimal Debian root (debootstrap --variant=minbase:
# bash and apt, nothing else) holding a clean clone of this checkout, as a new
# user's machine would be. Needs root and debootstrap; CI uses it to prove
# the README's commands on a release other than the machine's own.
#
#   bash scripts/debian-root.sh RELEASE COMMAND...    e.g. trixie bash scripts/dev.sh test
#
# The clone is at /root/quorvane, the command's working folder; the files
# named in QUORVANE_ROOT_FILES are copied into /root. The base root
# of each release is made once and kept in $QUORVANE_ROOT_CACHE (default
# /var/cache/quorvane-roots); every run starts from a copy of it, removed
# afterwards. So is the compiler cache of the release, which only saves time.
# The machine's own certificate authorities (/usr/local/share/ca-certificates)
# go along, for a network that reaches the npm registry through a proxy.
set -euo pipefail

release=${1:?usage: debian-root.sh RELEASE COMMAND...}
shift
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${QUORVANE_ROOT_CACHE:-/var/cache/quorvane-roots}
mirror=${QUORVANE_DEBIAN_MIRROR:-http://deb.debian.org/debian}

if [[ $(id -u) -ne 0 ]]; then
  echo "debian-root: needs root (debootstrap, chroot, mounts)" >&2
  exit 1
fi
command -v debootstrap >/dev/null || {
  echo "debian-root: installing debootstrap"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}

base="$cache/$release-base"
if [[ ! -x "$base/usr/bin/apt-get" ]]; then
  echo "debian-root: making the base root of $release (once)"
  rm -rf "$base.partial"
  mkdir -p "$cache"
  debootstrap --variant=minbase "$release" "$base.partial" "$mirror" >"$cache/$release.log" 2>&1 || {
    tail -n 20 "$cache/$release.log" >&2
    exit 1
  }
  mv "$base.partial" "$base"
fi

root=$(mktemp -d "${TMPDIR:-/var/tmp}/quorvane-$release.XXXXXX")
mounted=()
cleanup() {
  local i
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  rm -rf "$root"
}
trap cleanup EXIT
cp -a "$base/." "$root/"
cp /etc/resolv.conf "$root/etc/resolv.conf"
if compgen -G "/usr/local/share/ca-certificates/*.crt" >/dev/null; then
  mkdir -p "$root/usr/local/share/ca-certificates"
  cp /usr/local/share/ca-certificates/*.crt "$root/usr/local/share/ca-certificates/"
fi
git clone -q --no-local "$here" "$root/root/quorvane"
# Files the command needs beside the clone (a package to install, a photo).
for file in ${QUORVANE_ROOT_FILES:-}; do cp "$file" "$root/root/"; done

mkdir -p "$cache/$release-ccache" "$root/root/.cache/ccache"
mount_at() {  # source, target, mount arguments...
  local target=$1
  shift
  mount "$@" "$target"
  mounted+=("$target")
}
mount_at "$root/proc" -t proc proc
mount_at "$root/sys" -t sysfs sysfs
mount_at "$root/dev" --rbind /dev
mount_at "$root/root/.cache/ccache" --bind "$cache/$release-ccache"

chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
  TERM="${TERM:-dumb}" LANG=C.UTF-8 QUORVANE_WERROR="${QUORVANE_WERROR:-0}" \
  bash -c 'cd /root/quorvane && exec "$@"' bash "$@"
