#!/usr/bin/env bash
# Captures the main window's desktop alert and its notification icon's menu for review: runs the
# main window test program's screenshot case and saves a picture of the X display as PNG at each
# step.
# usage: main_window_screenshot.sh WINE_RUN TEST_PROGRAM OUTPUT_DIR
set -euo pipefail
wine_run=$1 program=$2 out=$3
grab=$(dirname "$0")/../../../scripts/grab-display
[ -n "${TARVOCK_DISPLAY:-}" ] || { echo "screenshot: no TARVOCK_DISPLAY"; exit 1; }
mkdir -p "$out"
ready=$(mktemp -u) done=$(mktemp -u) menu_ready=$(mktemp -u) menu_done=$(mktemp -u)
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
export TARVOCK_SCREENSHOT_READY=$(winpath "$ready") TARVOCK_SCREENSHOT_DONE=$(winpath "$done")
export TARVOCK_SCREENSHOT_MENU_READY=$(winpath "$menu_ready") TARVOCK_SCREENSHOT_MENU_DONE=$(winpath "$menu_done")
"$wine_run" "$program" --gtest_also_run_disabled_tests --gtest_filter=MainWindowScreenshot.* </dev/null &
pid=$!
status=0
capture() {  # marker, picture
  for _ in $(seq 1 300); do [ -e "$1" ] && break; sleep 0.1; done
  if [ -e "$1" ]; then
    "$grab" "$TARVOCK_DISPLAY" "$out/$2" || status=1
  else
    echo "screenshot: $2 did not come up"; status=1
  fi
}
capture "$ready" main_window_alert.png
touch "$done"
capture "$menu_ready" main_window_tray_menu.png
touch "$menu_done"
wait $pid || status=1
rm -f "$ready" "$done" "$menu_ready" "$menu_done"
[ $status = 0 ] && [ -s "$out/main_window_alert.png" ] && [ -s "$out/main_window_tray_menu.png" ] &&
  echo "screenshot: $out/main_window_alert.png $out/main_window_tray_menu.png"
exit $status
