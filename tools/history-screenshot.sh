#!/usr/bin/env bash
# Plays two short matches through the driver, then opens Statistics, Match
# History on the real program and leaves screenshots of the list and of the
# first match's pages.
#   tools/history-screenshot.sh [BUILD_DIR] [SCREENSHOT_PREFIX]
# Needs Xvfb and xdotool. The screen is 1024 x 768; the clicks below are the
# menu's and the window's places on it.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
prefix=${2:-$PWD/hist}
home=$(mktemp -d)
display=:$((90 + RANDOM % 9))
cp "$build/vantrell2" "$home/"
"$build/vantrell-sim" --home "$home" >/dev/null 2>&1 <<'CMDS'
clock 2026-12-01T19:30:00
options 1
set name1 Ann
set name2 Bob
set start 101
set legs 2
set sets 1
ok
throw T20
throw 1
throw D20
throw T20
throw 19
throw 2
throw T17
throw 50
winnerok
newgame
clock 2026-12-05T20:10:00
throw T20
throw T20
throw 5
throw 25
throw 20
CMDS
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
sleep 1
(cd "$home" && DISPLAY=$display VANTRELL_SCREENSHOT=$home/screen.png ./vantrell2 >/dev/null 2>&1) &
app=$!
sleep 4
click() { DISPLAY=$display xdotool mousemove "$1" "$2" click 1; sleep 1.5; }
# The second match was left unfinished: "Resume" (the default button).
DISPLAY=$display xdotool key Return
sleep 1
click 133 8      # Statistics
click 175 121    # Match History...
cp "$home/screen.png" "$prefix-list.png"
click 100 45     # the older match
click 44 384     # Open
cp "$home/screen.png" "$prefix-pages.png"
echo "screenshots: $prefix-list.png $prefix-pages.png"
