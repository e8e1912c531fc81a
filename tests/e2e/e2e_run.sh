#!/usr/bin/env bash
# The real game, played end to end as a player would, on a virtual X display:
#   e2e_run.sh VELKO BUILD_DIR [alternative | demo | level:NAME]
# Copies the game and its data files into a fresh folder (no screen.ini), answers the
# display-mode dialog with the mouse (windowed; with "alternative" also "Couleurs alterrées",
# so the car is repainted from car.bpb and keyed on (0, 127, 0)), drives up the start
# straight into the wall at the top, steers, saves a screenshot with F12, quits with Escape,
# and checks the exit code, screen.ini, the screenshot and the sound written by SDL's disk
# audio driver.
# - demo: plays with --record and --trace into the wall until the car skids; velko-sim replays
#   the demo to the very same trace, and so does velko --play, which ends by itself; the demo
#   is kept in BUILD_DIR/e2e-demos/linux.vdm for the replays on the other builds.
# - level:NAME: plays the circuit NAME that comes with the game (--level NAME); its first
#   picture, saved with F12, is the one velko-sim makes of the same circuit.
# Exit 77 (skipped) only when xvfb-run or xdotool is missing.
set -uo pipefail
harness=e2e
source "$(dirname "$0")/../support/x_session.sh"

if [[ "${1:-}" != "--session" ]]; then
  if [[ $# -lt 2 || $# -gt 3 || ($# -eq 3 && ! "$3" =~ ^(alternative|demo|level:[a-z]+)$) ]]; then
    echo "usage: e2e_run.sh VELKO BUILD_DIR [alternative | demo | level:NAME]" >&2
    exit 2
  fi
  need_tools xvfb-run xdotool
  make_work_folder
  prepare_game_folder "$work" "$1" "$2"
  if [[ "${3:-}" == level:* ]]; then
    circuit="${3#level:}"
    mkdir -p "$work/levels/$circuit"
    cp "$2/levels/$circuit/level.map" "$2/levels/$circuit/level.bpb" "$work/levels/$circuit/" ||
      fail "the build has not imported the circuit $circuit"
  fi
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

# How many frames of trace FILE have FIELD (named in the header) other than VALUE.
frames_where_not() {
  awk -F, -v name="$2" -v value="$3" '
    NR == 1 { for (i = 1; i <= NF; i++) if ($i == name) column = i; next }
    $column != value { n++ } END { print n + 0 }' "$1"
}

# sim_screenshot CIRCUIT: velko-sim's picture of the circuit's first frames, windowed at 32 bits
# as the game's window is here, saved with F12 in frame 5: $work/sim/screenshots/screen000.bmp.
sim_screenshot() {
  mkdir -p "$work/sim/screenshots" "$work/sim/levels"
  cp "$work"/*.* "$work/sim/" 2>/dev/null
  rm -f "$work/sim/screen.ini"  # the dialog starts from its defaults: the window is ticked below
  cp -r "$work/levels/$1" "$work/sim/levels/"
  printf '5 F12 down\n7 F12 up\n' >"$work/sim/f12.keys"
  "$build/velko-sim" "$work/sim" --level "$1" --dialog toggle:3,ok --keys "$work/sim/f12.keys" \
    --frames 10 || fail "velko-sim could not play the circuit $1"
}

if [[ "$colours" == level:* ]]; then
  circuit="${colours#level:}"
  start_game "$work/velko" --level "$circuit"
  play_windowed
  sleep 1.5 # loading, first frames
  press F12
  shot="$work/screenshots/screen000.bmp"
  wait_file_size 10 "$shot" 1440054 || fail "F12 left no complete $shot"
  press Escape
  expect_clean_exit
  sim_screenshot "$circuit"
  "$(host_tool "$build" velko-shot-check)" --same "$shot" "$work/sim/screenshots/screen000.bmp" 40 ||
    fail "the game's picture of $circuit is not the one velko-sim makes"
  note "PASS"
  exit 0
fi

if [[ "$colours" == demo ]]; then
  start_game "$work/velko" --record "$work/run.vdm" --trace "$work/real.csv"
  play_windowed
  sleep 1.5
  drive_until_skid
  expect_clean_exit "recording"
  # Each bounce counts a crash sound; a skid shows the car faded.
  bounced="$(frames_where_not "$work/real.csv" sounds 0)"
  skidding="$(frames_where_not "$work/real.csv" opacity 255)"
  ((bounced > 0 && skidding > 0)) || fail "no bounce ($bounced) or no skid ($skidding frames)"
  note "recorded $(($(wc -l <"$work/real.csv") - 1)) frames, $skidding of them skidding, $(stat -c %s "$work/run.vdm") bytes"
  "$build/velko-sim" "$work" --demo "$work/run.vdm" --trace "$work/sim.csv" ||
    fail "velko-sim did not replay the demo"
  cmp "$work/real.csv" "$work/sim.csv" || fail "velko-sim's replay is not the game's trace"
  note "velko-sim replays the very same trace"
  start_game "$work/velko" --play "$work/run.vdm" --trace "$work/play.csv"
  wait_game_end 90 || fail "velko --play did not end by itself"
  ((game_status == 0)) || fail "velko --play exited $game_status"
  cmp "$work/real.csv" "$work/play.csv" || fail "velko --play's trace is not the game's"
  note "velko --play ends by itself with the very same trace"
  mkdir -p "$build/e2e-demos" && cp "$work/run.vdm" "$build/e2e-demos/linux.vdm"
  note "PASS"
  exit 0
fi

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
