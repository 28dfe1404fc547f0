#!/usr/bin/env bash
# Plays one ten-dart leg on the real program with mouse clicks, as a person
# would, and leaves a screenshot of the scoreboard at the end.
#   tools/play-leg-xdotool.sh [BUILD_DIR] [SCREENSHOT.png]
# Needs Xvfb and xdotool (Debian packages xvfb, xdotool). The screen is
# 1024 x 768, where the board is 11360 twips square at left 2000: the
# click positions below are the beds' centres on that layout.
set -euo pipefail
build=${1:-build}
shot=${2:-$PWD/leg.png}
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
(cd "$build" && DISPLAY=$display VANTRELL_SCREENSHOT=$shot ./vantrell2 >/dev/null 2>&1) &
app=$!
sleep 3
click() { DISPLAY=$display xdotool mousemove "$1" "$2" click 1; sleep 0.15; }
T20="514 235"; MISS="514 760"; BULL="514 390"; OUTER_BULL="514 373"; D3="514 642"
misses() { click $MISS; click $MISS; click $MISS; }
click $T20; click $T20; click $T20; misses       # 180, 321 left
click $T20; click $T20; click $T20; misses       # 180, 141 left
click $T20; click $OUTER_BULL; click $D3; misses # 91, 50 left
click $BULL                                      # game shot on the bull
sleep 2
echo "screenshot: $shot"
