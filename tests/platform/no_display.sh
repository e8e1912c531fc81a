#!/usr/bin/env bash
# Started with no display at all, the game says why through its message path (stderr here),
# names the SDL call that failed with SDL's reason, and still ends with exit code 0. The same
# with no sound either.
set -uo pipefail
game="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$game" "$work/velko"

run() {  # run AUDIODRIVER: the game without a display; its stderr lands in $work/err
  local status=0
  env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER="$1" \
    timeout 60 "$work/velko" >"$work/out" 2>"$work/err" || status=$?
  cat "$work/err"
  if [ "$status" -ne 0 ]; then
    echo "exit code $status, expected 0"
    exit 1
  fi
}

expect() {  # expect PATTERN WHAT
  if ! grep -qE "$1" "$work/err"; then
    echo "not reported: $2"
    exit 1
  fi
}

run dummy
expect "^Erreur: DirectX 7 n'est pas install" "the missing display"
expect '^velko: SDL_InitSubSystem\(SDL_INIT_VIDEO\) failed: .+' "SDL's reason for no video"

run no-such-driver
expect "^Erreur: Le programme ne peut pas jouer des sons" "the missing sound"
expect '^velko: SDL_InitSubSystem\(SDL_INIT_AUDIO\) failed: .+' "SDL's reason for no sound"
expect "^Erreur: DirectX 7 n'est pas install" "the missing display"
echo "reported and exited 0"
