#!/usr/bin/env bash
# Builds the libFuzzer targets of the files the game reads (car.bmp, choc.wav, screen.ini,
# level.map, the picture packages, demos) and of velko-level's import (Tiled maps with their tilesets
# and pictures) into build-fuzz/ and runs each for SECONDS (default 60),
# one after the other. Exits non-zero on any finding: a crash, a sanitizer report, a leak, an
# input taking more than 5 s, or more than 64 MiB of memory (256 MiB of RSS for import). Findings are left in
# build-fuzz/findings/<target>/; keep each under tests/fuzz/regressions/<target>/.
#
# Usage: bash scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then targets=(bmp wav settings levelmap package import demo); fi

bash scripts/install-deps.sh clang-14 libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build build-fuzz -j2 --target "${targets[@]/#/velko_fuzz_}"

# Seeds: the generated data files, written by the native asset generator.
[ -f build/CMakeCache.txt ] || cmake --preset native >/dev/null
cmake --build build -j2 --target velko-assetgen velko-sim >/dev/null
rm -rf build-fuzz/assets build-fuzz/seeds
mkdir -p build-fuzz/assets
build/velko-assetgen build-fuzz/assets

# Small hand-made cases, built from little-endian fields.
u16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
u32() { u16 $(($1 & 65535)) && u16 $(($1 >> 16 & 65535)); }
bytes() { printf '\\x%02x' "$@"; }
seed() { mkdir -p "build-fuzz/seeds/$1" && printf '%b' "$3" >"build-fuzz/seeds/$1/$2"; }

bmp() { # WIDTH HEIGHT BITS: a bottom-up picture of grey pixels
  local row=$((($1 * $3 + 31) / 32 * 4)) pixels
  pixels=$(for ((i = 0; i < row * $2; i++)); do bytes $((i * 37 & 255)); done)
  printf 'BM%s%s%s%s' "$(u32 $((54 + row * $2)))" "$(u32 0)" "$(u32 54)" "$(u32 40)"
  printf '%s%s%s%s' "$(u32 "$1")" "$(u32 "$2")" "$(u16 1)" "$(u16 "$3")"
  printf '%s%s' "$(for i in 1 2 3 4 5 6; do u32 0; done)" "$pixels"
}
for shape in "1 1 24" "3 2 24" "2 2 16" "1 1 32" "4 1 8"; do
  seed bmp "bmp-${shape// /-}" "$(bmp $shape)"
done

wav() { # TAG CHANNELS BITS FRAMES [EXTRA CHUNK]: a sound of rising samples
  local align=$(($2 * $3 / 8)) data
  data=$(for ((i = 0; i < $4 * align; i++)); do bytes $((i * 11 & 255)); done)
  printf 'RIFF%sWAVEfmt %s' "$(u32 $((36 + $4 * align)))" "$(u32 16)"
  printf '%s%s%s%s%s%s' "$(u16 "$1")" "$(u16 "$2")" "$(u32 22050)" "$(u32 $((22050 * align)))" \
    "$(u16 $align)" "$(u16 "$3")"
  printf '%sdata%s%s' "${5:-}" "$(u32 $(($4 * align)))" "$data"
}
seed wav pcm8-mono "$(wav 1 1 8 6)"
seed wav pcm16-stereo-list "$(wav 1 2 16 3 "LIST$(u32 3)abc")"
seed wav float32 "$(wav 3 1 32 2 "fact$(u32 4)$(u32 2)")"

seed settings game '[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\nAlternatives Colors = TRUE\r\n75hz = FALSE\r\n'
seed settings comments '; written by hand\n[other]\nMode=8\n[screenmode]\n  mode=16 \n;75hz = TRUE\n75HZ=TRUE'
seed settings no-group 'FullScreen = FALSE\r\n[ScreenMode\r\nMode = 32'

seed levelmap empty "$(u16 0)$(u16 0)$(bytes 0 0)$(u16 0)"
seed levelmap two-by-two "$(u16 2)$(u16 2)$(bytes 0 0)$(for t in 1 2 0 1; do u16 $t; u16 0; done)$(u16 3)$(bytes 0 1 2)"
seed levelmap negative "$(u16 65535)$(u16 3)$(bytes 0 0)$(u16 65535)"

