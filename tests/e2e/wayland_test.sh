#!/usr/bin/env bash
# The program on Wayland, as a player has it under sway (headless, no X anywhere): the first start
# with an empty data folder answers its notices; Ctrl+S starts a run, one question is answered in
# romaji; another window takes the focus, and a second copy, started with the activation token a
# launcher gets for it, brings the first copy's window back to the focus; Ctrl+E asks to exit in
# a dialog that belongs to the main window, and Alt+Y ends the program. The history then holds
# the one answer. The main window and the dialog carry the desktop file's name as their app_id.
#
# Keys come from e2e-wayland-keyboard (tests/e2e/wayland/), one virtual keyboard with one keymap
# for the whole test, which also asks sway for the activation token as a launcher does (sway 1.7's
# own `exec` gives its children none). What the program asked of the compositor is read from its
# protocol trace (WAYLAND_DEBUG): sway's tree shows no parent of a Wayland window.
#
# Usage: wayland_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
# sway refuses to run as root, so as root it runs as an unprivileged uid (it needs no passwd
# entry); the program and the other clients stay as they are. VERSELANE_E2E_KEEP=1 keeps the
# screenshots and logs (the folder is printed at the end).
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly COMPOSITOR_UID=4243
readonly COVER_TITLE="a window on top"
readonly ROMAJI_ANSWER="fujinotakaneniyukihafuritsutsu"
# A dock matches a Wayland window to its launcher by the window's app_id: the name of the
# package's desktop file.
desktop_files=("$(dirname "$(readlink -f "$0")")"/../../assets/*.desktop)
readonly APP_ID=$(basename "${desktop_files[0]}" .desktop)

log() { echo "[$(date +%T)] $*"; }

take_arguments "$@" sway swaymsg grim jq convert setpriv zenity
keyboard_tool="$build_dir/e2e-wayland-keyboard"
[ -x "$keyboard_tool" ] || fail "$keyboard_tool is not built: it needs libwayland-dev, \
libxkbcommon-dev and wayland-protocols when CMake configures (./test installs them)"

make_scratch_work
on_failure 'for other in sway keyboard; do
    [ -s "$work/$other.log" ] || continue
    echo "--- $other ---" >&2
    grep -v "\[DEBUG\]" "$work/$other.log" | tail -n 15 >&2
  done
  echo "(screenshots and logs in $work)" >&2
  keep_work=1'
# The program first, then the helpers started here.
pids=()
on_exit 'stop_program; for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done'
use_private_home
mkdir -p "$XDG_CONFIG_HOME/verselane" "$work/shots"
program_log="$work/app.log"

# --- sway, headless --------------------------------------------------------------------------
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK XAUTHORITY GTK_IM_MODULE XMODIFIERS
export NO_AT_BRIDGE=1 LANG=C.UTF-8
as_compositor=()
if [ "$(id -u)" = 0 ]; then
  chown "$COMPOSITOR_UID:$COMPOSITOR_UID" "$XDG_RUNTIME_DIR"
  as_compositor=(setpriv --reuid="$COMPOSITOR_UID" --regid="$COMPOSITOR_UID" --clear-groups)
fi
# sway's own default for a window that asks for the focus is to mark it urgent and leave the
# focus where it is; this desktop is set to give the focus, as most desktops do.
cat >"$work/sway.config" <<'EOF'
xwayland disable
output HEADLESS-1 resolution 1280x1024
focus_on_window_activation focus
EOF
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  "${as_compositor[@]}" sway -d -c "$work/sway.config" >"$work/sway.log" 2>&1 &
pids+=($!)
sway_pid=$!
deadline=$((SECONDS + E2E_STEP_TIMEOUT))
until [ -n "${SWAYSOCK:-}" ] && swaymsg -t get_version >/dev/null 2>&1; do
  kill -0 "$sway_pid" 2>/dev/null || fail "sway did not start"
  [ $SECONDS -lt $deadline ] || fail "sway did not answer within $E2E_STEP_TIMEOUT s"
  sleep 0.1
  SWAYSOCK=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
  export SWAYSOCK
done
WAYLAND_DISPLAY=$(find "$XDG_RUNTIME_DIR" -maxdepth 1 -type s -name 'wayland-*' -printf '%f\n' |
  head -n 1)
[ -n "$WAYLAND_DISPLAY" ] || fail "sway made no Wayland socket"
export WAYLAND_DISPLAY GDK_BACKEND=wayland
log "sway on $WAYLAND_DISPLAY"

# --- The keyboard ----------------------------------------------------------------------------
coproc KEYS { exec "$keyboard_tool" 2>"$work/keyboard.log"; }
pids+=("$KEYS_PID")
keys_in=${KEYS[1]} keys_out=${KEYS[0]}
read -r -t "$E2E_STEP_TIMEOUT" reply <&"$keys_out" || reply=
[ "$reply" = ready ] || fail "the virtual keyboard did not start"
# keyboard COMMAND: sent, and its answer in $reply.
keyboard() {
  echo "$*" >&"$keys_in"
  read -r -t "$E2E_STEP_TIMEOUT" reply <&"$keys_out" || fail "the keyboard did not answer \"$*\""
  [[ "$reply" != error* ]] || fail "keyboard: $* -> $reply"
}
press() {
  keyboard "$@"
  [ "$reply" = ok ] || fail "keyboard: $* -> $reply"
}

# --- sway's tree -----------------------------------------------------------------------------
# views FILTER: one line for each window (a view: it has an app_id) that the jq FILTER keeps,
# "ID TYPE" then its title.
views() {
  swaymsg -t get_tree | jq -r "[.. | objects | select(has(\"app_id\"))] | .[] | select($1) |
    \"\(.id) \(.type) \(.name)\""
}
focused_title() { views '.focused' | cut -d' ' -f3-; }
# expect_app_id TITLE WHAT: the window titled TITLE names the desktop file, as a dock needs.
expect_app_id() {
  local app_id
  app_id=$(swaymsg -t get_tree | jq -r "[.. | objects | select(has(\"app_id\")) |
    select(.name == \"$1\")][0].app_id")
  [ "$app_id" = "$APP_ID" ] || fail "$2's app_id is \"$app_id\", not $APP_ID"
}
view_id() { views ".name == \"$1\"" | head -n 1 | cut -d' ' -f1; }

shot=0
snap() {
  shot=$((shot + 1))
  grim "$work/shots/$(printf %02d $shot)-$1.png" || fail "grim took no screenshot"
}

# Until the focused window is titled $1, answering the notices that have the focus with Enter
# (each once: the next Enter waits until it is gone); $2 says when.
answered_notices=0
wait_for_focus() {
  local title=$1 when=$2 deadline=$((SECONDS + E2E_STEP_TIMEOUT)) focused notice
  while true; do
    focused=$(focused_title)
    [ "$focused" = "$title" ] && return 0
    [ -z "$app_pid" ] || kill -0 "$app_pid" 2>/dev/null ||
      fail "the program ended while waiting for \"$title\" ($when)"
    [ $SECONDS -lt $deadline ] || fail "\"$title\" did not get the focus ($when; \"$focused\" has it)"
    if [ "$focused" = Notice ]; then
      notice=$(view_id Notice)
      snap notice
      press key Return
      answered_notices=$((answered_notices + 1))
      while [ -n "$(views ".id == $notice")" ]; do
        [ $SECONDS -lt $deadline ] || fail "a notice did not close on Enter ($when)"
        sleep 0.1
      done
    fi
    sleep 0.1
  done
}

# The answer box (76, 60 in the client area, 308 x 28, under the menu bar) is white at its right
# end while it is shown and empty.
answer_box_shown() {
  local geometry minimum
  geometry=$(swaymsg -t get_tree | jq -r "[.. | objects | select(.id == $main)][0] |
    \"\(.rect.x + .window_rect.x + 368),\(.rect.y + .window_rect.y + .window_rect.height - 150 + 67) 14x14\"")
  minimum=$(grim -g "$geometry" - | convert - -colorspace gray -format '%[min]' info:) || return 1
  [ "$minimum" = 65535 ]
}
wait_answer_box() {
  local want=$1 when=$2 deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  while true; do
    if answer_box_shown; then [ "$want" = shown ] && return 0
    else [ "$want" = hidden ] && return 0; fi
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the run ($when)"
    [ $SECONDS -lt $deadline ] || fail "the answer box was not $want within $E2E_STEP_TIMEOUT s ($when)"
    sleep 0.1
  done
}

# Until sway draws the main window as the focused one: its title bar (above its rectangle) in the
# focused colour, #285577; $1 says when.
wait_drawn_focused() {
  local point colour deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  while true; do
    point=$(swaymsg -t get_tree | jq -r "[.. | objects | select(.id == $main)][0] |
      \"\(.rect.x + .rect.width - 8),\(.rect.y - 10) 1x1\"")
    colour=$(grim -g "$point" - | convert - -format '%[pixel:p{0,0}]' info:) || colour=
    [ "$colour" = "srgb(40,85,119)" ] && return 0
    [ $SECONDS -lt $deadline ] || fail "the main window is not drawn focused ($1; $colour)"
    sleep 0.1
  done
}

# trace_toplevel TITLE: the protocol object of the program's last window titled TITLE.
trace_toplevel() {
  grep -F ".set_title(\"$1\")" "$program_log" | tail -n 1 | sed -n 's/.*-> \(xdg_toplevel@[0-9]*\)\..*/\1/p'
}

