#!/usr/bin/env bash
# The real display-mode dialog on a virtual X display: it must show its texts, and clicking
# OK (full screen) or ticking the windowed box and clicking OK must start the game. The
# keyboard works it as the standard controls do; a termination signal closes it (or ends the
# game) through the normal shutdown; a 75 Hz the display cannot give fails the screen open.
#   xvfb_dialog_check.sh VELKO BUILD_DIR OUTPUT_DIR      (OUTPUT_DIR gets the screenshots)
# Exit 77 (skipped) only when a tool is missing; a game that never shows its dialog fails.
set -uo pipefail
harness=dialog
source "$(dirname "$0")/../support/x_session.sh"

if [[ "${1:-}" != "--session" ]]; then
  [[ $# -eq 3 ]] || { echo "usage: xvfb_dialog_check.sh VELKO BUILD_DIR OUTPUT_DIR" >&2; exit 2; }
  need_tools xvfb-run xdotool xwininfo import convert
  make_work_folder
  prepare_game_folder "$work/game" "$1" "$2"
  mkdir -p "$3" || fail "cannot make $3"
  run_under_xvfb 1024x768x24 170 bash "$0" --session "$work" "$(cd "$3" && pwd)"
  exit
fi

work="$2"
out="$3"
begin_session
export SDL_AUDIODRIVER=dummy # no sound card here: keep the "no sound" box out of the way

# start_dialog CASE: the game in a fresh copy of its folder, up to its dialog: dialog is the
# dialog's window, game_dir the folder.
start_dialog() {
  game_dir="$work/$1"
  cp -r "$work/game" "$game_dir" || fail "cannot copy the game's folder"
  start_game "$game_dir/velko"
  dialog="$(wait_window 15 "^${VELKO_TITLE}\$" 300 180)" ||
    fail "$1: no 300 x 180 dialog within 15 s: $(game_state)"
  sleep 0.5 # let the first frame reach the screen
}

# The dialog has gone after OK and the game still runs a second later.
expect_game_runs() {
  dialog_gone() { ! find_window "^${VELKO_TITLE}\$" 300 180 >/dev/null; }
  wait_until 10 dialog_gone || fail "the dialog stayed on screen after OK"
  sleep 1
  kill -0 "$game_pid" 2>/dev/null || fail "the game ended after OK"
}

# Mean brightness (0..1) of a region of a picture: mean_of FILE WIDTH HEIGHT X Y
mean_of() {
  convert "$1" -crop "$2x$3+$4+$5" +repage -colorspace Gray -format "%[fx:mean]" info:
}

# 1. The dialog shows its texts; OK opens the full screen game.
start_dialog fullscreen
shot="$out/dialog_xvfb.png"
import -window "$dialog" "$shot" || fail "no screenshot of the dialog"
colours=$(convert "$shot" -format %k info:)
((colours >= 8)) || fail "the dialog shows only $colours colours"
# The label (50, 10, 200 x 30) and the OK button (120, 145, 60 x 20) carry dark ink on grey.
label=$(mean_of "$shot" 200 30 50 10)
face=$(mean_of "$shot" 40 30 5 40)
awk -v l="$label" -v f="$face" 'BEGIN { exit !(f > 0.7 && l < f - 0.05) }' ||
  fail "no text in the label (label $label, background $face)"
note "dialog screenshot: $shot"
click_at "$dialog" 150 155
expect_ini "$game_dir/screen.ini" TRUE 16 FALSE FALSE
expect_game_runs
import -window root "$out/game_fullscreen_xvfb.png" || true
stop_game

# 2. The windowed box, then OK: the game opens in an 800 x 600 window.
start_dialog windowed
click_at "$dialog" 86 90
click_at "$dialog" 150 155
expect_ini "$game_dir/screen.ini" FALSE 16 FALSE FALSE
expect_game_runs
wait_window 10 "^${VELKO_TITLE}\$" 800 600 >/dev/null || fail "no 800 x 600 game window"
import -window root "$out/game_windowed_xvfb.png" || true
stop_game

# 3. The keyboard alone: Tab to the windowed box, Space ticks it, Enter on OK does nothing,
# Space presses OK.
start_dialog keyboard
focus "$dialog"
press Tab Tab space Tab Tab Tab Return
sleep 0.5
[[ -e "$game_dir/screen.ini" ]] && fail "Enter pressed OK"
kill -0 "$game_pid" 2>/dev/null || fail "the game ended on Enter"
press space
expect_ini "$game_dir/screen.ini" FALSE 16 FALSE FALSE
expect_game_runs
# A termination signal in the game ends it as Escape does.
kill -INT "$game_pid"
expect_clean_exit "SIGINT in the game"

# 4. The list from the keyboard: Down changes the choice at once (32 bits), then the windowed
# box, and OK.
start_dialog list_keys
focus "$dialog"
press Tab Down Tab space Tab Tab Tab space
expect_ini "$game_dir/screen.ini" FALSE 32 FALSE FALSE
expect_game_runs
# The hang-up of a logout ends the game too.
kill -HUP "$game_pid"
expect_clean_exit "SIGHUP in the game"

# 5. A termination signal while the dialog waits acts as its close box: nothing written.
start_dialog signal
kill -TERM "$game_pid"
expect_clean_exit "SIGTERM in the dialog"
[[ -e "$game_dir/screen.ini" ]] && fail "the dialog closed by a signal wrote screen.ini"

# 6. Full screen at 75 Hz, which this display cannot give: the screen does not open, the
# player is told so, and the game ends normally.
start_dialog no75hz
click_at "$dialog" 86 130
click_at "$dialog" 150 155
# The box's title is UTF-8, which xdotool's search does not read: xwininfo finds it.
message_box() { xwininfo -root -tree | awk '/"Erreur": / { print $1; found = 1; exit } END { exit !found }'; }
box=$(wait_until 15 message_box) || fail "no message box after asking for 75 Hz"
grep -q "no mode at 75 Hz" "$work/stderr.txt" || fail "the refused rate was not said on stderr"
import -window "$box" "$out/no75hz_xvfb.png" 2>/dev/null || true
xdotool windowfocus "$box"
sleep 0.2
press Return
expect_clean_exit "the 75 Hz message"
note "PASS"
