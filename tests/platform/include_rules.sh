#!/usr/bin/env bash
# The layers' include rules, checked over the whole tree:
# - the game, the data readers and the services include no platform backend;
# - the services never include the game;
# - the platform interface (src/platform/*.h, *.cpp) includes no service and no game;
# - a backend never includes another backend;
# - SDL, Win32 and Emscripten headers stay inside their own backend (and its tests).
set -euo pipefail
cd "$1"

backends=$(find src/platform -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | sort)
failures=0

# Lists the files under $1 (a path or a find pattern) whose #include lines match $2.
including() {
  local pattern="$2"
  shift 2
  grep -rlE --include='*.h' --include='*.cpp' "^\s*#\s*include\s*[<\"]($pattern)" "$@" \
    2>/dev/null || true
}

report() {
  local rule="$1" offenders="$2"
  if [ -n "$offenders" ]; then
    echo "FAIL: $rule:"
    echo "$offenders" | sed 's/^/  /'
    failures=$((failures + 1))
  else
    echo "ok: $rule"
  fi
}

backend_pattern=$(echo "$backends" | sed 's|^|platform/|; s|$|/|' | paste -sd'|')
report "game, data and services include no backend" \
  "$(including x "$backend_pattern" src/game src/data src/services)"
report "services never include the game" "$(including x 'game/' src/services)"
report "the platform interface includes no service and no game" \
  "$(find src/platform -maxdepth 1 -type f \( -name '*.h' -o -name '*.cpp' \) \
      -exec grep -lE '^\s*#\s*include\s*["<](services|game|data)/' {} + 2>/dev/null || true)"

for backend in $backends; do
  others=$(echo "$backends" | grep -vx "$backend" | sed 's|^|platform/|; s|$|/|' | paste -sd'|')
  [ -n "$others" ] || continue
  report "backend $backend includes no other backend" \
    "$(including x "$others" "src/platform/$backend")"
done

# System headers of one backend, and the folders allowed to include them.
check_system() {
  local name="$1" pattern="$2" allowed="$3"
  report "$name headers only in $allowed" \
    "$(including x "$pattern" src tools bench tests | grep -vE "^($allowed)" || true)"
}
check_system SDL 'SDL' 'src/platform/sdl/|tests/sdl/'
check_system Win32 'windows\.h|mmsystem\.h|winuser\.h' 'src/platform/win32/|tests/win32/'
check_system Emscripten 'emscripten' 'src/platform/web/|tests/web/'

if [ "$failures" -ne 0 ]; then
  echo "$failures include rule(s) broken"
  exit 1
fi
echo "all include rules hold"
