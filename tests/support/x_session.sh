# Helpers of the end-to-end scripts that play a game on an X display through xdotool. Sourced
# inside the display; the script keeps the game's process id in game_pid (empty when none).

# Waits up to $1 seconds for a visible X window whose name matches $2 and, when given, whose
# size is $3 x $4; prints its id. Gives up as soon as the game has ended.
wait_window() {
  local seconds="$1" name="$2" width="${3:-}" height="${4:-}" id geometry
  local deadline=$((SECONDS + seconds))
  while ((SECONDS < deadline)); do
    for id in $(xdotool search --onlyvisible --name "$name" 2>/dev/null); do
      [[ -z "$width" ]] && { echo "$id"; return 0; }
      geometry="$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)" || continue
      if grep -qx "WIDTH=$width" <<<"$geometry" && grep -qx "HEIGHT=$height" <<<"$geometry"; then
        echo "$id"
        return 0
      fi
    done
    if [[ -n "${game_pid:-}" ]] && ! kill -0 "$game_pid" 2>/dev/null; then return 1; fi
    sleep 0.2
  done
  return 1
}

# Width x height of X window $1.
size_of() {
  local geometry
  geometry="$(xdotool getwindowgeometry --shell "$1" 2>/dev/null)" || return 1
  echo "$(sed -n 's/^WIDTH=//p' <<<"$geometry")x$(sed -n 's/^HEIGHT=//p' <<<"$geometry")"
}

# Waits up to $1 seconds for X window $2 to be $3 (width x height).
wait_size() {
  local deadline=$((SECONDS + $1))
  while ((SECONDS < deadline)); do
    [[ "$(size_of "$2")" == "$3" ]] && return 0
    sleep 0.2
  done
  return 1
}

# Clicks at client position ($2, $3) of window $1.
click_at() {
  xdotool mousemove --window "$1" "$2" "$3" && sleep 0.2 && xdotool click 1 && sleep 0.3
}

# Holds key $1 for $2 seconds (real key events to the focused window): the game reads its keys
# once a frame, so a shorter tap may never be seen.
hold_key() {
  xdotool keydown "$1" && sleep "$2" && xdotool keyup "$1"
}

# Presses each key in turn, each held for a moment as a finger does.
press() {
  local key
  for key in "$@"; do hold_key "$key" 0.1 && sleep 0.1; done
}

# Waits up to $1 seconds for file $2 to reach $3 bytes.
wait_file_size() {
  local deadline=$((SECONDS + $1))
  while ((SECONDS < deadline)); do
    if [[ -f "$2" ]] && (($(stat -c %s "$2") >= $3)); then return 0; fi
    sleep 0.2
  done
  return 1
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

# Waits up to $1 seconds for the game ($game_pid) to end: then its exit code is in game_status
# and game_pid is cleared. Returns 1 while it still runs.
wait_game_end() {
  local deadline=$((SECONDS + $1))
  while kill -0 "$game_pid" 2>/dev/null && ((SECONDS < deadline)); do sleep 0.2; done
  kill -0 "$game_pid" 2>/dev/null && return 1
  wait "$game_pid" && game_status=0 || game_status=$?
  game_pid=""
}
