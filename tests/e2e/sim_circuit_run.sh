#!/usr/bin/env bash
# The generated circuit driven by the game's own rules, headless:
#   sim_circuit_run.sh VELKO_SIM BUILD_DIR SCENARIO
# SCENARIO is lap, top_wall or half_tile_corner; its key script lies beside this file. Runs
# velko-sim over a copy of the build's five data files and checks the per-frame trace.
set -uo pipefail

fail() {
  echo "sim_circuit: FAIL: $*" >&2
  exit 1
}

[[ $# -eq 3 ]] || { echo "usage: sim_circuit_run.sh VELKO_SIM BUILD_DIR SCENARIO" >&2; exit 2; }
sim="$1"
build="$2"
scenario="$3"
keys="$(dirname "$0")/$scenario.keys"
[[ -f "$keys" ]] || fail "no key script $keys"

work="$(mktemp -d "${TMPDIR:-/tmp}/velko-sim-circuit-XXXXXX")" || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
for asset in level.map level.bpb car.bmp car.bpb choc.wav; do
  cp "$build/$asset" "$work/" || fail "the build has no $asset"
done
mkdir "$work/screenshots"

case "$scenario" in
  lap) frames=1210 ;;
  *) frames=120 ;;
esac
timeout 120 "$sim" "$work" --keys "$keys" --frames "$frames" --trace "$work/trace.csv" \
  2>"$work/stderr.txt"
status=$?
[[ $status -eq 0 ]] || fail "velko-sim exited $status: $(cat "$work/stderr.txt")"
[[ ! -s "$work/stderr.txt" ]] || fail "velko-sim showed a message: $(cat "$work/stderr.txt")"
lines=$(($(wc -l <"$work/trace.csv") - 1))
((lines >= frames - 1)) || fail "trace has $lines frames, expected about $frames"

# Trace columns: 1 frame, 5 heading, 6 speed, 7 screenX, 8 screenY, 9 scrollX, 10 scrollY,
# 11-13 the three probe types, 14 blocked, 16 crashCount, 20 sounds played so far.
# The car's map cell comes from its centre: screen + scroll + 32, over 50.
case "$scenario" in
  lap)
    # One clockwise lap at full speed touches nothing, passes a checkpoint on every straight
    # in order, scrolls both ways, and ends back on the start straight, over the line again.
    result="$(awk -F, '
      BEGIN {
        n = split("15:2 30:6 45:10 57:25 48:42 38:36 30:30 22:36 14:42 6:25", cp, " ")
        next_cp = 1
      }
      NR == 1 { next }
      {
        if ($14 != 0 || $16 != 0 || $20 != 0) { print "touched something in frame " $1; bad = 1; exit }
        c = int(($7 + $9 + 32) / 50); r = int(($8 + $10 + 32) / 50)
        if (next_cp <= n && c ":" r == cp[next_cp]) next_cp++
        if ($9 > maxX) maxX = $9
        if ($10 > maxY) maxY = $10
        lastC = c; lastR = r
      }
      END {
        if (bad) exit
        if (next_cp <= n) { print "missed checkpoint " cp[next_cp]; exit }
        if (maxX < 800 || maxY < 600) { print "the view scrolled only to " maxX "," maxY; exit }
        if (lastC < 5 || lastC > 7 || lastR < 4 || lastR > 10) { print "ended in cell " lastC "," lastR; exit }
        print "ok"
      }' "$work/trace.csv")"
    ;;
  top_wall)
    # The road ahead of the start is open until the barrier; the first block there is a
    # bounce off a solid tile under the front probe, with the crash sound.
    result="$(awk -F, '
      NR == 1 { next }
      $14 == 1 {
        cy = $8 + $10 + 32
        if (cy > 100) { print "blocked at y " cy ", before the top of the straight"; exit }
        if ($11 != 1) { print "front probe read " $11 " at the barrier"; exit }
        if ($6 >= 0) { print "no bounce: speed " $6; exit }
        if ($20 != 1) { print "sounds played: " $20; exit }
        if (int(($7 + $9 + 32) / 50) != 6) { print "left the start column"; exit }
        print "ok"; exit
      }' "$work/trace.csv")"
    ;;
  half_tile_corner)
    # The cut corner of the top-left bend blocks as a half tile (type 2), not as a wall.
    result="$(awk -F, '
      NR == 1 { next }
      $14 == 1 {
        if ($11 == 1 || $12 == 1 || $13 == 1) { print "a solid tile blocked first"; exit }
        if ($11 != 2 && $12 != 2 && $13 != 2) { print "no probe on the half tile: " $11 $12 $13; exit }
        if ($6 >= 0 || $20 != 1) { print "no bounce with sound"; exit }
        print "ok"; exit
      }' "$work/trace.csv")"
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
[[ "$result" == "ok" ]] || fail "$scenario: ${result:-the car never met an obstacle}"
echo "sim_circuit: $scenario: PASS"
