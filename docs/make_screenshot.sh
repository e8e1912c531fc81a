#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture, from one of the game's own screenshots:
#   bash docs/make_screenshot.sh [BUILD_DIR]      (default: build)
# Plays the real game from BUILD_DIR on a virtual X display: windowed, up the start straight,
# right into the top straight, F12 on the way, Escape; then converts the BMP with ImageMagick.
# Needs xvfb-run, xdotool and convert (scripts/install-deps.sh installs them).
set -euo pipefail

readonly TITLE="Project Velko Alpha 0.5"
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../build}" && pwd)"

if [[ "${2:-}" != "--session" ]]; then
  for tool in xvfb-run xdotool convert; do
    command -v "$tool" >/dev/null || { echo "make_screenshot: $tool is missing" >&2; exit 1; }
  done
  work="$(mktemp -d "${TMPDIR:-/tmp}/velko-docs-XXXXXX")"
  trap 'rm -rf "$work"' EXIT
  cp "$build/velko" "$build"/{level.map,level.bpb,car.bmp,car.bpb,choc.wav} "$work/"
  mkdir "$work/screenshots"
  timeout -k 5 90 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$work" --session
  convert "$work/screenshots/screen000.bmp" -strip "$here/screenshot.png"
  echo "wrote $here/screenshot.png"
  exit 0
fi

# Inside the display; $1 is the game's folder.
work="$build"
export SDL_AUDIODRIVER=dummy
"$work/velko" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

find_window() {  # $1 x $2 visible window with the game's title, within 20 s
  for _ in $(seq 100); do
    for id in $(xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null); do
      if xdotool getwindowgeometry --shell "$id" | grep -qx "WIDTH=$1" &&
        xdotool getwindowgeometry --shell "$id" | grep -qx "HEIGHT=$2"; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.2
  done
  echo "make_screenshot: no $1 x $2 window" >&2
  return 1
}

dialog="$(find_window 300 180)"
sleep 0.5
xdotool mousemove --window "$dialog" 90 90 click 1 # "Mode fenestré"
sleep 0.3
xdotool mousemove --window "$dialog" 150 155 click 1 # OK
game="$(find_window 800 600)"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
sleep 1.5

# Full speed up the straight, a right turn of about 90 degrees into the top straight, and the
# picture taken as the view starts to scroll along it.
xdotool keydown Up
sleep 0.51
xdotool keydown Right
sleep 0.61
xdotool keyup Right
sleep 0.35
xdotool keydown F12
sleep 0.1
xdotool keyup F12
sleep 0.3
xdotool keyup Up
for _ in $(seq 50); do
  [[ -f "$work/screenshots/screen000.bmp" ]] && break
  sleep 0.2
done
sleep 0.5
xdotool keydown Escape
sleep 0.3
xdotool keyup Escape
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || exit 0
  sleep 0.2
done
echo "make_screenshot: the game did not quit" >&2
exit 1
