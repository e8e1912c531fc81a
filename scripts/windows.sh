#!/usr/bin/env bash
# The Windows build: installs what is missing (the MinGW-w64 cross compiler, GoogleTest's
# sources, Wine, and Xvfb with xdotool for the tests), cross-builds velko.exe into
# build-windows/ and packs build-windows/velko-windows.zip.
#   bash scripts/windows.sh          build and pack
#   bash scripts/windows.sh --test   then run the unit tests and the end-to-end runs under Wine
# The asset generator and the circuit tool run on this machine: VELKO_HOST_TOOLS may name a
# native build folder that has them (the test command's build/); otherwise the build makes
# its own in build-windows/host-tools.
set -euo pipefail
cd "$(dirname "$0")/.."

run_tests=false
case "${1:-}" in
  "") ;;
  --test) run_tests=true ;;
  *)
    echo "usage: bash scripts/windows.sh [--test]" >&2
    exit 2
    ;;
esac

packages=(
  cmake g++ make
  g++-mingw-w64-x86-64 googletest libxxhash-dev
  wine wine64 fonts-wine
  xvfb xauth xdotool imagemagick
)
# velko-level, built for this machine, reads Tiled's formats.
[[ -n ${VELKO_HOST_TOOLS:-} ]] ||
  packages+=(pkg-config libpugixml-dev nlohmann-json3-dev zlib1g-dev libzstd-dev libpng-dev)
bash scripts/install-deps.sh --only "${packages[@]}"

build=build-windows
host_tools=""
if [[ -n ${VELKO_HOST_TOOLS:-} ]]; then host_tools="$(realpath "$VELKO_HOST_TOOLS")"; fi
cmake --preset windows -DVELKO_HOST_TOOLS="$host_tools"
cmake --build "$build" -j"$(nproc)"
echo "Windows package: $build/velko-windows.zip"
"$run_tests" || exit 0

# A Wine prefix takes a while to set up at its first start: done here for both of the tests'
# prefixes (the unit tests', and the one of the runs on a display), outside the tests' limits.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for prefix in wine wine-display; do
  WINEPREFIX="$PWD/$build/$prefix" wineboot --init >/dev/null 2>&1 &
done
wait
for prefix in wine wine-display; do
  WINEPREFIX="$PWD/$build/$prefix" wineserver -w
done
ctest --test-dir "$build" --output-on-failure --timeout 300 -j"$(nproc)"
