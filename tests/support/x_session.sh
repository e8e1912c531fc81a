# The harness of every script that plays the game on a virtual X display through xdotool
# (tests/e2e, tests/dialog, tests/package, tests/win32, docs/make_screenshot.sh,
# bench/present_bench.sh). The script sets `harness`, the word its messages begin with, and
# sources this file. Outside the display it checks its tools, makes its folder ($work, kept
# when the script fails), fills it with the game and starts itself again under xvfb-run with
# --session first; inside, it drives the game, whose process id is in game_pid (empty when none).

readonly VELKO_TITLE="Project Velko Alpha 0.5"
# How long one key press is held, and the rest after it: the game reads its keys once a frame,
# so a shorter tap may never be seen.
readonly KEY_HOLD=0.2

note() { echo "$harness: $*"; }

# Says why the script failed, with what the game wrote on its error output, and exits 1.
fail() {
  echo "$harness: FAIL: $*" >&2
  if [[ -s "${work:-}/stderr.txt" ]]; then sed 's/^/  game: /' "$work/stderr.txt" >&2; fi
  exit 1
}

# ---------------------------------------------------------------------------------------
# Outside the display.

# Exits 77 (skipped) unless every tool named is installed.
need_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
      echo "$harness: $tool is not installed: skipped" >&2
      exit 77
    fi
  done
}

# Makes $work, removed when the script exits 0 and kept, and said so, when it does not.
make_work_folder() {
  work="$(mktemp -d "${TMPDIR:-/tmp}/velko-$harness-XXXXXX")" || fail "no temporary folder"
  trap 'keep_work_on_failure $?' EXIT
}
keep_work_on_failure() {
  if (($1 == 0)); then
    rm -rf "$work"
  else
    echo "$harness: exit $1; its folder is kept: $work" >&2
  fi
}

# The path of tool $2 built for this machine in build folder $1 (a cross build keeps its
# host tools in host-tools/).
host_tool() {
  local path
  for path in "$1/$2" "$1/host-tools/$2"; do
    if [[ -x "$path" ]]; then
      echo "$path"
      return 0
    fi
  done
  return 1
}

