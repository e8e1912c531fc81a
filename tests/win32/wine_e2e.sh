#!/usr/bin/env bash
# velko.exe played end to end under Wine on a virtual X display, as a Windows player would:
#   wine_e2e.sh VELKO_EXE BUILD_DIR windowed|fullscreen|switch-away|refused|crash
# Copies the program and its five data files into a fresh folder named with accents (no
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
# WINEPREFIX names the Wine prefix; its Wine server is stopped at the end. Exit 77 (skipped)
# only when Xvfb, xdotool or Wine is missing.
set -uo pipefail

readonly TITLE="Project Velko Alpha 0.5"
readonly ASSETS=(level.map level.bpb car.bmp car.bpb choc.wav)
readonly DESKTOP="velko-e2e"

fail() {
  echo "wine-e2e: FAIL: $*" >&2
  exit 1
}

note() { echo "wine-e2e: $*"; }

# ---------------------------------------------------------------------------------------
# Outside the display: prepare the folder and run the session under xvfb-run.
if [[ "${1:-}" != "--session" ]]; then
  if [[ $# -ne 3 || ! "$3" =~ ^(windowed|fullscreen|switch-away|refused|crash)$ ]]; then
    echo "usage: wine_e2e.sh VELKO_EXE BUILD_DIR windowed|fullscreen|switch-away|refused|crash" >&2
    exit 2
  fi
  for tool in xvfb-run xdotool wine wineserver; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "wine-e2e: $tool is not installed: skipped" >&2
      exit 77
    fi
  done
  [[ -n "${WINEPREFIX:-}" ]] || fail "WINEPREFIX is not set"
  velko="$1"
  build="$2"
  [[ -f "$velko" ]] || fail "no program at $velko"
  work="$(mktemp -d "${TMPDIR:-/tmp}/velko-wine-e2e-XXXXXX")" || fail "no temporary folder"
  game="$work/Jeux vidéo à Noël"
  mkdir -p "$game/screenshots" "$work/home" || fail "cannot make the game's folder"
  cp "$velko" "$game/velko.exe" || fail "cannot copy the program"
  for helper in velko_taskbar_click velko_crash_probe; do
    cp "$build/$helper.exe" "$work/" || fail "the build has no $helper.exe"
  done
  for asset in "${ASSETS[@]}"; do
    cp "$build/$asset" "$game/$asset" || fail "the build has no $asset"
  done
  # Wine's ALSA output into a file: the crash sound can be heard without a sound card.
  cat >"$work/home/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$work/audio.raw"
  format "raw"
}
ASOUND
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # The session must end on its own well before CTest's limit; this is the last resort.
  HOME="$work/home" timeout -k 5 200 xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$0" --session "$work" "$game" "$3"
  status=$?
  HOME="$work/home" wineserver -k 2>/dev/null
  if [[ $status -eq 0 ]]; then
    rm -rf "$work"
  else
    echo "wine-e2e: session exited $status; its folder is kept: $work" >&2
  fi
  exit $status
fi

# ---------------------------------------------------------------------------------------
# Inside the display.
work="$2"
game="$3"
scenario="$4"
audio="$work/audio.raw"
game_pid=""
helper_pid=""

source "$(dirname "$0")/../support/x_session.sh"
cleanup() {
  stop_process "$game_pid"
  stop_process "$helper_pid"
  # No desktop of ours is left for the next test of this prefix.
  if [[ "$scenario" =~ ^(fullscreen|switch-away|crash)$ ]]; then
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
  fi
}
trap cleanup EXIT

focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
}

# Waits up to $1 seconds for the dialog to be drawn inside Wine desktop window $2: the
# desktop alone is one flat colour, the dialog brings its face, frame and text.
wait_dialog_in_desktop() {
  local deadline=$((SECONDS + $1)) colours
  while ((SECONDS < deadline)); do
    colours="$(import -window "$2" -crop 300x180+362+294 +repage -format %k info: 2>/dev/null)"
    [[ -n "$colours" ]] && ((colours >= 8)) && return 0
    sleep 0.3
  done
  return 1
}

# Waits up to 15 s for the game to end; checks exit code 0.
expect_clean_exit() {
  wait_game_end 15 || fail "the game did not end within 15 s"
  [[ $game_status -eq 0 ]] || fail "exit code $game_status (stderr: $(cat "$work/stderr.txt"))"
  note "exit code 0"
}

expect_ini() {
  local expected=$'[ScreenMode]\r\nFullScreen = '"$1"$'\r\nMode = 16\r\nAlternatives Colors = FALSE\r\n75hz = '"$2"$'\r\n'
  [[ -f "$game/screen.ini" ]] || fail "no screen.ini beside the game"
  [[ "$(cat "$game/screen.ini"; echo x)" == "${expected}x" ]] ||
    fail "screen.ini differs: $(od -c "$game/screen.ini" | head -20)"
  note "screen.ini as expected"
}

