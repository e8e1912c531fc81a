#!/usr/bin/env bash
# Fails when a file outside the SDL platform includes an SDL header.
set -euo pipefail
cd "$1"
offenders=$(grep -rlE '^\s*#\s*include\s*[<"]SDL' src tools bench 2>/dev/null \
  | grep -v '^src/platform/sdl/' || true)
if [ -n "$offenders" ]; then
  echo "SDL included outside src/platform/sdl/:"
  echo "$offenders"
  exit 1
fi
echo "SDL is confined to src/platform/sdl/"