seed package one-pixel "$(u16 1)$(u16 1)$(bytes 128 255 128)"
seed package two-by-three "$(u16 2)$(u16 3)$(for i in 1 2 3 4 5 6; do bytes $((i * 40)) 0 255; done)"
seed package empty "$(u16 0)$(u16 0)"

# Tiled maps in each encoding and format, with the files they name (python3 and zstd write them).
command -v python3 >/dev/null || bash scripts/install-deps.sh python3
command -v zstd >/dev/null || bash scripts/install-deps.sh zstd
python3 tests/fuzz/import_seeds.py build-fuzz/seeds/import

cp build-fuzz/assets/car.bmp build-fuzz/seeds/bmp/
cp build-fuzz/assets/choc.wav build-fuzz/seeds/wav/
cp build-fuzz/assets/level.map build-fuzz/seeds/levelmap/
cp build-fuzz/assets/level.bpb build-fuzz/assets/car.bpb build-fuzz/seeds/package/
# Demos: short drives recorded by velko-sim (into the wall, a bounce and a skid), and the kept
# ones.
mkdir -p build-fuzz/seeds/demo build-fuzz/assets/screenshots
for keys in tests/e2e/*.keys; do
  build/velko-sim build-fuzz/assets --keys "$keys" --frames 150 \
    --record "build-fuzz/seeds/demo/$(basename "$keys" .keys).vdm" >/dev/null
done
cp tests/demos/*.vdm build-fuzz/seeds/demo/ 2>/dev/null || true

# The shared BMP and WAV corpora, read where they lie (their licences stay with them).
shared=""
for candidate in ../shared/corpora; do
  if [ -d "$candidate" ]; then shared="$candidate" && break; fi
done
[ -n "$shared" ] || echo "fuzz: no shared corpora (../shared/corpora); seeding without them"

# Each input gets its own program directory on tmpfs, removed at the end.
workdir=$(mktemp -d /dev/shm/velko-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$workdir"' EXIT
export VELKO_FUZZ_TMP="$workdir"
# AddressSanitizer holds freed memory back to catch late uses; 2 MiB of it instead of 256
# leaves the 64 MiB cap to the game and libFuzzer.
export ASAN_OPTIONS=quarantine_size_mb=2:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

declare -A maxLength=([bmp]=131072 [wav]=65536 [settings]=4096 [levelmap]=16384 [package]=16384
  [import]=65536 [demo]=16384)
declare -A corpus=([bmp]=bmp [wav]=wav)
# The import target links XML, JSON, PNG and zstd readers: over a long run libFuzzer's own
# corpus and coverage tables take its RSS past 64 MiB. Any one allocation over 64 MiB is still
# a finding (-malloc_limit_mb).
declare -A rssLimit=([import]=256)
failed=()
for target in "${targets[@]}"; do
  dirs=("build-fuzz/corpus/$target" "build-fuzz/seeds/$target")
  [ -d "tests/fuzz/regressions/$target" ] && dirs+=("tests/fuzz/regressions/$target")
  [ -n "$shared" ] && [ -n "${corpus[$target]:-}" ] && [ -d "$shared/${corpus[$target]}" ] &&
    dirs+=("$shared/${corpus[$target]}")
  rm -rf "build-fuzz/findings/$target"
  mkdir -p "build-fuzz/corpus/$target" "build-fuzz/findings/$target"
  log="build-fuzz/$target.log"
  echo "fuzz: $target for ${seconds}s"
  status=0
  dictionary=()
  [ -f "tests/fuzz/$target.dict" ] && dictionary=(-dict="tests/fuzz/$target.dict")
  "build-fuzz/velko_fuzz_$target" "${dictionary[@]}" -max_total_time="$seconds" -timeout=5 -rss_limit_mb="${rssLimit[$target]:-64}" \
    -malloc_limit_mb=64 -max_len="${maxLength[$target]}" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/findings/$target/" "${dirs[@]}" >"$log" 2>&1 || status=$?
  grep -E '^#[0-9]+\s+DONE|^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
  if ((status != 0)) || [ -n "$(ls -A "build-fuzz/findings/$target")" ]; then
    echo "fuzz: $target FOUND something (exit $status); see $log and build-fuzz/findings/$target/"
    grep -E 'ERROR|SUMMARY|reader:' "$log" | head -5 || true
    failed+=("$target")
  fi
done

if ((${#failed[@]} > 0)); then
  echo "fuzz: findings in ${failed[*]}"
  exit 1
fi
echo "fuzz: no findings in ${targets[*]}"
