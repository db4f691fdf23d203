#!/usr/bin/env bash
# Looks at the overlay as a user would: Xvfb with a compositor, the overlay
# over a patterned desktop, a screenshot of the root window.
#   tools/overlay-shot/shot.sh [out.png]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$PWD/overlay-shot.png}
build=${OVERLAY_SHOT_BUILD:-/tmp/overlay-shot-build}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 >/dev/null

display=:77
Xvfb $display -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display xcompmgr >/dev/null 2>&1 &
compositor=$!
trap 'kill $compositor $xvfb 2>/dev/null || true' EXIT
sleep 0.5
DISPLAY=$display QT_QPA_PLATFORM=xcb "$build/overlay_shot" 5 &
program=$!
sleep 3
DISPLAY=$display import -window root "$out"
wait $program
echo "$out"
