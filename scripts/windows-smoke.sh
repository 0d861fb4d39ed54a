#!/usr/bin/env bash
# Starts the packaged program as a Windows user does: unpacks the zip into a fresh folder and
# runs Vypisnik.exe from it under Wine, on a private Xvfb display of its own. Checks that the
# main window "Vypisnik" appears and "Seznamy" is made beside the executable, that Ctrl+F opens
# the search window "Výsledky hledání", that closing the main window (Alt+F4) writes its geometry
# to "settings.ini" beside the executable, and that the program ends with status 0. Leaves
# screenshots of the main window and of the search window beside the zip, to be looked at.
#   scripts/windows-smoke.sh build-windows/windows-package/Vypisnik-<version>-win64.zip
# Expects WINEPREFIX (scripts/windows.sh sets it).
set -euo pipefail
zip="$(realpath "$1")"
out="$(dirname "$zip")/smoke"
rm -rf "$out"
mkdir -p "$out"
(cd "$out" && cmake -E tar xf "$zip")
folder="$out/$(basename "$zip" .zip)"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
say() { echo "windows-smoke: $*"; }
fail() { say "FAILED: $*"; exit 1; }

# A display of our own: -displayfd names a free one.
exec 5> >(cat >"$out/display")
Xvfb -displayfd 5 -screen 0 1280x900x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
program=""
cleanup() {
    # A program still running belongs to the prefix's server, which ends it.
    [ -n "$program" ] && "${wine%/*}/wineserver" -k 2>/dev/null
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
[ -s "$out/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$out/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
# Wine takes the user's language from the environment, when the machine has the locale.
if locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf-\?8$'; then
    export LC_ALL=cs_CZ.UTF-8
fi

(cd "$folder" && exec "$wine" Vypisnik.exe) >"$out/program.log" 2>&1 &
program=$!
window="$(timeout 120 xdotool search --sync --onlyvisible --name '^Vypisnik$' | head -n 1)" ||
    fail "no main window titled \"Vypisnik\" within two minutes"
say "the main window is shown"
sleep 3 # the list tree is built and painted
[ -d "$folder/Seznamy" ] || fail "no folder \"Seznamy\" beside Vypisnik.exe"
import -window root "$out/main-window.png"

# The shortcuts reach the window through its tables: a click on the first group gives the list
# tree the focus, as a user's would.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool mousemove --window "$window" 70 59 click 1
sleep 1
xdotool key --clearmodifiers ctrl+f
search="$(timeout 30 xdotool search --sync --onlyvisible --name '^Výsledky hledání$' | head -n 1)" ||
    fail "Ctrl+F showed no search window"
say "Ctrl+F showed the search window"
sleep 1
import -window root "$out/search-window.png"

xdotool mousemove --window "$window" 70 79 click 1 # back to the main window's tree
sleep 1
xdotool key --clearmodifiers alt+F4
status=0
timeout 60 tail --pid="$program" -f /dev/null || fail "the program did not end after Alt+F4"
wait "$program" || status=$?
program=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
grep -q '^\[fLV\]' "$folder/settings.ini" 2>/dev/null ||
    fail "no window geometry in settings.ini beside Vypisnik.exe"
say "closed with status 0; settings.ini beside the executable:"
sed 's/^/    /' "$folder/settings.ini"
say "screenshots: $out/main-window.png, $out/search-window.png"
