#!/usr/bin/env bash
# Shows the big screen on the real program under Xvfb with a match in
# progress and saves it, once per screen size. The driver plays the first
# visits into the match log (names, a 301 game); the program resumes that
# match, two darts are clicked on the board (the single 20 and the bull, so
# the visit, the finish and the averages show), the big screen is opened
# from the View menu by its access keys and put full screen with F11 on the
# scoreboard, which keeps the keyboard.
#   tools/bigscreen-screenshot.sh [BUILD_DIR] [SCREENSHOT_PREFIX]
# writes PREFIX-1280x720.png and PREFIX-1920x1080.png, and the same with
# "-bust" once a third dart has bust the visit (PREFIX defaults to
# /tmp/bigscreen). Needs Xvfb and xdotool.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
prefix=${2:-/tmp/bigscreen}

shoot() {
    local width=$1 height=$2
    local home display xvfb app
    home=$(mktemp -d)
    display=:$((70 + RANDOM % 19))
    cp "$build/vantrell2" "$home/"
    "$build/vantrell-sim" --home "$home" >/dev/null 2>&1 <<'CMDS'
options 1
set name1 Annabel Lowe
set name2 Bob Maximilian-Oberhausen
set start 301
ok
throw T20
throw T20
throw T20
throw 20
throw 19
throw T19
CMDS
    Xvfb "$display" -screen 0 "${width}x${height}x24" >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
    (cd "$home" && DISPLAY=$display VANTRELL_SCREENSHOT=$home/screen.png exec ./vantrell2 >/dev/null 2>&1) &
    app=$!
    sleep 4
    # The match the driver left: "Resume" (the default button).
    DISPLAY=$display xdotool key Return
    sleep 1
    # The board stands centred in the scoreboard's client area, below a menu
    # bar of about 24 pixels; its side is set by the client area's height
    # (the double ring reaches its lower edge), and the bull lies half a side
    # less 8 pixels below the area's top.
    local client=$((height - 24))
    local side=$(((client + 8) * 10000 / 8466))
    if ((side > width - 267)); then side=$((width - 267)); fi
    local bull_x=$((width / 2)) bull_y=$((24 + side / 2 - 8))
    local radius=$((side * 3466 / 10000))
    click() { DISPLAY=$display xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
    click "$bull_x" $((bull_y - radius * 8 / 10))   # the single 20
    click "$bull_x" "$bull_y"                       # the bull
    DISPLAY=$display xdotool key alt+v
    sleep 0.5
    DISPLAY=$display xdotool key b
    sleep 1.5
    DISPLAY=$display xdotool key F11
    sleep 2.5
    cp "$home/screen.png" "$prefix-${width}x${height}.png"
    echo "screenshot: $prefix-${width}x${height}.png"
    # The third dart: treble 20 on 51 left is a bust. The big screen leaves
    # full screen and is moved off the board for the click, then F11 again.
    DISPLAY=$display xdotool key F11
    sleep 0.5
    DISPLAY=$display xdotool search --name 'Big Screen$' windowmove 0 $((height - 40))
    sleep 0.5
    click "$bull_x" $((bull_y - radius * 61 / 100))
    DISPLAY=$display xdotool key F11
    sleep 2.5
    cp "$home/screen.png" "$prefix-${width}x${height}-bust.png"
    echo "screenshot: $prefix-${width}x${height}-bust.png"
    kill "$app" "$xvfb" 2>/dev/null || true
    wait "$app" "$xvfb" 2>/dev/null || true
    rm -rf "$home"
}

shoot 1280 720
shoot 1920 1080
