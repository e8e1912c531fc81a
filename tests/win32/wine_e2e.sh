#!/usr/bin/env bash
# velko.exe played end to end under Wine on a virtual X display, as a Windows player would:
#   wine_e2e.sh VELKO_EXE BUILD_DIR windowed|fullscreen|switch-away|refused|crash|record|level
# Copies the program and its data files into a fresh folder named with accents (no
# screen.ini) and answers the display-mode dialog from the keyboard.
# - windowed: ticks "Mode fenestré", drives up the start straight into the wall, steers, saves
#   a screenshot with F12, quits with Escape; checks the exit code, screen.ini, the screenshot
#   and the crash sound (Wine's ALSA output goes to a file).
# - fullscreen: in a Wine desktop of 1024 x 768, full screen at 16 bits: the display mode
#   becomes 800 x 600 and shows the circuit, F12 saves it, and Escape ends the game with the
#   desktop back at 1024 x 768.
# - switch-away: the same, but another program takes the foreground first, which gives the
#   desktop its mode back at once; brought back as from the taskbar, the game takes its mode
#   again and plays on (the car turns, F12 saves it) until Escape.
# - refused: full screen on the bare virtual display, which has no 800 x 600 mode: the screen
#   does not open, the game says so in a message box, and ends with the display untouched.
# - crash: in the Wine desktop, velko_crash_probe takes the full screen through the backend and
#   dies of an access violation, an abort, an uncaught exception: each time the desktop is
#   back at 1024 x 768 (Wine itself leaves a dead program's display mode in force).
# - record: windowed with --record and --trace, into the wall until the car skids, Escape; the
#   native velko-sim (NATIVE_BUILD, the environment's VELKO_NATIVE_BUILD) replays the demo to
#   the very same trace, and the demo is kept in BUILD_DIR/e2e-demos/windows.vdm.
# - level: a circuit's level.map dropped onto velko.exe (its one argument) plays that folder's
#   circuit: its first picture, saved with F12, is the one the native velko-sim makes of it.
# WINEPREFIX names the Wine prefix; its Wine server is stopped at the end. Exit 77 (skipped)
# only when Xvfb, xdotool, ImageMagick or Wine is missing.
set -uo pipefail

harness=wine-e2e
source "$(dirname "$0")/../support/x_session.sh"
readonly DESKTOP="velko-e2e"

