#!/usr/bin/env bash
# Starts the desktop program and checks its main window as the X server sees it: one visible
# window of class "Marrowfen", owned by the started process, titled " Verselane", a client area of
# 400 x 150 under the menu bar, neither shrinkable nor growable, centred on the screen. Then ends
# the program. A first start finds neither env.ini nor record.dat and says so in a notice for each
# before the window shows; the test answers them with Enter, as a player would.
#
# Usage: window_smoke_test.sh PATH/TO/verselane
# It always runs on an X server of its own (an Xvfb it starts), without a window
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

source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../e2e/e2e_lib.sh"
take_program_argument "$@" Xvfb xdotool xwininfo xprop

# The program gets folders of its own, so it neither reads nor writes the player's files and
# does not meet another copy's single-instance lock.
make_scratch_work
start_private_x
use_private_home
cd "$work"
program_log="$work/output.log"
"$program" >"$program_log" 2>&1 &
app_pid=$!

# The start-up notices come first, each a window of the same class titled "Notice".
window=
deadline=$((SECONDS + START_TIMEOUT))
answered=" "
while [ $SECONDS -lt $deadline ]; do
  window=$(xdotool search --onlyvisible --name "^${EXPECTED_TITLE}\$" \
    2>/dev/null | head -n 1) || true
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  for notice in $(xdotool search --onlyvisible --name "^Notice\$" \
      2>/dev/null); do
    xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    [[ "$answered" == *" $notice "* ]] || answered+="$notice "
  done
  sleep 0.2
done
if [ -z "$window" ]; then
  if ! kill -0 "$app_pid" 2>/dev/null; then
    status=0
    wait "$app_pid" || status=$?
    app_pid=
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
[ "$owner" = "$app_pid" ] ||
  fail "the $WINDOW_CLASS window belongs to process $owner, not to $app_pid"

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

kill -0 "$app_pid" 2>/dev/null || fail "the program ended while its window was being checked"
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

if grep -E -e '-CRITICAL \*\*' -e 'assert' "$program_log" >/dev/null; then
  fail "the program reported errors"
fi

echo "window smoke test passed: ${width}x${height} (menu bar $menu_bar) at $x,$y, class" \
  "$WINDOW_CLASS, title \"$EXPECTED_TITLE\""
