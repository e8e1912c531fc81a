#!/usr/bin/env bash
# The real game under Xvfb, idle at its frame cap, in each display mode: the processor time
# the game and the X server take, the spread of the game's frame intervals, and how long the
# game takes to show its dialog and, after OK, its first frame.
#   bench/present_bench.sh [VELKO] [SECONDS]     (defaults: build/velko, 10)
# VELKO_PRESENT=surface|renderer forces a way of showing frames (default: the game's choice).
set -uo pipefail
harness=present_bench
source "$(dirname "$0")/../tests/support/x_session.sh"

# run MODE XDEPTH FULLSCREEN COLOURS DRIVE: one run on a display of its own; prints one row.
run() {
  local dir="$work/$((++runs))"
  prepare_game_folder "$dir" "$velko" "$(dirname "$velko")"
  screen_ini "$3" "$4" FALSE FALSE >"$dir/screen.ini"
  run_under_xvfb "1280x1024x$2" $((seconds + 60)) bash "$0" --session "$dir" "$seconds" "$1" "$5" ||
    fail "the run \"$1\" failed"
}

if [[ "${1:-}" != "--session" ]]; then
  velko="$(realpath "${1:-$(dirname "$0")/../build/velko}")"
  seconds="${2:-10}"
  need_tools xvfb-run xdotool
  make_work_folder
  runs=0
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
  exit 0
fi

# Inside the display: the game's folder, the seconds measured, the mode's name, driving or not.
work="$2"
seconds="$3"
mode="$4"
drive="$5"
begin_session
# The X server xvfb-run started beside this script.
for stat in /proc/[0-9]*/stat; do
  read -r pid name _ parent _ 2>/dev/null <"$stat" || continue
  [[ "$name" == "(Xvfb)" && "$parent" == "$PPID" ]] && xvfb_pid="$pid"
done
[[ -n "${xvfb_pid:-}" ]] || fail "no Xvfb beside the session"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; } # user + system time of a process
now_ns() { date +%s%N; }
stat_of() { awk -F' = ' -v k="$1" '$1 == k { print $2 }' "$work/stats"; }

started="$(now_ns)"
SDL_AUDIODRIVER=dummy VELKO_FRAME_STATS="$work/stats" start_game "$work/velko"
dialog="$(wait_window 10 "^${VELKO_TITLE}\$")" || fail "no dialog ($mode)"
sleep 0.5
click_at "$dialog" 150 155
sleep 2 # loading and the first frames; then the steady state is measured
[[ "$drive" == yes ]] && xdotool keydown Up keydown Left
game_before="$(cpu_ticks "$game_pid")"
xvfb_before="$(cpu_ticks "$xvfb_pid")"
sleep "$seconds"
game_after="$(cpu_ticks "$game_pid")"
xvfb_after="$(cpu_ticks "$xvfb_pid")"
[[ "$drive" == yes ]] && xdotool keyup Up keyup Left
press Escape
wait_game_end 10 || fail "the game did not end ($mode)"

awk -v mode="$mode" -v t="$(getconf CLK_TCK)" -v s="$seconds" \
  -v g0="$game_before" -v g1="$game_after" -v x0="$xvfb_before" -v x1="$xvfb_after" \
  -v start="$started" -v shown="$(stat_of dialog_shown_ns)" \
  -v closed="$(stat_of dialog_closed_ns)" -v first="$(stat_of first_game_frame_ns)" \
  -v p1="$(stat_of interval_ms_p1)" -v p50="$(stat_of interval_ms_p50)" \
  -v p99="$(stat_of interval_ms_p99)" -v within="$(stat_of within_1ms_share)" \
  'BEGIN { printf "| %-22s | %5.1f %% | %5.1f %% | %6.2f | %6.2f | %6.2f | %6.2f %% | %4.0f ms | %4.0f ms |\n",
           mode, 100 * (g1 - g0) / t / s, 100 * (x1 - x0) / t / s, p1, p50, p99, 100 * within,
           (shown - start) / 1e6, (first - closed) / 1e6 }'
