#!/usr/bin/env bash
# The real game under Xvfb, idle at its frame cap, in each display mode: the processor time
# the game and the X server take, the spread of the game's frame intervals, and how long the
# game takes to show its dialog and, after OK, its first frame.
#   bench/present_bench.sh [VELKO] [SECONDS]     (defaults: build/velko, 10)
# VELKO_PRESENT=surface|renderer forces a way of showing frames (default: the game's choice).
set -euo pipefail
cd "$(dirname "$0")/.."
velko="$(realpath "${1:-build/velko}")"
seconds="${2:-10}"
build="$(dirname "$velko")"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "present_bench: $tool is missing" >&2; exit 1; }
done

readonly TITLE="Project Velko Alpha 0.5"
work="$(mktemp -d)"
xvfb_pid=""
game_pid=""
cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

ticks_per_second="$(getconf CLK_TCK)"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }  # user + system time of a process
now_ns() { date +%s%N; }
stat_of() { awk -F' = ' -v k="$2" '$1 == k { print $2 }' "$1"; }

wait_until() {  # wait_until SECONDS COMMAND...: retries until the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

hold() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }

# run MODE XDEPTH FULLSCREEN COLOURS DRIVE: one run; prints one row of the table.
run() {
  local mode="$1" xdepth="$2" fullscreen="$3" colours="$4" drive="$5"
  local display=":$((90 + RANDOM % 50))"
  Xvfb "$display" -screen 0 "1280x1024x${xdepth}" -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY="$display"
  wait_until 10 xdpyinfo >/dev/null 2>&1 || { echo "no Xvfb on $display" >&2; exit 1; }

  local dir="$work/$mode"
  mkdir -p "$dir/screenshots"
  cp "$velko" "$dir/velko"
  for asset in level.map level.bpb car.bmp car.bpb choc.wav; do cp "$build/$asset" "$dir/"; done
  printf '[ScreenMode]\r\nFullScreen = %s\r\nMode = %s\r\nAlternatives Colors = FALSE\r\n75hz = FALSE\r\n' \
    "$fullscreen" "$colours" >"$dir/screen.ini"

  local started
  started="$(now_ns)"
  SDL_AUDIODRIVER=dummy VELKO_FRAME_STATS="$dir/stats" "$dir/velko" >"$dir/log" 2>&1 &
  game_pid=$!
  local dialog=""
  find_dialog() { dialog="$(xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -1)"; [[ -n "$dialog" ]]; }
  wait_until 10 find_dialog || { echo "no dialog ($mode)" >&2; cat "$dir/log" >&2; exit 1; }
  sleep 0.5
  xdotool mousemove --window "$dialog" 150 155 click 1
  sleep 2  # loading and the first frames; then the steady state is measured
  [[ "$drive" == yes ]] && xdotool keydown Up keydown Left
  local game_before xvfb_before
  game_before="$(cpu_ticks "$game_pid")"
  xvfb_before="$(cpu_ticks "$xvfb_pid")"
  sleep "$seconds"
  local game_after xvfb_after
  game_after="$(cpu_ticks "$game_pid")"
  xvfb_after="$(cpu_ticks "$xvfb_pid")"
  [[ "$drive" == yes ]] && xdotool keyup Up keyup Left
  hold Escape
  wait_until 10 bash -c "! kill -0 $game_pid 2>/dev/null" || { echo "the game did not end ($mode)" >&2; exit 1; }
  wait "$game_pid" || true
  game_pid=""
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=""

  local stats="$dir/stats"
  awk -v mode="$mode" -v t="$ticks_per_second" -v s="$seconds" \
    -v g0="$game_before" -v g1="$game_after" -v x0="$xvfb_before" -v x1="$xvfb_after" \
    -v start="$started" -v shown="$(stat_of "$stats" dialog_shown_ns)" \
    -v closed="$(stat_of "$stats" dialog_closed_ns)" -v first="$(stat_of "$stats" first_game_frame_ns)" \
    -v p1="$(stat_of "$stats" interval_ms_p1)" -v p50="$(stat_of "$stats" interval_ms_p50)" \
    -v p99="$(stat_of "$stats" interval_ms_p99)" -v within="$(stat_of "$stats" within_1ms_share)" \
    'BEGIN { printf "| %-22s | %5.1f %% | %5.1f %% | %6.2f | %6.2f | %6.2f | %6.2f %% | %4.0f ms | %4.0f ms |\n",
             mode, 100 * (g1 - g0) / t / s, 100 * (x1 - x0) / t / s, p1, p50, p99, 100 * within,
             (shown - start) / 1e6, (first - closed) / 1e6 }'
}

echo "Presentation under Xvfb (1280 x 1024), ${seconds} s per mode, frames paced to 1/61 s ="
echo "16.39 ms (full screen: the display's 60 Hz). CPU in % of one core."
echo
echo "| mode                   | game    | Xvfb    | p1 ms  | p50 ms | p99 ms | ±1 ms    | dialog  | OK→frame |"
echo "|------------------------|---------|---------|--------|--------|--------|----------|---------|----------|"
run "windowed 32 bits, idle" 24 FALSE 16 no
run "windowed 16 bits, idle" 16 FALSE 16 no
run "full screen 16, idle" 24 TRUE 16 no
run "full screen 32, idle" 24 TRUE 32 no
run "windowed 32, driving" 24 FALSE 16 yes
run "full screen 32, driving" 24 TRUE 32 yes
