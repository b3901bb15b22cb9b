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

cd "$workdir"
"$program" &
app=$!
wid=""
for _ in $(seq 100); do
  wid=$(xdotool search --name '^Puzzle Solver$' 2>/dev/null | head -n 1 || true)
  [ -n "$wid" ] && break
  sleep 0.1
done
[ -n "$wid" ] || fail "no window titled 'Puzzle Solver'"
sleep 0.5

picture() { xwd -id "$wid" -silent | md5sum; }

xdotool mousemove --window "$wid" 300 250 click 1 # left button: start the search
sleep 0.5
first=$(picture); sleep 0.3; second=$(picture)
[ "$first" != "$second" ] || fail "the window did not change while the search should run"

xdotool click 1 # left button again: stop
sleep 0.3
first=$(picture); sleep 0.3; second=$(picture)
[ "$first" = "$second" ] || fail "the window still changes after the search was stopped"

xdotool mousemove --window "$wid" 20 10 click 1 # open File
sleep 0.5
xdotool key x # E&xit
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not exit through File > Exit"
status=0
wait "$app" || status=$?
app=""
[ "$status" -eq 0 ] || fail "the program exited with status $status"
echo "smoke test passed"
