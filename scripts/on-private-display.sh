#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own and ends the display after it, with the
# command's status: for window tests that need a real window system (Qt's windows platform under
# Wine), beside others that run offscreen.
#   scripts/on-private-display.sh COMMAND [ARGUMENT...]
set -euo pipefail
display_file="$(mktemp)"
exec 5>"$display_file"
# -displayfd names a free display.
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "on-private-display: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$display_file")"
unset WAYLAND_DISPLAY
status=0
"$@" || status=$?
exit "$status"