# --- The first start ---------------------------------------------------------------------------
printf '[input]\nromaji=true\n' >"$XDG_CONFIG_HOME/verselane/verselane.conf"
WAYLAND_DEBUG=client "$program" >"$program_log" 2>&1 &
app_pid=$!
wait_for_focus "$MAIN_TITLE" "the first start"
main=$(view_id "$MAIN_TITLE")
wait_drawn_focused "at the first start"
(( answered_notices == 2 )) || fail "$answered_notices notices at the first start, not 2"
expect_app_id "$MAIN_TITLE" "the main window"
expect_notices "$program_log" "at the first start" "$ENV_MISSING" "$RECORD_UNREADABLE"
snap started
log "the main window has the focus after $answered_notices notices"

# --- One question ----------------------------------------------------------------------------
press key ctrl+s
wait_answer_box shown "after Ctrl+S"
press type "$ROMAJI_ANSWER"
snap typed
press key Return
wait_answer_box hidden "after the answer"
snap answered
log "one question answered"

# --- Another window on top, then a second copy -----------------------------------------------
zenity --info --title "$COVER_TITLE" --text "$COVER_TITLE" >"$work/cover.log" 2>&1 &
pids+=($!)
wait_for_focus "$COVER_TITLE" "the covering window"
keyboard token
token=$reply
status=0
XDG_ACTIVATION_TOKEN=$token timeout 10 "$program" >"$work/second.log" 2>&1 || status=$?
(( status == 0 )) || fail "the second copy exited with $status, not 0"
[ "$(views ".name == \"$MAIN_TITLE\"" | wc -l)" = 1 ] || fail "the second copy showed a window"
wait_for_focus "$MAIN_TITLE" "after the second copy"
[ "$(view_id "$MAIN_TITLE")" = "$main" ] || fail "the main window is not the first one"
grep -q -F "activate(\"$token\"," "$program_log" ||
  fail "the first copy did not come forward with the second copy's token $token"
