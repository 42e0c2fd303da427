#!/usr/bin/env bash
# Starts the desktop program and checks its main window as the X server sees it: one visible
# window of class "Marrowfen", owned by the started process, titled " Verselane", a client area of
# 400 x 150 under the menu bar, neither shrinkable nor growable, centred on the screen. Then ends
# the program. A first start finds neither env.ini nor record.dat and says so in a notice for each
# before the window shows; the test answers them with Enter, as a player would.
#
# Usage: window_smoke_test.sh PATH/TO/verselane
# It always runs on an X server of its own (it reruns itself under xvfb-run), without a window
# manager: one would put a frame around the window and place it itself, and a developer's desktop
# gets no window popping up.
set -euo pipefail

readonly WINDOW_CLASS="Marrowfen"
readonly EXPECTED_TITLE=" Verselane"
readonly EXPECTED_INSTANCE="verselane"
readonly CLIENT_WIDTH=400
readonly CLIENT_HEIGHT=150
# The GTK menu bar above the client area (25 pixels with the default theme).
readonly MENU_BAR_MIN=18
readonly MENU_BAR_MAX=40
readonly START_TIMEOUT=20

fail() {
  echo "window smoke test FAILED: $*" >&2
  if [ -n "${log:-}" ] && [ -s "$log" ]; then
    echo "--- the program's output ---" >&2
    cat "$log" >&2
  fi
  exit 1
}

[ $# -eq 1 ] || { echo "usage: $0 PATH/TO/verselane" >&2; exit 2; }
program=$(readlink -f "$1")
[ -x "$program" ] || fail "$1 is not an executable"

for tool in Xvfb xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (./test installs it)"
done
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../e2e/e2e_lib.sh"

# The program gets folders of its own, so it neither reads nor writes the player's files and
# does not meet another copy's single-instance lock.
work=$(mktemp -d)
log="$work/output.log"
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  [ -z "${xvfb_pid:-}" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_private_x
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"

cd "$work"
HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  XDG_RUNTIME_DIR="$work/runtime" "$program" >"$log" 2>&1 &
pid=$!

# The start-up notices come first, each a window of the same class titled "Notice".
window=
deadline=$((SECONDS + START_TIMEOUT))
answered=" "
while [ $SECONDS -lt $deadline ]; do
  window=$(xdotool search --onlyvisible --name "^${EXPECTED_TITLE}\$" \
    2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  kill -0 "$pid" 2>/dev/null || break
  for notice in $(xdotool search --onlyvisible --name "^Notice\$" \
      2>/dev/null); do
    xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    [[ "$answered" == *" $notice "* ]] || answered+="$notice "
  done
  sleep 0.2
done
if [ -z "$window" ]; then
  if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    pid=
    fail "the program ended (status $status) without showing a window of class $WINDOW_CLASS"
  fi
  fail "no visible window titled \"$EXPECTED_TITLE\" within ${START_TIMEOUT} s"
fi
notices=$(wc -w <<<"$answered")
(( notices == 2 )) || fail "expected the two first-start notices, answered $notices"

# Exactly one visible window: an unexpected message box or assertion dialog would be a second.
visible=$(xdotool search --onlyvisible --class "$WINDOW_CLASS" | wc -l)
[ "$visible" -eq 1 ] || fail "expected one visible $WINDOW_CLASS window, found $visible"

owner=$(xdotool getwindowpid "$window" 2>/dev/null) || owner="(none)"
[ "$owner" = "$pid" ] || fail "the $WINDOW_CLASS window belongs to process $owner, not to $pid"

props=$(xprop -id "$window" WM_CLASS _NET_WM_NAME WM_NORMAL_HINTS _MOTIF_WM_HINTS)
grep -qxF "WM_CLASS(STRING) = \"$EXPECTED_INSTANCE\", \"$WINDOW_CLASS\"" <<<"$props" ||
  fail "WM_CLASS is not \"$EXPECTED_INSTANCE\", \"$WINDOW_CLASS\": $(grep WM_CLASS <<<"$props")"
grep -qxF "_NET_WM_NAME(UTF8_STRING) = \"$EXPECTED_TITLE\"" <<<"$props" ||
  fail "the title is not \"$EXPECTED_TITLE\": $(grep _NET_WM_NAME <<<"$props")"

# Without a window manager the top-level X window is the frame's inside: the menu bar with the
# client area below it.
info=$(xwininfo -id "$window")
field() { sed -n "s/^ *$1: *\\(-\\{0,1\\}[0-9]*\\).*/\\1/p" <<<"$info"; }
width=$(field Width)
height=$(field Height)
x=$(field "Absolute upper-left X")
y=$(field "Absolute upper-left Y")
menu_bar=$((height - CLIENT_HEIGHT))
[[ "$width" = "$CLIENT_WIDTH" ]] && (( menu_bar >= MENU_BAR_MIN && menu_bar <= MENU_BAR_MAX )) ||
  fail "the window is ${width}x${height}, not ${CLIENT_WIDTH}x${CLIENT_HEIGHT} under a menu bar"

# A fixed size: minimum and maximum both pinned to the window's size.
grep -qF "program specified minimum size: $width by $height" <<<"$props" ||
  fail "the minimum size is not ${width}x${height}: $(grep -i minimum <<<"$props" || echo unset)"
grep -qF "program specified maximum size: $width by $height" <<<"$props" ||
  fail "the maximum size is not ${width}x${height}: $(grep -i maximum <<<"$props" || echo unset)"

# What a window manager may offer: move, minimise and close, but neither resize nor maximise
# (Motif hints: flags, functions, decorations, ...; function bits resize 0x2, move 0x4,
# minimise 0x8, maximise 0x10, close 0x20).
functions=$(sed -n 's/^_MOTIF_WM_HINTS([^)]*) = [^,]*, *\(0x[0-9a-f]*\),.*/\1/p' <<<"$props")
[ -n "$functions" ] || fail "the window sets no Motif window-manager hints"
(( (functions & 0x2c) == 0x2c && (functions & 0x12) == 0 )) ||
  fail "the window manager may do $functions (Motif functions), not move + minimise + close only"

# Centred on the screen (to the pixel, either way, for odd differences).
read -r screen_width screen_height < <(xdotool getdisplaygeometry)
want_x=$(( (screen_width - width) / 2 ))
want_y=$(( (screen_height - height) / 2 ))
(( x >= want_x - 1 && x <= want_x + 1 && y >= want_y - 1 && y <= want_y + 1 )) ||
  fail "the window is at $x,$y on a ${screen_width}x${screen_height} screen, not centred at $want_x,$want_y"

kill -0 "$pid" 2>/dev/null || fail "the program ended while its window was being checked"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=

if grep -E -e '-CRITICAL \*\*' -e 'assert' "$log" >/dev/null; then
  fail "the program reported errors"
fi

echo "window smoke test passed: ${width}x${height} (menu bar $menu_bar) at $x,$y, class" \
  "$WINDOW_CLASS, title \"$EXPECTED_TITLE\""
