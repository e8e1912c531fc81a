#!/usr/bin/env bash
# The game's command line, case by case: what it prints where, and its exit code. The cases
# that start the game are left to the end-to-end tests.
set -uo pipefail
velko="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# check ARGUMENTS EXIT STDOUT_PATTERN STDERR_PATTERN ('-' for empty)
check() {
  local arguments="$1" want_status="$2" want_out="$3" want_err="$4" status=0
  # shellcheck disable=SC2086
  timeout 10 "$velko" $arguments >"$work/out" 2>"$work/err" || status=$?
  local ok=1
  [[ "$status" == "$want_status" ]] || ok=0
  if [[ "$want_out" == - ]]; then [[ ! -s "$work/out" ]] || ok=0; else grep -qE "$want_out" "$work/out" || ok=0; fi
  if [[ "$want_err" == - ]]; then [[ ! -s "$work/err" ]] || ok=0; else grep -qE "$want_err" "$work/err" || ok=0; fi
  if ((ok)); then
    echo "ok: velko $arguments"
  else
    echo "FAIL: velko $arguments: exit $status, stdout: $(head -c 200 "$work/out"), stderr: $(head -c 200 "$work/err")"
    failures=$((failures + 1))
  fi
}

check "--help" 0 '^Utilisation : velko \[--help \| --version\]' -
check "--help" 0 'velko \[--level DOSSIER\] \[--record DEMO \| --play DEMO\]' -
check "--help" 0 'circuit livré avec le jeu' -
check "--help" 0 'F12 +capture d.écran' -
check "--version" 0 '^Velko 0\.5$' -
check "--bogus" 2 - '^Utilisation : velko'
check "-h" 2 - '^Utilisation : velko'
check "--help --version" 2 - '^Utilisation : velko'
check "level.map" 2 - '^Utilisation : velko'
check "--level" 2 - '^Utilisation : velko'
check "--level /no/such/folder" 2 - '^velko: --level /no/such/folder : aucun dossier de ce nom'
check "--record a.vdm --play b.vdm" 2 - '^velko: --record et --play ne vont pas ensemble'
check "--play" 2 - '^Utilisation : velko'
check "--play $work/nothing.vdm" 2 - 'Démo .*nothing.vdm : introuvable ou illisible'
[[ "$("$velko" --version)" == "Velko 0.5" ]] || { echo "FAIL: --version is not exactly one line"; failures=$((failures + 1)); }
exit $((failures > 0))
