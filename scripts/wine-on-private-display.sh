#!/usr/bin/env bash
# Runs a Windows program under Wine on a private Xvfb display of its own and ends the display
# after it, with the program's status: for window tests that need a real window system (Qt's
# windows platform), beside others that run offscreen with no display at all.
#   scripts/wine-on-private-display.sh WINE PROGRAM [ARGUMENT...]
# Wine takes its display when the prefix's server starts, so a server still running from the
# programs before (without a display) is waited for, or ended, first.
set -euo pipefail
wine=$1
shift
wineserver="$(dirname "$wine")/wineserver"
timeout 30 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null || true
display_file="$(mktemp)"
exec 5>"$display_file"
# -displayfd names a free display.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap '"$wineserver" -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "wine-on-private-display: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"
unset WAYLAND_DISPLAY
status=0
"$wine" "$@" || status=$?
exit "$status"
