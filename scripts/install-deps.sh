#!/usr/bin/env bash
# Installs what building, playing and testing Velko needs on Debian 12, only if missing.
# Packages named as arguments are checked and installed along with them; after --only, those
# packages alone (for the other platforms' scripts).
set -euo pipefail

if [[ "${1:-}" == --only ]]; then
  shift
  packages=("$@")
else
  packages=(
    cmake g++ make pkg-config
    libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core
    libgtest-dev libbenchmark-dev libx11-dev
    # libmpfr-dev: the reference the game's sine and cosine are checked against.
    libmpfr-dev
    # xfonts-base: the fonts SDL's X11 message box draws with under Xvfb.
    xvfb xauth xfonts-base xdotool x11-utils imagemagick
    # velko-level: Tiled's XML and JSON, layer data (zlib, zstd), PNG pictures; Tiled itself
    # writes the maps its tests import.
    libpugixml-dev nlohmann-json3-dev zlib1g-dev libzstd-dev libpng-dev tiled
    # xxhash.h: the digests of the data files a demo carries (header-only, every build).
    libxxhash-dev
    "$@"
  )
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages; run as root (or with sudo): apt-get install ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  # The package lists at hand are tried first: an earlier call in the same run has just
  # fetched them. Where they are missing or out of date the install stops before it changes
  # anything, and they are fetched again.
  if ! apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
fi
