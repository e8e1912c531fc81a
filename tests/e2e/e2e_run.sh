#!/usr/bin/env bash
# The real game, played end to end as a player would, on a virtual X display:
#   e2e_run.sh VELKO BUILD_DIR [alternative]
# Copies the game and its five data files into a fresh folder (no screen.ini), answers the
# display-mode dialog with the mouse (windowed; with "alternative" also "Couleurs alterrées",
# so the car is repainted from car.bpb and keyed on (0, 127, 0)), drives up the start
# straight into the wall at the top, steers, saves a screenshot with F12, quits with Escape,
# and checks the exit code, screen.ini, the screenshot and the sound written by SDL's disk
# audio driver.
# Exit 77 (skipped) only when xvfb-run or xdotool is missing.
set -uo pipefail

readonly TITLE="Project Velko Alpha 0.5"
readonly ASSETS=(level.map level.bpb car.bmp car.bpb choc.wav)

fail() {
  echo "e2e: FAIL: $*" >&2
  exit 1
}

note() { echo "e2e: $*"; }

# ---------------------------------------------------------------------------------------
# Outside the display: prepare the folder and run the session under xvfb-run.
if [[ "${1:-}" != "--session" ]]; then
  if [[ $# -lt 2 || $# -gt 3 || ( $# -eq 3 && "$3" != "alternative" ) ]]; then
    echo "usage: e2e_run.sh VELKO BUILD_DIR [alternative]" >&2
    exit 2
  fi
  for tool in xvfb-run xdotool; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "e2e: $tool is not installed: skipped" >&2
      exit 77
    fi
  done
  velko="$1"
  build="$2"
  [[ -x "$velko" ]] || fail "no game at $velko"
  work="$(mktemp -d "${TMPDIR:-/tmp}/velko-e2e-XXXXXX")" || fail "no temporary folder"
  cp "$velko" "$work/velko" || fail "cannot copy the game"
  for asset in "${ASSETS[@]}"; do
    cp "$build/$asset" "$work/$asset" || fail "the build has no $asset"
  done
  mkdir "$work/screenshots"
  # The session must end on its own well before CTest's limit; this is the last resort.
  timeout -k 5 150 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --session "$work" "${3:-normal}"
  status=$?
  if [[ $status -eq 0 ]]; then
    rm -rf "$work"
  else
    echo "e2e: session exited $status; its folder is kept: $work" >&2
  fi
  exit $status
fi

# ---------------------------------------------------------------------------------------
# Inside the display.
work="$2"
colours="$3"
audio="$work/audio.raw"
game_pid=""

source "$(dirname "$0")/../support/x_session.sh"
cleanup() { stop_process "$game_pid"; }
trap cleanup EXIT

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$audio"
# Started from elsewhere: the game must still find and write its files beside itself.
cd /
"$work/velko" >"$work/stdout.txt" 2>"$work/stderr.txt" &
game_pid=$!

dialog="$(wait_window 20 "^${TITLE}\$" 300 180)" || fail "no 300 x 180 dialog titled \"$TITLE\" within 20 s"
note "dialog is window $dialog"
sleep 0.5
click_at "$dialog" 90 90 # "Mode fenestré"
if [[ "$colours" == alternative ]]; then
  click_at "$dialog" 90 110 # "Couleurs alterrées"
fi
click_at "$dialog" 150 155  # OK

game="$(wait_window 20 "^${TITLE}\$" 800 600)" || fail "no 800 x 600 game window within 20 s"
note "game window is $game"
xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
sleep 1.5  # loading, first frames

silent_before="$(nonzero_audio_bytes "$audio")"
# Up the start straight: top speed after half a second, the wall at the top after about one.
hold_key Up 1.6
sleep 0.8
sounding_after="$(nonzero_audio_bytes "$audio")"
note "audio bytes not zero: $silent_before before the run, $sounding_after after the crash"
hold_key Right 0.4
hold_key Up 0.3
sleep 0.5

hold_key F12 0.3
shot="$work/screenshots/screen000.bmp"
wait_file_size 10 "$shot" 1440054 || fail "F12 left no complete screenshots/screen000.bmp"
sleep 0.5

hold_key Escape 0.3
wait_game_end 15 || fail "the game did not end within 15 s of Escape"
[[ $game_status -eq 0 ]] || fail "exit code $game_status (stderr: $(cat "$work/stderr.txt"))"
note "exit code 0"

# screen.ini: the choice made in the dialog, windowed, byte for byte.
alternative_setting=FALSE
[[ "$colours" == alternative ]] && alternative_setting=TRUE
expected_ini=$'[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 16\r\nAlternatives Colors = '"$alternative_setting"$'\r\n75hz = FALSE\r\n'
[[ -f "$work/screen.ini" ]] || fail "no screen.ini beside the game"
[[ "$(cat "$work/screen.ini"; echo x)" == "${expected_ini}x" ]] ||
  fail "screen.ini differs: $(od -c "$work/screen.ini" | head -20)"
note "screen.ini as expected"

# The screenshot: an 800 x 600 24-bit BMP of tiles and the car.
size="$(stat -c %s "$shot")"
[[ "$size" -eq 1440054 ]] || fail "screenshot is $size bytes, not 1440054"
header="$(od -An -v -tu1 -N54 "$shot" | tr -s ' \n' ' ')"
read -r -a h <<<"$header"
[[ "${h[0]} ${h[1]}" == "66 77" ]] || fail "screenshot is not a BMP"
width=$((h[18] + 256 * h[19]))
height=$((h[22] + 256 * h[23]))
bits=$((h[28] + 256 * h[29]))
[[ "$width $height $bits" == "800 600 24" ]] || fail "screenshot is ${width}x${height}x${bits}"
# One line per pixel: B G R. In the alternative colours red and green are halved, on the
# tiles and on the car alike.
stats="$(od -An -v -tu1 -w3 -j54 "$shot" | awk -v alt="$([[ "$colours" == alternative ]] && echo 1 || echo 0)" '
  { key = $1 * 65536 + $2 * 256 + $3
    if (!(key in seen)) { seen[key] = 1; distinct++ }
    b = $1; g = $2; r = $3
    if (alt) { r *= 2; g *= 2 }
    if (b > 150 && b > r + 80 && b > g + 50) car++           # the blue body
    if (g > 100 && g > r + 40 && g > b + 40) grass++
    if (r > 60 && r < 110 && g > 60 && g < 110 && b > 60 && b < 115 && r - g < 12 && g - r < 12) road++
    if ($1 == 0 && $3 == 0 && ($2 == 255 || $2 == 127)) key_green++  # a car background not keyed
  }
  END { printf "%d %d %d %d %d\n", distinct, car, grass, road, key_green }')"
read -r distinct car grass road key_green <<<"$stats"
note "screenshot: $distinct colours, $car car-blue, $grass grass, $road asphalt, $key_green key-green pixels"
((distinct >= 200)) || fail "screenshot has only $distinct colours"
((car >= 150)) || fail "no car in the screenshot ($car blue pixels)"
((grass >= 5000)) || fail "no grass in the screenshot"
((road >= 5000)) || fail "no road in the screenshot"
((key_green == 0)) || fail "$key_green pixels of key green: the car's background was not keyed"

# The crash: the car met the wall at full speed, bounced, and the crash sound played.
[[ -f "$audio" ]] || fail "SDL wrote no disk audio file (sound not started?)"
((silent_before == 0)) || fail "sound before any crash ($silent_before bytes)"
((sounding_after >= 2000)) || fail "no crash sound after driving into the wall"
note "PASS"
exit 0
