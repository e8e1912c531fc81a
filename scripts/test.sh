#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test: the full suite (with the Xvfb
# and end-to-end runs), the Debian package, then the unit tests again under AddressSanitizer
# and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs="$(nproc)"

cmake --preset native
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure --timeout 300

# ---- web page: the WebAssembly build and its end-to-end test in Chromium ----
VELKO_ASSETGEN=build/velko-assetgen bash scripts/web.sh --test
# ---- end of the web page ----

# ---- Debian package: the release .deb, lintian and validators, the unpacked game in Xvfb ----
bash tests/package/package_test.sh
# ---- end of the Debian package ----

# The sanitizer build leaves SDL out: its own allocations are not ours to check.
cmake --preset asan
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure --timeout 600 -j"$jobs"

# ---- Windows: velko.exe cross-built with MinGW-w64, its tests under Wine (scripts/windows.sh)
VELKO_HOST_TOOLS=build bash scripts/windows.sh --test
# ---- end of Windows

# ---- the same game on every build: key scripts and kept demos through the three velko-sims
bash tests/sim/cross_build_replays.sh build build-windows build-web/wasm
# ---- end of the cross-build replays

# --- fuzzing: every file reader's libFuzzer target for a short pass (scripts/fuzz.sh) ---
bash scripts/fuzz.sh 10
# --- end of fuzzing ---
