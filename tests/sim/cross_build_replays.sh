#!/usr/bin/env bash
# The same game on every build: the golden key scripts and the kept demos, replayed by the
# native velko-sim, by velko-sim.exe under Wine and by velko-sim.js under node, give traces
# identical to the byte.
#   cross_build_replays.sh NATIVE_BUILD WINDOWS_BUILD WEB_BUILD
# Each build must have been made (scripts/test.sh makes all three before it runs this). The
# data files are the native build's generated ones, which the kept demos were recorded on.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
native="$(realpath "$1")"
windows="$(realpath "$2")"
web="$(realpath "$3")"

fail() {
  echo "cross-build replays: FAIL: $*" >&2
  exit 1
}

sims=("$native/velko-sim" "$windows/velko-sim.exe" "$web/velko-sim.js")
for sim in "${sims[@]}"; do [[ -f "$sim" ]] || fail "no $sim (build it first)"; done
command -v wine >/dev/null || fail "wine is not installed"
command -v node >/dev/null || fail "node is not installed"

work="$(mktemp -d "${TMPDIR:-/tmp}/velko-cross-XXXXXX")" || fail "no temporary folder"
trap 'rm -rf "$work"' EXIT
mkdir "$work/game" "$work/game/screenshots"
for name in $("$native/velko-assetgen" --list); do
  cp "$native/$name" "$work/game/" || fail "the native build has no $name"
done

# run NAME BUILD ARGUMENTS...: the trace of one build in $work/NAME.BUILD.csv
run() {
  local name="$1" build="$2"
  shift 2
  local trace="$work/$name.$build.csv"
  case "$build" in
    native) "$native/velko-sim" "$work/game" "$@" --trace "$trace" ;;
    windows)
      WINEPREFIX="$windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine "$windows/velko-sim.exe" "$work/game" "$@" --trace "$trace" ;;
    # Emscripten's loader takes node's fetch for a browser's: without it, it reads the file.
    web) node --no-experimental-fetch "$web/velko-sim.js" "$work/game" "$@" --trace "$trace" ;;
  esac >/dev/null 2>"$work/$name.$build.err" ||
    fail "$name on $build: $(tail -c 600 "$work/$name.$build.err")"
}

# compare NAME: the three traces are one.
compare() {
  local lines
  lines=$(($(wc -l <"$work/$1.native.csv") - 1))
  ((lines > 0)) || fail "$1: the native trace has no frame"
  for build in windows web; do
    cmp -s "$work/$1.native.csv" "$work/$1.$build.csv" ||
      fail "$1: the $build trace differs from the native one at line $(cmp "$work/$1.native.csv" "$work/$1.$build.csv" | awk '{ print $NF }')"
  done
  echo "cross-build replays: $1: $lines frames, the same on all three builds"
}

for keys in "$here"/../e2e/*.keys; do
  name="$(basename "$keys" .keys)"
  frames=120
  [[ "$name" == lap ]] && frames=1210
  for build in native windows web; do run "$name" "$build" --keys "$keys" --frames "$frames"; done
  compare "$name"
done

# The kept demos, and those the end-to-end runs of each build recorded in this run (the real
# game on Linux, velko.exe under Wine, the web page in Chromium).
shopt -s nullglob
for demo in "$here"/../demos/*.vdm "$native"/e2e-demos/*.vdm "$windows"/e2e-demos/*.vdm \
  "$web"/e2e-demos/*.vdm; do
  name="demo-$(basename "$(dirname "$demo")")-$(basename "$demo" .vdm)"
  for build in native windows web; do run "$name" "$build" --demo "$demo"; done
  compare "$name"
done
echo "cross-build replays: PASS"
