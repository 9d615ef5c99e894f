#!/usr/bin/env bash
# Captures windows of the program for review: runs a test program's screenshot case and saves a
# picture of the X display as PNG.
# usage: screenshot.sh WINE_RUN TEST_PROGRAM OUTPUT_DIR [PICTURE_NAME]
set -euo pipefail
wine_run=$1 program=$2 out=$3 picture=${4:-frame_and_dialog.png}
grab=$(dirname "$0")/../../scripts/grab-display
[ -n "${TARVOCK_DISPLAY:-}" ] || { echo "screenshot: no TARVOCK_DISPLAY"; exit 1; }
mkdir -p "$out"
ready=$(mktemp -u) done=$(mktemp -u)
export TARVOCK_SCREENSHOT_READY="Z:${ready//\//\\}" TARVOCK_SCREENSHOT_DONE="Z:${done//\//\\}"
"$wine_run" "$program" --gtest_also_run_disabled_tests --gtest_filter=Screenshot.* </dev/null &
pid=$!
for _ in $(seq 1 300); do [ -e "$ready" ] && break; sleep 0.1; done
status=0
if [ -e "$ready" ]; then
  "$grab" "$TARVOCK_DISPLAY" "$out/$picture" || status=1
else
  echo "screenshot: the windows did not come up"; status=1
fi
touch "$done"
wait $pid || status=1
rm -f "$ready" "$done"
[ $status = 0 ] && [ -s "$out/$picture" ] && echo "screenshot: $out/$picture"
exit $status
