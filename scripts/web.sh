#!/usr/bin/env bash
# Velko in a web page. Installs what is missing (Debian's Emscripten; Chromium for the test),
# builds the page into build-web/ (index.html and its files: any static web server can host
# the folder) and serves it on http://127.0.0.1:8000/.
#   bash scripts/web.sh              build, then serve until Ctrl+C
#   bash scripts/web.sh --no-serve   build only
#   bash scripts/web.sh --test       build, then play the page end to end in Chromium
# VELKO_ASSETGEN may name a native velko-assetgen already built (the data files come from
# it); otherwise one is built in build-web/host. The circuits that come with the game are
# imported by that native build (its velko_levels target, built here when it is a CMake build;
# VELKO_LEVELS_DIR may name a levels folder instead). The test replays a demo made in the page
# with that build's velko-sim, built here too.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=serve
case "${1:-}" in
  "") ;;
  --no-serve) mode=build ;;
  --test) mode=test ;;
  *)
    echo "usage: bash scripts/web.sh [--no-serve | --test]" >&2
    exit 2
    ;;
esac

packages=(cmake g++ make libgtest-dev libxxhash-dev emscripten node-acorn)
if [[ $mode == test ]]; then packages+=(chromium); fi
bash scripts/install-deps.sh --only "${packages[@]}"
if ! command -v node >/dev/null; then
  echo "Node.js is needed to build and serve the page" >&2
  exit 1
fi
# Debian's Emscripten runs on whichever Node.js is first on the PATH; it needs Debian's acorn.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
jobs="$(nproc)"

assetgen="${VELKO_ASSETGEN:-}"
if [[ -z $assetgen ]]; then
  # velko-level, which imports the circuits, reads Tiled's formats.
  bash scripts/install-deps.sh --only pkg-config libpugixml-dev nlohmann-json3-dev zlib1g-dev \
    libzstd-dev libpng-dev
  # The preset builds at -O2: at -O3 GCC 12 reports an overlapping copy in velko-level's string
  # code that cannot happen, and the warnings are errors.
  cmake --preset web-host >/dev/null
  assetgen=build-web/host/velko-assetgen
fi
assetgen="$(realpath "$assetgen")"
native="$(dirname "$assetgen")"
native_targets=(velko-assetgen)
if [[ -z ${VELKO_LEVELS_DIR:-} ]]; then native_targets+=(velko_levels); fi
if [[ $mode == test ]]; then native_targets+=(velko-sim velko_assets); fi
if [[ -f $native/CMakeCache.txt ]]; then
  cmake --build "$native" -j"$jobs" --target "${native_targets[@]}"
fi
levels="$(realpath "${VELKO_LEVELS_DIR:-$native/levels}")"

emcmake cmake --preset web -DVELKO_ASSETGEN="$assetgen" -DVELKO_LEVELS_DIR="$levels" >/dev/null
# Binaryen names each listed Asyncify function that was inlined away; that is expected.
cmake --build build-web/wasm -j"$jobs" --target velko_page velko-sim 2>&1 |
  grep -v 'Asyncify onlylist contained a non-'
echo "The page is in build-web/: $(cd build-web && ls index.*)"

case $mode in
  serve) exec node tools/web/serve.mjs build-web 8000 ;;
  test)
    (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
    VELKO_WEB_SITE="$PWD/build-web" VELKO_WEB_SHOTS="$PWD/build-web/test-output" \
      VELKO_NATIVE_BUILD="$native" node --test --test-concurrency=1 tests/web/
    ;;
esac
