#!/usr/bin/env bash
# The real game, played end to end as a player would, on a virtual X display:
#   e2e_run.sh VELKO BUILD_DIR [alternative]
# Copies the game and its data files into a fresh folder (no screen.ini), answers the
# display-mode dialog with the mouse (windowed; with "alternative" also "Couleurs alterrées",
# so the car is repainted from car.bpb and keyed on (0, 127, 0)), drives up the start
# straight into the wall at the top, steers, saves a screenshot with F12, quits with Escape,
# and checks the exit code, screen.ini, the screenshot and the sound written by SDL's disk
# audio driver.
# Exit 77 (skipped) only when xvfb-run or xdotool is missing.
set -uo pipefail
harness=e2e
source "$(dirname "$0")/../support/x_session.sh"

if [[ "${1:-}" != "--session" ]]; then
  if [[ $# -lt 2 || $# -gt 3 || ($# -eq 3 && "$3" != "alternative") ]]; then
    echo "usage: e2e_run.sh VELKO BUILD_DIR [alternative]" >&2
    exit 2
  fi
  need_tools xvfb-run xdotool
  make_work_folder
  prepare_game_folder "$work" "$1" "$2"
  run_under_xvfb 1280x1024x24 150 bash "$0" --session "$work" "$(cd "$2" && pwd)" "${3:-normal}"
  exit
fi

work="$2"
build="$3"
colours="$4"
audio="$work/audio.raw"
begin_session
export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$audio"
# Started from elsewhere: the game must still find and write its files beside itself.
cd /
start_game "$work/velko"

play_windowed "$colours"
sleep 1.5 # loading, first frames

shot="$work/screenshots/screen000.bmp"
drive_into_the_wall "$audio" "$shot"
if [[ "$colours" == alternative ]]; then
  expect_ini "$work/screen.ini" FALSE 16 TRUE FALSE
  expect_screenshot "$shot" alternative
else
  expect_ini "$work/screen.ini" FALSE 16 FALSE FALSE
  expect_screenshot "$shot"
fi

expect_crash_sound "$audio"
note "PASS"
