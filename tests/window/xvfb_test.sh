#!/usr/bin/env bash
# The real windowed program on a virtual X display: its window shows the
# sample scene (pyramid and ground grid), X errors do not end it, arrow keys
# turn the view, a click opens a menu, and the window's close request ends the
# process.
#
#   xvfb_test.sh QELVAR X11_CLOSE_WINDOW X11_ERROR_PROBE
# Exit 0 pass, 1 fail, 77 skipped (the X tools are not installed).
# QELVAR_TEST_LOAD=N runs it beside N busy loops (see xvfb_session.sh).
set -u

qelvar=$1
close_window=$2
error_probe=$3

. "$(dirname "$0")/xvfb_session.sh"
require_tools Xvfb xdotool xwd convert compare
start_xvfb 1024x768

# An X error (a request about a window already destroyed) must not end the program.
"$error_probe" >"$work/probe.log" 2>&1 || fail "an X error ended the program: $(cat "$work/probe.log")"

# The program beside its own fresh settings file: mode 19 (800 x 600), 32 bits.
start_qelvar "$qelvar"
await_window
[ -f "$work/QELVAR.INI" ] || fail "QELVAR.INI was not created beside the program"

# Counts pixels of the window's picture: grid yellow, grid cyan, blue-ish, lit.
count_colours() {
  convert "$1" -depth 8 txt:- | awk '
    NR > 1 {
      s = $0
      sub(/^[^(]*\(/, "", s)
      sub(/\).*/, "", s)
      split(s, c, ",")
      r = c[1] + 0; g = c[2] + 0; b = c[3] + 0
      if (r > 200 && g > 200 && b < 80) yellow++
      if (r < 80 && g > 200 && b > 200) cyan++
      if (b > r + 60 && b > g + 60) blue++
      if (r + g + b > 30) lit++
    }
    END { printf "%d %d %d %d\n", yellow, cyan, blue, lit }'
}

scene_ok=
for _ in $(seq $((patience * 2))); do
  if shoot "$work/before.png"; then
    read -r yellow cyan blue lit < <(count_colours "$work/before.png")
    if [ "${yellow:-0}" -ge 50 ] && [ "${cyan:-0}" -ge 50 ] && [ "${blue:-0}" -ge 200 ]; then
      scene_ok=1
      break
    fi
  fi
  sleep 0.5
done
[ -n "$scene_ok" ] || fail "scene not drawn (yellow ${yellow:-?}, cyan ${cyan:-?}, blue ${blue:-?}, lit ${lit:-?})"
echo "scene: yellow $yellow, cyan $cyan, blue $blue, lit $lit pixels"

# Turn the view with the arrow keys; the picture must change.
# The drawn scene shows the window is the program's own, mapped and in use.
timeout "$patience" xdotool windowfocus --sync "$window" 2>/dev/null || fail "cannot focus the window"
xdotool key --delay 60 Right Right Right Right Right Right Right Right
changed=0
for _ in $(seq $((patience * 3))); do
  sleep 0.3
  shoot "$work/after.png" || continue
  changed=$(compare -metric AE "$work/before.png" "$work/after.png" null: 2>&1 | cut -d' ' -f1)
  [ "${changed%.*}" -ge 500 ] 2>/dev/null && break
done
[ "${changed%.*}" -ge 500 ] 2>/dev/null || fail "the arrow keys did not change the picture ($changed pixels)"
echo "after the keys: $changed pixels changed"

# A quick click on "File" in the menu bar (row 2) opens the File menu below it.
cp "$work/after.png" "$work/before_click.png"
xdotool mousemove --window "$window" 40 22 click 1
opened=0
for _ in $(seq $((patience * 3))); do
  sleep 0.3
  shoot "$work/menu.png" || continue
  opened=$(compare -metric AE "$work/before_click.png" "$work/menu.png" null: 2>&1 | cut -d' ' -f1)
  [ "${opened%.*}" -ge 2000 ] 2>/dev/null && break
done
[ "${opened%.*}" -ge 2000 ] 2>/dev/null || fail "a click on File did not open its menu ($opened pixels)"
echo "after the click: $opened pixels changed"

# The close request, as a window manager sends it, must end the program.
"$close_window" "$window" || fail "could not send the close request"
for _ in $(seq $((patience * 10))); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  fail "the program was still running $patience seconds after the close request"
fi
wait "$app_pid"
status=$?
app_pid=
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "PASS: the close request ended the program"
