#!/usr/bin/env bash
# Started with no display at all, the game says why through its message path (stderr here)
# and still ends with exit code 0.
set -uo pipefail
game="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$game" "$work/velko"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy \
  timeout 60 "$work/velko" >"$work/out" 2>"$work/err" || status=$?
cat "$work/err"
if [ "$status" -ne 0 ]; then
  echo "exit code $status, expected 0"
  exit 1
fi
if ! grep -q "^Erreur: DirectX 7 n'est pas install" "$work/err"; then
  echo "the missing display was not reported"
  exit 1
fi
echo "reported and exited 0"