# sway 1.7 moves the keyboard focus at once but draws (and raises) the window only at its next
# change of the tree; any command makes one.
swaymsg nop >/dev/null
wait_drawn_focused "after the second copy"
snap brought-forward
log "the second copy brought the first one forward with its token"

# --- The exit ----------------------------------------------------------------------------------
press key ctrl+e
wait_for_focus "$CONFIRM_EXIT_TITLE" "after Ctrl+E"
snap confirm-exit
main_toplevel=$(trace_toplevel "$MAIN_TITLE")
dialog_toplevel=$(trace_toplevel "$CONFIRM_EXIT_TITLE")
[ -n "$main_toplevel" ] && [ -n "$dialog_toplevel" ] || fail "no window titles in the trace"
parent=$(grep -F -e "-> $dialog_toplevel.set_parent(" -e "-> $dialog_toplevel.set_title(" \
  "$program_log" | grep -F -B1 ".set_title(\"$CONFIRM_EXIT_TITLE\")" | tail -n 2 | head -n 1 |
  sed -n 's/.*set_parent(\(.*\))$/\1/p')
[ "$parent" = "$main_toplevel" ] ||
  fail "the exit confirmation's parent is \"$parent\", not the main window ($main_toplevel)"
# sway floats a window that has a parent, over the others.
views ".name == \"$CONFIRM_EXIT_TITLE\"" | grep -q ' floating_con ' ||
  fail "sway does not float the exit confirmation"
expect_app_id "$CONFIRM_EXIT_TITLE" "the exit confirmation"
press key alt+y
deadline=$((SECONDS + E2E_STEP_TIMEOUT))
while kill -0 "$app_pid" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "the program did not end after Alt+Y"
  sleep 0.1
done
status=0
wait "$app_pid" || status=$?
app_pid=
(( status == 0 )) || fail "the program ended with status $status"
expect_notices "$program_log" "by the end" "$ENV_MISSING" "$RECORD_UNREADABLE"

history=$("$program" --history) || fail "the history cannot be read"
[ "$(wc -l <<<"$history")" = 1 ] && [ "$(cut -f2 <<<"$history")" = 1 ] ||
  fail "the history does not hold the one answer: $history"
log "wayland test passed: first start, a question, the second copy's token, the exit"