# prepare_game_folder FOLDER PROGRAM BUILD: FOLDER gets PROGRAM, the data files the build's
# generator names (velko-assetgen --list) copied from BUILD, and an empty screenshots folder.
prepare_game_folder() {
  local folder="$1" program="$2" build="$3" generator files file
  generator="$(host_tool "$build" velko-assetgen)" || fail "no velko-assetgen in $build"
  mapfile -t files < <("$generator" --list)
  ((${#files[@]} > 0)) || fail "$generator --list names no data file"
  mkdir -p "$folder/screenshots" || fail "cannot make $folder"
  cp "$program" "$folder/" || fail "no program at $program"
  for file in "${files[@]}"; do
    cp "$build/$file" "$folder/" || fail "the build has no $file"
  done
}

# run_under_xvfb SCREEN SECONDS COMMAND...: COMMAND on a virtual display of its own of SCREEN
# (width x height x depth), ended after SECONDS at the latest (well before any test's limit);
# returns its exit code.
run_under_xvfb() {
  local screen="$1" seconds="$2"
  shift 2
  timeout -k 5 "$seconds" xvfb-run -a -s "-screen 0 $screen" "$@"
}

# The text of a screen.ini: full screen, mode (16 or 32), alternative colours, 75 Hz.
screen_ini() {
  printf '[ScreenMode]\r\nFullScreen = %s\r\nMode = %s\r\nAlternatives Colors = %s\r\n75hz = %s\r\n' \
    "$@"
}

# expect_ini FILE FULLSCREEN MODE ALTERNATIVE 75HZ: FILE comes to hold that screen.ini, byte
# for byte, within 10 s.
expect_ini() {
  local file="$1" expected
  shift
  expected="$(screen_ini "$@"; echo x)"
  holds() { [[ "$(cat "$file" 2>/dev/null; echo x)" == "$expected" ]]; }
  wait_until 10 holds || fail "$file holds $(od -c "$file" 2>&1 | head -20)"
  note "screen.ini as expected"
}

# ---------------------------------------------------------------------------------------
# Inside the display.

# Starts the game's session: the game, when one runs, is stopped whatever ends the script.
begin_session() {
  game_pid=""
  trap 'stop_process "$game_pid"' EXIT
}

# start_game COMMAND...: the game in the background, its output in $work/stdout.txt and
# $work/stderr.txt. A background job starts with Ctrl+C and hang-up ignored; a player's game
# does not.
start_game() {
  env --default-signal=INT,HUP "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" &
  game_pid=$!
}

# wait_until SECONDS COMMAND...: runs COMMAND every 0.2 s until it succeeds; 1 after SECONDS,
# or as soon as the game has ended.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    if [[ -n "${game_pid:-}" ]] && ! kill -0 "$game_pid" 2>/dev/null; then return 1; fi
    sleep 0.2
  done
}

# find_window NAME [WIDTH HEIGHT]: prints the id of a visible X window whose name matches
# NAME and, when given, whose size is WIDTH x HEIGHT.
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
    if [[ $# -eq 1 || "$(size_of "$id")" == "$2x$3" ]]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# wait_window SECONDS NAME [WIDTH HEIGHT]: find_window, waiting for it.
wait_window() {
  local seconds="$1"
  shift
  wait_until "$seconds" find_window "$@"
}

# Why a wait gave up: the game still runs, or how it ended.
game_state() {
  if [[ -z "${game_pid:-}" ]] || kill -0 "$game_pid" 2>/dev/null; then
    echo "the game still runs"
  else
    wait "$game_pid"
    echo "the game ended with exit code $?"
  fi
}

# Width x height of X window $1.
size_of() {
  local geometry
  geometry="$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  echo "$(sed -n 's/^WIDTH=//p' <<<"$geometry")x$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
}

# Waits up to $1 seconds for X window $2 to be $3 (width x height).
wait_size() {
  is_size() { [[ "$(size_of "$1")" == "$2" ]]; }
  wait_until "$1" is_size "$2" "$3"
}

# Gives X window $1 the keyboard.
focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
}

# Clicks at client position ($2, $3) of window $1.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3" && sleep 0.2 && xdotool click 1 && sleep 0.3
}

# Holds key $1 for $2 seconds (real key events to the focused window), as a driver does. One
# xdotool does it all, so a busy machine cannot stretch the hold into the X server's repeat.
hold_key() {
  xdotool keydown "$1" sleep "$2" keyup "$1"
}

# Presses each key in turn, each held for a moment as a finger does.
press() {
  local key steps=()
  for key in "$@"; do steps+=(keydown "$key" sleep "$KEY_HOLD" keyup "$key" sleep "$KEY_HOLD"); done
  xdotool "${steps[@]}"
}

# Waits up to $1 seconds for file $2 to reach $3 bytes.
wait_file_size() {
  has_size() { [[ -f "$1" ]] && (($(stat -c %s "$1") >= $2)); }
  wait_until "$1" has_size "$2" "$3"
}

# Bytes of audio file $1 that are not zero (silence is all zeros; no file is silence).
nonzero_audio_bytes() {
  if [[ ! -f "$1" ]]; then
    echo 0
    return
  fi
  od -An -v -tu1 "$1" | awk '{ for (i = 1; i <= NF; i++) if ($i != 0) n++ } END { print n + 0 }'
}

# Ends process $1 if it still runs: asked first, then killed.
stop_process() {
  if [[ -n "$1" ]] && kill -0 "$1" 2>/dev/null; then
    kill "$1" 2>/dev/null
    sleep 1
    kill -9 "$1" 2>/dev/null
  fi
}

# Stops the game if it still runs, without a verdict on how it ended.
stop_game() {
  stop_process "$game_pid"
  wait "$game_pid" 2>/dev/null
  game_pid=""
}

# Waits up to $1 seconds for the game ($game_pid) to end: then its exit code is in game_status
# and game_pid is cleared. Returns 1 while it still runs.
wait_game_end() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$game_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
  kill -0 "$game_pid" 2>/dev/null && return 1
  wait "$game_pid" && game_status=0 || game_status=$?
  game_pid=""
}

# expect_clean_exit [WHAT]: the game ends by itself within 15 s, with exit code 0.
expect_clean_exit() {
  wait_game_end 15 || fail "the game did not end within 15 s${1:+ ($1)}"
  ((game_status == 0)) || fail "exit code $game_status${1:+ ($1)}"
  note "exit code 0${1:+ ($1)}"
}

# play_windowed [alternative]: the dialog answered with the mouse, "Mode fenestré" (and
# "Couleurs alterrées") ticked, then OK; the 800 x 600 game window gets the keyboard.
play_windowed() {
  local dialog game
  dialog="$(wait_window 20 "^${VELKO_TITLE}\$" 300 180)" ||
    fail "no 300 x 180 dialog within 20 s: $(game_state)"
  sleep 0.5
  click_at "$dialog" 90 90 # "Mode fenestré"
  if [[ "${1:-}" == alternative ]]; then click_at "$dialog" 90 110; fi # "Couleurs alterrées"
  click_at "$dialog" 150 155                                            # OK
  game="$(wait_window 20 "^${VELKO_TITLE}\$" 800 600)" ||
    fail "no 800 x 600 game window within 20 s: $(game_state)"
  focus "$game"
}

# drive_into_the_wall AUDIO SHOT: in the game's window, full speed up the start straight into
# the wall at the top, a turn, F12 saving SHOT, and Escape. The bytes of AUDIO (where the
# game's sound goes) that are not zero before the run and after the crash are kept for
# expect_crash_sound.
drive_into_the_wall() {
  silent_before="$(nonzero_audio_bytes "$1")"
  # Up the start straight: top speed after half a second, the wall at the top after about one.
  hold_key Up 1.6
  sleep 0.8
  sounding_after="$(nonzero_audio_bytes "$1")"
  note "audio bytes not zero: $silent_before before the run, $sounding_after after the crash"
  hold_key Right 0.4
  hold_key Up 0.3
  sleep 0.5
  press F12
  wait_file_size 10 "$2" 1440054 || fail "F12 left no complete $2"
  sleep 0.5
  press Escape
  expect_clean_exit
}

# In the game's window, into the wall at the top three times: two bounces, then the third sets
# the car skidding; then Escape.
drive_until_skid() {
  local run
  for run in 1 2 3; do
    hold_key Up 1.6
    sleep 0.6
  done
  press Escape
}

# expect_crash_sound AUDIO: silence before the crash, and its sound after it.
expect_crash_sound() {
  [[ -f "$1" ]] || fail "no sound written to $1 (sound not started?)"
  ((silent_before == 0)) || fail "sound before any crash ($silent_before bytes)"
  ((sounding_after >= 2000)) || fail "no crash sound after driving into the wall"
}

# expect_screenshot FILE [alternative]: the screenshot's size, colours, grass, asphalt and car,
# as velko-shot-check of the build folder $build reads them.
expect_screenshot() {
  local checker
  checker="$(host_tool "$build" velko-shot-check)" || fail "no velko-shot-check in $build"
  "$checker" "$@" || fail "the screenshot $1 is not the circuit with the car"
}
