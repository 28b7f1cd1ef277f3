# Shared by the window tests (sourced): a work folder cleaned up at exit, a
# virtual X display, the program started beside its own settings file, its
# window found once it is stable, and shots of it.
#
# Every step waits for its effect with a generous bound, since test machines
# are often loaded. QELVAR_TEST_LOAD=N in the environment runs N busy loops
# beside the test to check just that.

# Exits 77 (skipped) unless every tool named is installed.
require_tools() {
  local tool
  for tool in "$@"; do
    if ! command -v "$tool" >/dev/null; then
      echo "SKIP: $tool is not installed"
      exit 77
    fi
  done
}

work=$(mktemp -d)
xvfb_pid=
app_pid=
load_pids=()
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  for pid in "${load_pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq "${QELVAR_TEST_LOAD:-0}"); do
  (while :; do :; done) &
  load_pids+=($!)
done

# Generous bound for each effect awaited, in seconds.
patience=60

fail() {
  echo "FAIL: $*"
  [ -f "$work/qelvar.log" ] && sed 's/^/  qelvar: /' "$work/qelvar.log"
  exit 1
}

# start_xvfb WIDTHxHEIGHT: Xvfb picks a free display itself and writes its
# number to fd 3.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq $((patience * 10))); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# start_qelvar QELVAR: a copy of the program run in the work folder, so that
# its settings file is the one there (or a fresh one).
start_qelvar() {
  cp "$1" "$work/qelvar"
  (cd "$work" && exec ./qelvar >"$work/qelvar.log" 2>&1) &
  app_pid=$!
}

# Sets `window`. The window may be created more than once while the renderer
# is set up: the one to drive is the visible window still found a moment later.
find_window() {
  timeout "$patience" xdotool search --sync --onlyvisible --name '^qelvar' 2>/dev/null | tail -n1
}
await_window() {
  window=
  local first again
  for _ in $(seq "$patience"); do
    first=$(find_window)
    sleep 0.5
    again=$(find_window)
    if [ -n "$first" ] && [ "$first" = "$again" ]; then
      window=$first
      return
    fi
    kill -0 "$app_pid" 2>/dev/null || break
  done
  fail "no window named qelvar appeared"
}

# shoot FILE.png: the window's picture.
shoot() {
  xwd -silent -id "$window" >"$work/shot.xwd" 2>/dev/null &&
    convert "xwd:$work/shot.xwd" -depth 8 "$1" 2>/dev/null
}
