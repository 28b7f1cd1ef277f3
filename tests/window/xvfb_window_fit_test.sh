#!/usr/bin/env bash
# The real windowed program on a virtual X display of 1700 x 1300 pixels:
# a mode larger than the display opens mode 19 (800 x 600) instead, shown
# twice as large; the window is then resized, the picture is fitted to it and
# centred, and clicks on the menu bar still open the menus they point at.
#
#   xvfb_window_fit_test.sh QELVAR
# Exit 0 pass, 1 fail, 77 skipped (the X tools are not installed).
set -u

qelvar=$1

. "$(dirname "$0")/xvfb_session.sh"
require_tools Xvfb xdotool xwd convert
start_xvfb 1700x1300

# A custom mode of 2000 x 1400 pixels: larger than the display.
printf 'mode = 20001400\r\ncdep = 32\r\nrdet = 1\r\n' >"$work/QELVAR.INI"
start_qelvar "$qelvar"
await_window

size() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  echo "${WIDTH}x${HEIGHT}"
}
[ "$(size)" = 1600x1200 ] || fail "the oversized mode opened a $(size) window, not mode 19 scaled by 2"
echo "oversized mode: a 1600x1200 window (mode 19 at factor 2)"

# The box around the pixels that differ between two shots: WxH+X+Y.
changed_box() {
  convert "$1" "$2" -compose difference -composite -threshold 0 -trim \
    -format '%wx%h%X%Y' info: 2>/dev/null
}
# Resizes the window, clicks window point (x, y) and expects the pixels that
# change to be the box WxH+X+Y, within 2 pixels per number.
click_opens() {
  local w=$1 h=$2 x=$3 y=$4 expected=$5
  xdotool windowsize "$window" "$w" "$h"
  sleep 1
  [ "$(size)" = "${w}x${h}" ] || fail "the window is $(size), not ${w}x${h}"
  shoot "$work/before.png" || fail "cannot take a shot"
  xdotool mousemove --window "$window" "$x" "$y" click 1
  local box=
  for _ in $(seq 20); do
    sleep 0.3
    shoot "$work/after.png" || continue
    box=$(changed_box "$work/before.png" "$work/after.png")
    [ -n "$box" ] && [ "$box" != "0x0+0+0" ] && break
  done
  echo "window ${w}x${h}, click at $x,$y: changed $box, expected $expected"
  awk -v got="$box" -v want="$expected" 'BEGIN {
    n = split(got, g, /[x+]/); split(want, e, /[x+]/)
    if (n != 4) exit 1
    for (i = 1; i <= 4; i++) if (g[i] - e[i] > 2 || e[i] - g[i] > 2) exit 1
  }' || fail "the click did not open the menu it points at"
}

# Factor 2 centred in 1700 x 1300: the picture starts at (50, 50). "  Edit  "
# at mode pixel (108, 24) opens the Edit menu, mode box 128x160+8+48; the
# next frame also erases the start-up message "Mode too large for this
# display" (31 cells of 8 pixels on row 23, mode box 248x16+0+352), so
# together the mode box 248x320+0+48 changes.
click_opens 1700 1300 266 98 496x640+50+146
# Shrunk to 600 x 450 at (0, 25): "  View  " at mode pixel (200, 24) opens
# the View menu in place of the Edit menu, mode box 128x240+8+64.
click_opens 600 500 150 43 96x180+6+73

kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=
echo "PASS: the window fits its picture to any size and maps the mouse back"
