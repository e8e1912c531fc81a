#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (not the tests or benchmarks), and
# starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset native
cmake --build build -j"$(nproc)" --target velko velko_assets
exec ./build/velko
