#!/usr/bin/env bash
# Captures windows of the program for review: runs a test program's screenshot case and saves a
# picture of the X display as PNG. The case may name screen rectangles in its ready marker (one
# "left top right bottom" a line): each must show something drawn in the picture, more than one
# flat colour (a window that never reached the display is one colour, black or its background).
# usage: screenshot.sh WINE_RUN TEST_PROGRAM OUTPUT_DIR [PICTURE_NAME [TEST_FILTER]]
set -euo pipefail
wine_run=$1 program=$2 out=$3 picture=${4:-frame_and_dialog.png} filter=${5:-Screenshot.*}
grab=$(dirname "$0")/../../../scripts/grab-display
[ -n "${TARVOCK_DISPLAY:-}" ] || { echo "screenshot: no TARVOCK_DISPLAY"; exit 1; }
mkdir -p "$out"
ready=$(mktemp -u) done=$(mktemp -u)
export TARVOCK_SCREENSHOT_READY="Z:${ready//\//\\}" TARVOCK_SCREENSHOT_DONE="Z:${done//\//\\}"
"$wine_run" "$program" --gtest_also_run_disabled_tests --gtest_filter="$filter" </dev/null &
pid=$!
for _ in $(seq 1 300); do [ -e "$ready" ] && break; sleep 0.1; done
status=0
if [ -e "$ready" ]; then
  if "$grab" "$TARVOCK_DISPLAY" "$out/$picture"; then
    while read -r left top right bottom; do
      [ -n "$left" ] || continue
      colours=$(convert "$out/$picture" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage -format %k info:)
      if [ "$colours" -lt 4 ]; then
        echo "screenshot: ($left,$top)-($right,$bottom) shows $colours colour(s) in $out/$picture"; status=1
      fi
    done < <(tr -d '\r' <"$ready")
  else
    status=1
  fi
else
  echo "screenshot: the windows did not come up"; status=1
fi
touch "$done"
wait $pid || status=1
rm -f "$ready" "$done"
[ $status = 0 ] && [ -s "$out/$picture" ] && echo "screenshot: $out/$picture"
exit $status
