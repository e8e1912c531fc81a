#!/usr/bin/env bash
# Runs a Windows program under Wine on a virtual X display of its own:
#   wine_xvfb.sh PROGRAM [ARGS...]
# in the Wine prefix named by WINEPREFIX, whose Wine server is stopped afterwards, so that the
# next display starts with a fresh one. Exit 77 (skipped) when Xvfb or Wine is missing.
set -uo pipefail
for tool in xvfb-run wine wineserver; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "wine_xvfb: $tool is not installed: skipped" >&2
    exit 77
  fi
done
timeout -k 5 240 xvfb-run -a -s "-screen 0 1280x1024x24" wine "$@"
status=$?
wineserver -k 2>/dev/null
exit $status
