#!/usr/bin/env bash
# Runs the built program under a real X server (tools/with-xvfb provides one): finds its
# window by title, starts and stops the search with real mouse presses, and leaves through
# File > Exit.
set -euo pipefail
program=$(realpath "$1")

fail() { echo "smoke test: $*" >&2; exit 1; }

app=""
workdir=$(mktemp -d)
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  rm -rf "$workdir"
}
trap cleanup EXIT
[ -n "${DISPLAY:-}" ] || fail "no X display; run this under tools/with-xvfb"
unset QT_QPA_PLATFORM
xdpyinfo >/dev/null 2>&1 || fail "cannot reach the X display $DISPLAY"

# Polls a condition for up to $1 seconds: under a sanitizer on a loaded machine the program
# can take seconds to start or to handle an event, so no fixed pause is trusted.
within() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

cd "$workdir"
"$program" &
app=$!
wid=""
find_window() { wid=$(xdotool search --name '^Puzzle Solver$' 2>/dev/null | head -n 1 || true); [ -n "$wid" ]; }
within 60 find_window || fail "no window titled 'Puzzle Solver'"
sleep 0.5

picture() { xwd -id "$wid" -silent | md5sum; }
window_changes() { local first; first=$(picture); sleep 0.3; [ "$first" != "$(picture)" ]; }
window_still() { ! window_changes; }
menu_open() { [ "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)" -ge 2 ]; }
program_gone() { ! kill -0 "$app" 2>/dev/null; }

xdotool mousemove --window "$wid" 300 250 click 1 # left button: start the search
within 20 window_changes || fail "the window did not change while the search should run"

xdotool click 1 # left button again: stop
within 20 window_still || fail "the window still changes after the search was stopped"

xdotool mousemove --window "$wid" 20 10 click 1 # open File
within 20 menu_open || fail "the File menu did not open"
xdotool key x # E&xit
within 20 program_gone || fail "the program did not exit through File > Exit"
status=0
wait "$app" || status=$?
app=""
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "smoke test passed"
