#!/bin/bash
# The real display-mode dialog on a virtual X display: it must show its texts, and clicking
# OK (full screen) or ticking the windowed box and clicking OK must start the game. The
# keyboard works it as the standard controls do; a termination signal closes it (or ends the
# game) through the normal shutdown; a 75 Hz the display cannot give fails the screen open.
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
  # A background job starts with Ctrl+C and hang-up ignored; a player's game does not.
  env --default-signal=INT,HUP "$dir/velko" >"$work/log" 2>&1 &
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

press() {  # press KEY...: each key held for a moment, as a player's finger does
  local key
  for key in "$@"; do
    xdotool keydown "$key" && sleep 0.08 && xdotool keyup "$key" && sleep 0.08
  done
}

ends_with_zero() {  # ends_with_zero WHAT: the game ends by itself within 10 s, exit code 0
  wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "the game did not end ($1)"
  wait "$pid"
  local status=$?
  pid=""
  [ "$status" -eq 0 ] || fail "exit code $status ($1)"
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
press Tab Tab space Tab Tab Tab Return
sleep 0.5
[ -e "$game_dir/screen.ini" ] && fail "Enter pressed OK"
kill -0 "$pid" 2>/dev/null || fail "the game ended on Enter"
press space
expect_file screen.ini '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n'
game_runs
# A termination signal in the game ends it as Escape does.
kill -INT "$pid"
ends_with_zero "SIGINT in the game"

# 4. The list from the keyboard: Down changes the choice at once (32 bits), then the windowed
# box, and OK.
start_game list_keys
dialog_or_skip
xdotool windowfocus --sync "$dialog_id" 2>/dev/null || xdotool windowfocus "$dialog_id"
sleep 0.3
press Tab Down Tab space Tab Tab Tab space
expect_file screen.ini '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n'
game_runs
# The hang-up of a logout ends the game too.
kill -HUP "$pid"
ends_with_zero "SIGHUP in the game"

# 5. A termination signal while the dialog waits acts as its close box: nothing written.
start_game signal
dialog_or_skip
kill -TERM "$pid"
ends_with_zero "SIGTERM in the dialog"
[ -e "$game_dir/screen.ini" ] && fail "the dialog closed by a signal wrote screen.ini"

# 6. Full screen at 75 Hz, which this display cannot give: the screen does not open, the
# player is told so, and the game ends normally.
start_game no75hz
dialog_or_skip
xdotool mousemove --window "$dialog_id" 86 130 click 1
sleep 0.3
xdotool mousemove --window "$dialog_id" 150 155 click 1
# The box's title is UTF-8, which xdotool's search does not read: xwininfo finds it.
message_box() { xwininfo -root -tree | awk '/"Erreur": / { print $1; found = 1; exit } END { exit !found }'; }
box=$(wait_for 15 message_box) || fail "no message box after asking for 75 Hz"
grep -q "no mode at 75 Hz" "$work/log" || fail "the refused rate was not said on stderr"
import -window "$box" "$out/no75hz_xvfb.png" 2>/dev/null || true
xdotool windowfocus "$box"
sleep 0.2
press Return
ends_with_zero "the 75 Hz message"
echo "PASS"
exit 0