if [[ "${1:-}" != "--session" ]]; then
  if [[ $# -ne 3 || ! "$3" =~ ^(windowed|fullscreen|switch-away|refused|crash|record|level)$ ]]; then
    echo "usage: wine_e2e.sh VELKO_EXE BUILD_DIR windowed|fullscreen|switch-away|refused|crash|record|level" >&2
    exit 2
  fi
  need_tools xvfb-run xdotool wine wineserver import convert
  [[ -n "${WINEPREFIX:-}" ]] || fail "WINEPREFIX is not set"
  make_work_folder
  game="$work/Jeux vidéo à Noël"
  prepare_game_folder "$game" "$1" "$2"
  for helper in velko_taskbar_click velko_crash_probe; do
    cp "$2/$helper.exe" "$work/" || fail "the build has no $helper.exe"
  done
  if [[ "$3" =~ ^(record|level)$ ]]; then
    native="$(realpath "${VELKO_NATIVE_BUILD:-$2/../build}")"
    [[ -x "$native/velko-sim" ]] || { echo "wine-e2e: no native velko-sim in $native: skipped" >&2; exit 77; }
    ln -s "$native" "$work/native"
    mkdir -p "$game/levels/ville"
    cp "$2/host-tools/levels/ville/level.map" "$2/host-tools/levels/ville/level.bpb" \
      "$game/levels/ville/" || fail "the build has not imported the circuit ville"
  fi
  # Wine's ALSA output into a file: the crash sound can be heard without a sound card.
  mkdir "$work/home"
  cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/audio.raw"
  format "raw"
}
ASOUND
  export HOME="$work/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  run_under_xvfb 1280x1024x24 200 bash "$0" --session "$work" "$game" "$(cd "$2" && pwd)" "$3"
  status=$?
  wineserver -k 2>/dev/null
  exit $status
fi

work="$2"
game="$3"
build="$4"
scenario="$5"
audio="$work/audio.raw"
game_pid=""
helper_pid=""
cleanup() {
  stop_process "$game_pid"
  stop_process "$helper_pid"
  # No desktop of ours is left for the next test of this prefix.
  if [[ "$scenario" =~ ^(fullscreen|switch-away|crash)$ ]]; then
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
  fi
}
trap cleanup EXIT
# Started from another folder: the game must still find and write its files beside itself.
cd /

# Waits up to $1 seconds for the dialog to be drawn inside Wine desktop window $2: the
# desktop alone is one flat colour, the dialog brings its face, frame and text.
wait_dialog_in_desktop() {
  dialog_drawn() {
    local colours
    colours="$(import -window "$1" -crop 300x180+362+294 +repage -format %k info: 2>/dev/null)"
    [[ -n "$colours" ]] && ((colours >= 8))
  }
  wait_until "$1" dialog_drawn "$2"
}

if [[ "$scenario" =~ ^(fullscreen|switch-away|crash)$ ]]; then
  # Every program of this prefix runs inside one Wine desktop, whose display modes are its own.
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$DESKTOP" /d 1024x768 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$DESKTOP" /f >/dev/null 2>&1 ||
    fail "cannot set up a Wine desktop"
fi

if [[ "$scenario" == crash ]]; then
  # A crash ends in Wine's debugger, which must not wait for anybody to close its dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  for how in fault abort throw; do
    wine "$work/velko_crash_probe.exe" "$how" >"$work/probe.txt" 2>"$work/probe-stderr.txt" &
    game_pid=$!
    wait_game_end 30 || fail "the probe ($how) did not end"
    status=$game_status
    # Its first line; Wine's debugger writes its report after it.
    [[ "$(head -n 1 "$work/probe.txt" | tr -d '\r')" == 800x600 ]] ||
      fail "the probe ($how) had no full screen: $(cat "$work/probe.txt" "$work/probe-stderr.txt")"
    desktop="$(wait_window 10 "Wine desktop")" || fail "no Wine desktop"
    [[ "$(size_of "$desktop")" == 1024x768 ]] ||
      fail "a crash ($how) left the display at $(size_of "$desktop")"
    note "crash by $how (exit $status): display mode back to 1024 x 768"
  done
  note "PASS"
  exit 0
fi

# Answers the dialog from the keyboard: Tab to "Mode fenestré", Space ticks it, Tab to OK, Space
# presses it; the game's window then gets the keyboard.
answer_windowed() {
  local dialog window
  dialog="$(wait_window 30 "^${VELKO_TITLE}\$" 300 180)" || fail "no 300 x 180 dialog"
  focus "$dialog"
  press Tab Tab space Tab Tab Tab space
  window="$(wait_window 20 "^${VELKO_TITLE}\$" 800 600)" || fail "no 800 x 600 game window"
  focus "$window"
  sleep 1.5 # loading, first frames
}

# The Windows path of a file of this machine, as Wine names it.
windows_path() { winepath -w "$1" 2>/dev/null; }

if [[ "$scenario" == record ]]; then
  start_game wine "$game/velko.exe" --record "$(windows_path "$work/run.vdm")" \
    --trace "$(windows_path "$work/real.csv")"
  answer_windowed
  drive_until_skid
  expect_clean_exit "recording"
  "$work/native/velko-sim" "$game" --demo "$work/run.vdm" --trace "$work/linux.csv" ||
    fail "the native velko-sim did not replay the demo made on Windows"
  cmp "$work/real.csv" "$work/linux.csv" || fail "the replay on Linux is not the Windows game's trace"
  note "recorded $(($(wc -l <"$work/real.csv") - 1)) frames on Windows; Linux replays the same trace"
  mkdir -p "$build/e2e-demos" && cp "$work/run.vdm" "$build/e2e-demos/windows.vdm"
  note "PASS"
  exit 0
fi

if [[ "$scenario" == level ]]; then
  # As Explorer starts a program with a file dropped onto it: the file is its one argument.
  start_game wine "$game/velko.exe" "$(windows_path "$game/levels/ville/level.map")"
  answer_windowed
  press F12
  wait_file_size 10 "$game/screenshots/screen000.bmp" 1440054 || fail "F12 left no screenshot"
  press Escape
  expect_clean_exit
  mkdir -p "$work/sim/screenshots" "$work/sim/levels"
  for file in "$game"/*.*; do [[ "$file" == *.exe || "$file" == *.ini ]] || cp "$file" "$work/sim/"; done
  cp -r "$game/levels/ville" "$work/sim/levels/"
  printf '5 F12 down\n7 F12 up\n' >"$work/f12.keys"
  "$work/native/velko-sim" "$work/sim" --level ville --dialog toggle:3,ok --keys "$work/f12.keys" \
    --frames 10 || fail "velko-sim could not play ville"
  "$(host_tool "$build" velko-shot-check)" --same "$game/screenshots/screen000.bmp" \
    "$work/sim/screenshots/screen000.bmp" 40 || fail "the dropped circuit is not ville as velko-sim draws it"
  note "PASS"
  exit 0
fi

start_game wine "$game/velko.exe"
case "$scenario" in
  windowed)
    dialog="$(wait_window 30 "^${VELKO_TITLE}\$" 300 180)" || fail "no 300 x 180 dialog"
    note "dialog is window $dialog"
    focus "$dialog"
    # Tab to "Mode fenestré", Space ticks it, Tab to OK, Space presses it.
    press Tab Tab space Tab Tab Tab space
    window="$(wait_window 20 "^${VELKO_TITLE}\$" 800 600)" || fail "no 800 x 600 game window"
    note "game window is $window"
    focus "$window"
    sleep 1.5 # loading, first frames

    drive_into_the_wall "$audio" "$game/screenshots/screen000.bmp"
    expect_ini "$game/screen.ini" FALSE 16 FALSE FALSE
    expect_screenshot "$game/screenshots/screen000.bmp"
    expect_crash_sound "$audio"
    ;;

  fullscreen | switch-away)
    desktop="$(wait_window 30 "Wine desktop" 1024 768)" || fail "no Wine desktop of 1024 x 768"
    note "Wine desktop is window $desktop"
    wait_dialog_in_desktop 30 "$desktop" || fail "no dialog drawn in the Wine desktop"
    # The X focus may have gone elsewhere while the dialog was made: give it back to the
    # desktop, and a click on the dialog's caption makes it Wine's foreground window.
    focus "$desktop"
    xdotool mousemove --window "$desktop" 512 302 click 1
    sleep 0.3
    # Tab to OK and press it: full screen, 16 bits.
    press Tab Tab Tab Tab Tab space
    wait_size 20 "$desktop" 800x600 ||
      fail "the display did not change to 800 x 600 ($(size_of "$desktop"))"
    note "display mode 800 x 600"
    sleep 2 # loading, first frames
    hold_key Up 1.2
    sleep 0.5
    import -window "$desktop" "$work/fullscreen.png" 2>/dev/null || fail "no capture of the display"
    colours="$(convert "$work/fullscreen.png" -format %k info:)"
    note "the display shows $colours colours"
    ((colours >= 100)) || fail "the full screen shows no circuit ($colours colours)"
    press F12
    wait_file_size 10 "$game/screenshots/screen000.bmp" 1440054 ||
      fail "F12 left no complete screenshots/screen000.bmp"
    sleep 0.5
    if [[ "$scenario" == switch-away ]]; then
      # Another program takes the foreground: the desktop gets its own mode back at once.
      (cd / && exec wine notepad) >/dev/null 2>&1 &
      helper_pid=$!
      wait_size 20 "$desktop" 1024x768 ||
        fail "switching away left the display at $(size_of "$desktop")"
      note "switched away: display mode back to 1024 x 768"
      wine taskkill /f /im notepad.exe >/dev/null 2>&1
      wait "$helper_pid" 2>/dev/null
      helper_pid=""
      # Back to the game, as with a click on its taskbar button: its mode returns, and it plays.
      wine "$(dirname "$game")/velko_taskbar_click.exe" "$VELKO_TITLE" ||
        fail "the game's window could not be brought back"
      wait_size 20 "$desktop" 800x600 || fail "back in the game, the display is $(size_of "$desktop")"
      note "back in the game: display mode 800 x 600"
      sleep 0.5
      hold_key Left 0.5
      press F12
      wait_file_size 10 "$game/screenshots/screen001.bmp" 1440054 ||
        fail "F12 after coming back left no screenshots/screen001.bmp"
      cmp -s "$game/screenshots/screen000.bmp" "$game/screenshots/screen001.bmp" &&
        fail "the car did not turn after coming back"
      expect_screenshot "$game/screenshots/screen001.bmp"
    fi
    press Escape
    expect_clean_exit
    [[ "$(size_of "$desktop")" == 1024x768 ]] ||
      fail "the game left the display at $(size_of "$desktop")"
    note "display mode back to 1024 x 768"
    expect_ini "$game/screen.ini" TRUE 16 FALSE FALSE
    expect_screenshot "$game/screenshots/screen000.bmp"
    ;;

  refused)
    dialog="$(wait_window 30 "^${VELKO_TITLE}\$" 300 180)" || fail "no 300 x 180 dialog"
    focus "$dialog"
    # Tab to OK and press it: full screen at 800 x 600, which this display does not have.
    press Tab Tab Tab Tab Tab space
    box="$(wait_window 20 "^Erreur\$")" || fail "no message box titled \"Erreur\""
    note "message box is window $box"
    [[ "$(xdotool getdisplaygeometry)" == "1280 1024" ]] || fail "the display changed"
    focus "$box"
    press Return
    expect_clean_exit
    expect_ini "$game/screen.ini" TRUE 16 FALSE FALSE
    [[ ! -e "$game/screenshots/screen000.bmp" ]] || fail "a screenshot without a screen"
    ;;
esac
note "PASS"
exit 0
