#!/usr/bin/env bash
# One copy of the program at a time, checked from outside under X: a second copy started while
# the first runs shows nothing, exits with 0 at once and brings the first copy's window to the
# front (above another window, with the keyboard focus) and ends the startup notification the
# launcher began for it (its DESKTOP_STARTUP_ID lands on the first copy's window); after the first
# copy is killed, a new start is not blocked by anything it left behind.
#
# Usage: single_instance_test.sh PATH/TO/verselane
# Like the window smoke test it runs on an X server of its own, without a window manager.
set -euo pipefail

readonly START_TIMEOUT=20
readonly SECOND_COPY_TIMEOUT=10

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../e2e/e2e_lib.sh"
readonly STARTUP_ID="launcher-4-test-host-verselane-0_TIME0"

take_program_argument "$@" Xvfb xdotool xwininfo xmessage xprop
make_scratch_work
on_failure 'for log in "$work"/*.log; do show_output "$log" "$(basename "$log")"; done'
pids=()
on_exit 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done'
start_private_x
use_private_home
cd "$work"

# Starts a copy in the background and waits for its main window, answering the notices of a
# first start; prints the window.
start_first_copy() {
  "$program" >"$work/first-$1.log" 2>&1 &
  pids+=($!)
  first=$!
  local deadline=$((SECONDS + START_TIMEOUT)) window=
  while [ $SECONDS -lt $deadline ] && [ -z "$window" ]; do
    window=$(xdotool search --onlyvisible --name "^${MAIN_TITLE}\$" 2>/dev/null | head -n 1) || true
    for notice in $(xdotool search --onlyvisible --name '^Notice$' 2>/dev/null); do
      xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    done
    [ -n "$window" ] || sleep 0.2
  done
  [ -n "$window" ] || fail "the first copy showed no window within ${START_TIMEOUT} s"
  main_window=$window
}

# The children of the root window, top-most first.
stacking() { xwininfo -root -children | sed -n 's/^ *\(0x[0-9a-f]*\) .*/\1/p'; }
position_of() { stacking | grep -n -x "$(printf '0x%x' "$1")" | cut -d: -f1; }

start_first_copy 1

# Another program's window over it, with the focus.
xmessage -geometry 700x500+200+200 "a window on top" &
pids+=($!)
cover=$(timeout 10 xdotool search --sync --onlyvisible --class Xmessage | head -n 1)
xdotool windowfocus --sync "$cover"
(( $(position_of "$cover") < $(position_of "$main_window") )) ||
  fail "the covering window did not come on top"

# The second copy.
started=$SECONDS
status=0
DESKTOP_STARTUP_ID=$STARTUP_ID timeout "$SECOND_COPY_TIMEOUT" "$program" >"$work/second.log" 2>&1 ||
  status=$?
(( status == 0 )) || fail "the second copy exited with $status, not 0"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
windows=$(xdotool search --onlyvisible --class Marrowfen | wc -l)
(( windows == 1 )) || fail "expected one visible window of class Marrowfen, found $windows"

deadline=$((SECONDS + 5))
until (( $(position_of "$main_window") < $(position_of "$cover") )); do
  [ $SECONDS -lt $deadline ] || fail "the first copy's window did not come to the front"
  sleep 0.1
done
focus=$(xdotool getwindowfocus)
[ "$(xdotool getwindowname "$focus")" = "$MAIN_TITLE" ] ||
  fail "the keyboard focus is on \"$(xdotool getwindowname "$focus")\", not the first copy"
startup_id=$(xprop -id "$main_window" _NET_STARTUP_ID)
[ "$startup_id" = "_NET_STARTUP_ID(UTF8_STRING) = \"$STARTUP_ID\"" ] ||
  fail "the second copy's startup id did not reach the first copy's window: $startup_id"
echo "second copy: exited 0 after $((SECONDS - started)) s, first copy brought forward"

# A copy that crashed leaves its lock and socket files behind; they must not block a new start.
kill -KILL "$first"
wait "$first" 2>/dev/null || true
start_first_copy 2
echo "single instance test passed"
