#!/usr/bin/env bash
# Makes docs/screenshot.png, the README's picture, from one of the game's own screenshots:
#   bash docs/make_screenshot.sh [BUILD_DIR]      (default: build)
# Plays the real game from BUILD_DIR on a virtual X display: windowed, up the start straight,
# right into the top straight, F12 on the way, Escape; then converts the BMP with ImageMagick.
# Needs xvfb-run, xdotool and convert (scripts/install-deps.sh installs them).
set -uo pipefail
harness=make_screenshot
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/../tests/support/x_session.sh"

if [[ "${1:-}" != "--session" ]]; then
  build="$(cd "${1:-$here/../build}" && pwd)" || exit 1
  need_tools xvfb-run xdotool convert
  make_work_folder
  prepare_game_folder "$work" "$build/velko" "$build"
  run_under_xvfb 1280x1024x24 90 bash "$0" --session "$work" || fail "the game's session failed"
  convert "$work/screenshots/screen000.bmp" -strip "$here/screenshot.png" || fail "no picture"
  note "wrote $here/screenshot.png"
  exit 0
fi

work="$2"
begin_session
export SDL_AUDIODRIVER=dummy
start_game "$work/velko"
play_windowed
sleep 1.5

# Full speed up the straight, a right turn of about 90 degrees into the top straight, and the
# picture taken as the view starts to scroll along it.
xdotool keydown Up
sleep 0.51
hold_key Right 0.61
sleep 0.35
press F12
xdotool keyup Up
wait_file_size 10 "$work/screenshots/screen000.bmp" 1440054 || fail "F12 left no screenshot"
sleep 0.5
press Escape
expect_clean_exit
