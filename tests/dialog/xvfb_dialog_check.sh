#!/bin/bash
# The real display-mode dialog on a virtual X display: it must show its texts, and clicking
# OK (full screen) or ticking the windowed box and clicking OK must start the game.
# Usage: xvfb_dialog_check.sh VELKO_BINARY ASSET_DIR OUTPUT_DIR
# Exit 77 (skipped) when the tools are missing or the platform cannot make windows yet.
set -u

for tool in xvfb-run xdotool import convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed"
    exit 77
  fi
done
if [ -z "${VELKO_IN_XVFB:-}" ]; then
  export VELKO_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

velko=$1
assets=$2
out=$3
title="Project Velko Alpha 0.5"
work=$(mktemp -d)
pid=""
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"
export SDL_AUDIODRIVER=dummy  # no sound card here: keep the "no sound" box out of the way

fail() {
  echo "FAIL: $*"
  [ -f "$work/log" ] && sed 's/^/  velko: /' "$work/log"
  exit 1
}

# Prints "id x y width height" of the first window with the title and the given size.
find_window() {
  local want=$1 id geometry
  for id in $(xdotool search --name "^${title}\$" 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
    eval "$geometry"
    if [ "$want" = any ] || [ "${WIDTH}x${HEIGHT}" = "$want" ]; then
      echo "$id $X $Y $WIDTH $HEIGHT"
      return 0
    fi
  done
  return 1
}

wait_for() {  # wait_for SECONDS COMMAND...: retries until the command succeeds
  local tries=$(($1 * 5))
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

start_game() {  # copies the game into a fresh folder of its own and starts it
  local dir=$work/$1
  mkdir -p "$dir"
  cp "$velko" "$dir/velko"
  for asset in level.map level.bpb car.bmp car.bpb choc.wav; do
    [ -f "$assets/$asset" ] && cp "$assets/$asset" "$dir/"
  done
  "$dir/velko" >"$work/log" 2>&1 &
  pid=$!
  game_dir=$dir
}

dialog_or_skip() {
  if ! dialog=$(wait_for 15 find_window 300x180); then
    if kill -0 "$pid" 2>/dev/null || ! grep -q . "$work/log"; then
      echo "SKIP: no dialog window appeared (the platform cannot make windows yet)"
      [ -f "$work/log" ] && sed 's/^/  velko: /' "$work/log"
      exit 77
    fi
    fail "the game ended before showing its dialog"
  fi
  read -r dialog_id dialog_x dialog_y _ _ <<<"$dialog"
  sleep 0.5  # let the first frame reach the screen
}

# Mean brightness (0..1) of a region of a screenshot.
mean_of() {  # mean_of FILE WIDTH HEIGHT X Y
  convert "$1" -crop "$2x$3+$4+$5" +repage -colorspace Gray -format "%[fx:mean]" info:
}

expect_file() {  # expect_file NAME EXPECTED_BYTES
  local expected=$2
  wait_for 10 test -s "$game_dir/$1" || fail "$1 was not written"
  sleep 0.3
  if [ "$(od -An -c "$game_dir/$1")" != "$(printf '%b' "$expected" | od -An -c)" ]; then
    fail "$1 holds $(od -An -c "$game_dir/$1")"
  fi
}

game_runs() {  # the dialog has gone and the game is still running a second later
  wait_for 10 bash -c "! xdotool search --name '^${title}\$' getwindowgeometry %@ 2>/dev/null \
    | grep -q 'Geometry: 300x180'" || fail "the dialog stayed on screen after OK"
  sleep 1
  kill -0 "$pid" 2>/dev/null || fail "the game ended after OK"
}

# 1. The dialog shows its texts; OK opens the full screen game.
start_game fullscreen
dialog_or_skip
import -window root "$out/dialog_xvfb.png" || fail "no screenshot"
colours=$(convert "$out/dialog_xvfb.png" -crop "300x180+${dialog_x}+${dialog_y}" +repage \
  -format %k info:)
[ "$colours" -ge 8 ] || fail "the dialog shows only $colours colours"
# The label (50, 10, 200 x 30) and the OK button (120, 145, 60 x 20) carry dark ink on grey.
label=$(mean_of "$out/dialog_xvfb.png" 200 30 $((dialog_x + 50)) $((dialog_y + 10)))
face=$(mean_of "$out/dialog_xvfb.png" 40 30 $((dialog_x + 5)) $((dialog_y + 40)))
awk -v l="$label" -v f="$face" 'BEGIN { exit !(f > 0.7 && l < f - 0.05) }' ||
  fail "no text in the label (label $label, background $face)"
convert "$out/dialog_xvfb.png" -crop "300x180+${dialog_x}+${dialog_y}" +repage \
  "$out/dialog_xvfb.png"
echo "dialog screenshot: $out/dialog_xvfb.png"

xdotool mousemove --window "$dialog_id" 150 155 click 1
expect_file screen.ini '[ScreenMode]\r\nFullScreen = TRUE\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n'
game_runs
import -window root "$out/game_fullscreen_xvfb.png" || true
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""

# 2. The windowed box, then OK: the game opens in an 800 x 600 window.
start_game windowed
dialog_or_skip
xdotool mousemove --window "$dialog_id" 86 90 click 1
sleep 0.3
xdotool mousemove --window "$dialog_id" 150 155 click 1
expect_file screen.ini '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n'
game_runs
wait_for 10 find_window 800x600 >/dev/null || fail "no 800 x 600 game window"
import -window root "$out/game_windowed_xvfb.png" || true
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
pid=""

# 3. The keyboard alone: Tab to the windowed box, Space ticks it, Enter on OK does nothing,
# Space presses OK.
start_game keyboard
dialog_or_skip
xdotool windowfocus --sync "$dialog_id" 2>/dev/null || xdotool windowfocus "$dialog_id"
sleep 0.3
xdotool key --delay 80 Tab Tab space Tab Tab Tab Return
sleep 0.5
[ -e "$game_dir/screen.ini" ] && fail "Enter pressed OK"
kill -0 "$pid" 2>/dev/null || fail "the game ended on Enter"
xdotool key space
expect_file screen.ini '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n'
game_runs
echo "PASS"
exit 0
