#!/usr/bin/env bash
# Draws one test bar with each theme painter into a bitmap and keeps it as PNG with the other
# screenshots for review.
# usage: painters_screenshot.sh WINE_RUN TEST_PROGRAM OUTPUT_DIR
set -euo pipefail
wine_run=$1 program=$2 out=$3
mkdir -p "$out"
bmp=$(mktemp --suffix=.bmp)
trap 'rm -f "$bmp"' EXIT
export TARVOCK_SCREENSHOT_BMP="Z:${bmp//\//\\}"
"$wine_run" "$program" --gtest_also_run_disabled_tests --gtest_filter=Screenshot.* </dev/null
convert "bmp:$bmp" "$out/painters.png"
[ -s "$out/painters.png" ] && echo "screenshot: $out/painters.png"
