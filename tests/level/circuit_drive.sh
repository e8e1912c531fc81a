#!/usr/bin/env bash
# A circuit of levels/, as the build imported it, driven by the game's own rules, headless:
#   circuit_drive.sh VELKO_SIM BUILD_DIR CIRCUIT SCENARIO
# SCENARIO is top_wall or half_tile_corner (key scripts of tests/e2e) or first_bend (beside
# this file). Checks the per-frame trace against what the circuit's design says.
set -uo pipefail

fail() {
  echo "circuit_drive: FAIL: $*" >&2
  exit 1
}

[[ $# -eq 4 ]] || { echo "usage: circuit_drive.sh VELKO_SIM BUILD_DIR CIRCUIT SCENARIO" >&2; exit 2; }
sim="$1"
build="$2"
circuit="$3"
scenario="$4"
here="$(dirname "$0")"
keys="$here/$scenario.keys"
[[ -f "$keys" ]] || keys="$here/../e2e/$scenario.keys"
[[ -f "$keys" ]] || fail "no key script for $scenario"

work="$(mktemp -d "${TMPDIR:-/tmp}/velko-circuit-XXXXXX")" || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
cp "$build/levels/$circuit/level.map" "$build/levels/$circuit/level.bpb" "$work/" ||
  fail "the build has not imported $circuit"
for asset in car.bmp car.bpb choc.wav; do
  cp "$build/$asset" "$work/" || fail "the build has no $asset"
done
mkdir "$work/screenshots"

frames=160
timeout 120 "$sim" "$work" --keys "$keys" --frames "$frames" --trace "$work/trace.csv" \
  2>"$work/stderr.txt" || fail "velko-sim failed: $(cat "$work/stderr.txt")"
[[ ! -s "$work/stderr.txt" ]] || fail "velko-sim showed a message: $(cat "$work/stderr.txt")"

# Trace columns: 1 frame, 5 heading, 6 speed, 7 screenX, 8 screenY, 9 scrollX, 10 scrollY,
# 11-13 the three probe types, 14 blocked, 16 crashCount, 20 sounds played so far. The car's
# map cell comes from its centre: screen + scroll + 32, over 50.
case "$circuit:$scenario" in
  *:top_wall)
    # Full throttle up the start straight: the road is open up to the barrier at the top.
    check='$14 == 1 {
        if ($8 + $10 + 32 > 100) { print "blocked at y " $8 + $10 + 32 " before the barrier"; exit }
        if ($11 != 1 || $6 >= 0 || $20 != 1) { print "no bounce off the barrier"; exit }
        print "ok"; exit }'
    ;;
  ville:half_tile_corner | rapide:half_tile_corner)
    # Aimed left, the car meets the cut corner of the first bend: brick (2) in town, the
    # concrete barrier's corner (4) on the fast circuit.
    want=$([[ $circuit == ville ]] && echo 2 || echo 4)
    check='$14 == 1 {
        if ($11 == 1 || $12 == 1 || $13 == 1) { print "a solid tile blocked first"; exit }
        if ($11 != '"$want"' && $12 != '"$want"' && $13 != '"$want"') { print "probes read " $11 $12 $13; exit }
        if ($6 >= 0 || $20 != 1) { print "no bounce with sound"; exit }
        print "ok"; exit }'
    ;;
  ville:first_bend)
    # Through the first bend onto the short top street, which ends in the block at column 19:
    # the first crash is there, on a solid tile, after the bend was driven cleanly.
    check='$14 == 1 {
        c = int(($7 + $9 + 32) / 50); r = int(($8 + $10 + 32) / 50)
        if (c < 17 || r > 3) { print "blocked in cell " c "," r " before the street end"; exit }
        if ($11 != 1 && $12 != 1 && $13 != 1) { print "no solid tile ahead at the street end"; exit }
        print "ok"; exit }'
    ;;
  rapide:first_bend)
    # Through the first bend and down the long top straight without touching anything.
    check='NR > 1 && ($14 != 0 || $16 != 0) { print "touched something in frame " $1; bad = 1; exit }
        { c = int(($7 + $9 + 32) / 50); r = int(($8 + $10 + 32) / 50) }
        END { if (bad) exit; if (c < 22 || r != 2) { print "ended in cell " c "," r; exit }; print "ok" }'
    ;;
  *) fail "unknown scenario $circuit:$scenario" ;;
esac
result="$(awk -F, "NR == 1 { next } $check" "$work/trace.csv")"
[[ "$result" == "ok" ]] || fail "$circuit $scenario: ${result:-the car never met an obstacle}"
echo "circuit_drive: $circuit $scenario: PASS"