# The screenshot: an 800 x 600 24-bit BMP of the circuit and the car.
expect_screenshot() {
  local shot="$1" size header h width height bits stats distinct car grass road
  size="$(stat -c %s "$shot")"
  [[ "$size" -eq 1440054 ]] || fail "screenshot is $size bytes, not 1440054"
  header="$(od -An -v -tu1 -N54 "$shot" | tr -s ' \n' ' ')"
  read -r -a h <<<"$header"
  [[ "${h[0]} ${h[1]}" == "66 77" ]] || fail "screenshot is not a BMP"
  width=$((h[18] + 256 * h[19]))
  height=$((h[22] + 256 * h[23]))
  bits=$((h[28] + 256 * h[29]))
  [[ "$width $height $bits" == "800 600 24" ]] || fail "screenshot is ${width}x${height}x${bits}"
  stats="$(od -An -v -tu1 -w3 -j54 "$shot" | awk '
    { key = $1 * 65536 + $2 * 256 + $3
      if (!(key in seen)) { seen[key] = 1; distinct++ }
      b = $1; g = $2; r = $3
      if (b > 150 && b > r + 80 && b > g + 50) car++
      if (g > 100 && g > r + 40 && g > b + 40) grass++
      if (r > 60 && r < 110 && g > 60 && g < 110 && b > 60 && b < 115 && r - g < 12 && g - r < 12) road++
    }
    END { printf "%d %d %d %d\n", distinct, car, grass, road }')"
  read -r distinct car grass road <<<"$stats"
  note "screenshot: $distinct colours, $car car-blue, $grass grass, $road asphalt pixels"
  ((distinct >= 200)) || fail "screenshot has only $distinct colours"
  ((car >= 150)) || fail "no car in the screenshot ($car blue pixels)"
  ((grass >= 5000)) || fail "no grass in the screenshot"
  ((road >= 5000)) || fail "no road in the screenshot"
}

# Starts the game from another folder: it must still find and write its files beside itself.
start_game() {
  (cd / && exec wine "$game/velko.exe") >"$work/stdout.txt" 2>"$work/stderr.txt" &
  game_pid=$!
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

start_game
case "$scenario" in
  windowed)
    dialog="$(wait_window 30 "^${TITLE}\$" 300 180)" || fail "no 300 x 180 dialog titled \"$TITLE\""
    note "dialog is window $dialog"
    focus "$dialog"
    # Tab to "Mode fenestré", Space ticks it, Tab to OK, Space presses it.
    press Tab Tab space Tab Tab Tab space

    window="$(wait_window 20 "^${TITLE}\$" 800 600)" || fail "no 800 x 600 game window"
    note "game window is $window"
    focus "$window"
    sleep 1.5 # loading, first frames

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
    wait_file_size 10 "$game/screenshots/screen000.bmp" 1440054 ||
      fail "F12 left no complete screenshots/screen000.bmp"
    sleep 0.5
    hold_key Escape 0.3
    expect_clean_exit
    expect_ini FALSE FALSE
    expect_screenshot "$game/screenshots/screen000.bmp"
    [[ -f "$audio" ]] || fail "Wine wrote no audio (sound not started?)"
    ((silent_before == 0)) || fail "sound before any crash ($silent_before bytes)"
    ((sounding_after >= 2000)) || fail "no crash sound after driving into the wall"
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
    hold_key F12 0.3
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
      wine "$(dirname "$game")/velko_taskbar_click.exe" "$TITLE" ||
        fail "the game's window could not be brought back"
      wait_size 20 "$desktop" 800x600 || fail "back in the game, the display is $(size_of "$desktop")"
      note "back in the game: display mode 800 x 600"
      sleep 0.5
      hold_key Left 0.5
      hold_key F12 0.3
      wait_file_size 10 "$game/screenshots/screen001.bmp" 1440054 ||
        fail "F12 after coming back left no screenshots/screen001.bmp"
      cmp -s "$game/screenshots/screen000.bmp" "$game/screenshots/screen001.bmp" &&
        fail "the car did not turn after coming back"
      expect_screenshot "$game/screenshots/screen001.bmp"
    fi
    hold_key Escape 0.3
    expect_clean_exit
    [[ "$(size_of "$desktop")" == 1024x768 ]] ||
      fail "the game left the display at $(size_of "$desktop")"
    note "display mode back to 1024 x 768"
    expect_ini TRUE FALSE
    expect_screenshot "$game/screenshots/screen000.bmp"
    ;;

  refused)
    dialog="$(wait_window 30 "^${TITLE}\$" 300 180)" || fail "no 300 x 180 dialog titled \"$TITLE\""
    focus "$dialog"
    # Tab to OK and press it: full screen at 800 x 600, which this display does not have.
    press Tab Tab Tab Tab Tab space
    box="$(wait_window 20 "^Erreur\$")" || fail "no message box titled \"Erreur\""
    note "message box is window $box"
    [[ "$(xdotool getdisplaygeometry)" == "1280 1024" ]] || fail "the display changed"
    focus "$box"
    press Return
    expect_clean_exit
    expect_ini TRUE FALSE
    [[ ! -e "$game/screenshots/screen000.bmp" ]] || fail "a screenshot without a screen"
    ;;
esac
note "PASS"
exit 0
