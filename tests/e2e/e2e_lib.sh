# What the script tests of the real program share: failing with a reason, clean-up when the script
# ends, a scratch folder and a home of their own, an X server of their own, finding the program's
# windows by title, answering its notices, ending it as a player does, and checking the notices it
# printed. Sourced by tests/e2e/*_test.sh and tests/ui/*_test.sh. The variables used here: work
# (the scratch folder), app_pid (the running program, or empty), program_log (its output, shown
# when the test fails) and, for `scrambled`, files_tool (verselane-files).
# shellcheck shell=bash

readonly MAIN_TITLE=" Verselane"
readonly CONFIRM_EXIT_TITLE=" 終了の確認"
readonly RECORD_LIST_TITLE=" 記録一覧"

# The notices about the player's files, as the program prints them on stderr
# (src/base/notices.cpp).
readonly ENV_MISSING=$'NOTICE(LoadEnvironment):\n環境設定ファイルが見つかりません\n初期値を設定してファイルを新規生成します'
readonly ENV_CORRUPT=$'NOTICE(LoadEnvironment):\n環境設定ファイルが破損しています\n初期値を設定してファイルを新規生成します'
readonly ENV_NO_QUESTION_FILE=$'NOTICE(LoadEnvironment):\n出題元に指定されているファイルが見つかりません\n初期値を設定しておきます'
readonly ENV_NOT_SAVED=$'NOTICE(SaveEnvironment):\n環境設定ファイルを保存できませんでした\n今回の設定の変更は保存されません'
readonly RECORD_UNREADABLE=$'NOTICE(LoadRecordList):\n記録一覧ファイルが読み込めませんでした\n初期値を設定してファイルを新規生成します'
readonly RECORD_CORRUPT=$'NOTICE(LoadRecordList):\n記録一覧ファイルが破損しています\n初期値を設定してファイルを新規生成します'
readonly RECORDS_NOT_SAVED=$'NOTICE(SaveRecordList):\n記録一覧ファイルを保存できませんでした\n今回の記録は保存されません'

# What the program writes in place of a missing or corrupt file: the default settings' line and
# the five records of ScoreRecord's defaults.
readonly DEFAULT_ENV_LINE="0/0/100/28/1/0/1/noname"
readonly DEFAULT_RECORD_LINE="noname,0,00:00:00,0,-,00/00/00 00:00"
E2E_STEP_TIMEOUT=${E2E_STEP_TIMEOUT:-20}

# --- failing and cleaning up ---------------------------------------------------------------------

# The name the script's failures begin with: crash_while_saving_test.sh says "crash while saving
# test FAILED: ...". A script may set its own.
test_name=$(basename -- "$0" .sh)
test_name=${test_name//_/ }
exit_hooks=()
failure_hooks=()

# on_exit COMMAND: run (by eval, so variables are read then) when the script ends, however it
# ends; the last added runs first, so what was started last is stopped first. A hook that fails
# does not keep the others from running.
on_exit() {
  exit_hooks+=("$1")
  trap run_exit_hooks EXIT
}
run_exit_hooks() {
  local i
  for ((i = ${#exit_hooks[@]} - 1; i >= 0; i--)); do
    eval "${exit_hooks[i]}" || true
  done
}

# on_failure COMMAND: run (by eval) when the test fails, before it ends: what helps to see why.
on_failure() { failure_hooks+=("$1"); }

# fail MESSAGE...: ends the test as failed. The reason goes to stderr, then the program's output
# ($program_log) and whatever the on_failure hooks show. A script that still defines a fail of its
# own keeps it.
if ! declare -F fail >/dev/null; then
  fail() {
    echo "$test_name FAILED: $*" >&2
    # A hook that fails in turn must not start this over.
    local hooks=("${failure_hooks[@]}") hook
    failure_hooks=()
    show_output "${program_log:-}" "the program's output"
    for hook in "${hooks[@]}"; do eval "$hook" || true; done
    exit 1
  }
fi

# show_output FILE HEADING: the file on stderr under the heading, without GTK's dconf warnings,
# blank lines and the lines of a Wayland protocol trace; nothing when it is empty or missing.
show_output() {
  [ -n "$1" ] && [ -s "$1" ] || return 0
  echo "--- $2 ($1) ---" >&2
  grep -v -e 'dconf-WARNING' -e '^$' -e '^\[ *[0-9.]*\]' "$1" >&2 || true
}

# --- arguments and tools --------------------------------------------------------------------------

# Fails unless every command named is installed.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (./test installs it)"
  done
}

# Takes the arguments every script gets (the program, verselane-files, the build folder) into
# program, files_tool and build_dir, and fails unless both executables and the tools $4... are
# there.
take_arguments() {
  [ $# -ge 3 ] || { echo "usage: $0 PATH/verselane PATH/verselane-files BUILD_DIR" >&2; exit 2; }
  program=$(readlink -f "$1")
  files_tool=$(readlink -f "$2")
  build_dir=$(readlink -f "$3")
  local executable
  for executable in "$program" "$files_tool"; do
    [ -x "$executable" ] || fail "$executable is not an executable (build it first)"
  done
  shift 3
  require_tools "$@"
}

# Takes the one argument of the window scripts (tests/ui): the program, into program.
take_program_argument() {
  [ $# -ge 1 ] || { echo "usage: $0 PATH/TO/verselane" >&2; exit 2; }
  program=$(readlink -f "$1")
  [ -x "$program" ] || fail "$1 is not an executable"
  shift
  require_tools "$@"
}

# --- the scratch folder and the program's folders -------------------------------------------------

# A scratch folder of the test's own, $work, readable by all (some tests run helpers under another
# uid), taken away when the script ends after the program ($app_pid) and the X server ($xvfb_pid)
# are stopped, if they still run. It is kept, and named, when keep_work is 1: with
# VERSELANE_E2E_KEEP=1, or when a script's on_failure hook sets it. Clean-up the script adds
# with on_exit runs before.
make_scratch_work() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/verselane-e2e-XXXXXX")
  chmod 755 "$work"
  xvfb_pid=
  app_pid=
  keep_work=${VERSELANE_E2E_KEEP:-0}
  on_exit remove_scratch_work
}

remove_scratch_work() {
  stop_program
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ "$keep_work" = 0 ]; then rm -rf "$work"; else echo "kept: $work" >&2; fi
}

# Kills the program ($app_pid) if it still runs and forgets it.
stop_program() {
  if [ -n "${app_pid:-}" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  app_pid=
}

# use_private_home [ROOT]: the program (and everything the test starts after) gets a home of its
# own under ROOT ($work when not given), laid out as on a desktop, so it neither reads nor writes
# the player's files nor meets another copy's single-instance lock: HOME=ROOT/home with
# XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME in it where the XDG defaults put them, and
# XDG_RUNTIME_DIR=ROOT/runtime (mode 700). It makes only HOME and the runtime folder, so a test
# can see what the program makes. No sound device: SDL plays into nothing.
use_private_home() {
  local root=${1:-$work}
  export HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime" SDL_AUDIODRIVER=dummy
  export XDG_CONFIG_HOME="$HOME/.config" XDG_DATA_HOME="$HOME/.local/share" \
    XDG_CACHE_HOME="$HOME/.cache"
  mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}

# --- the X server and the program's windows -------------------------------------------------------

# Starts Xvfb (run through the command prefix given, if any) and points DISPLAY at it. Xvfb picks
# a free display itself and names it once it accepts connections, so tests running side by side
# never race for one. Without -noreset it would reset whenever its last client left (a killed
# program, an xdotool call) and refuse the next one meanwhile.
start_private_x() {
  "$@" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
    3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  local deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  until [ -s "$work/display" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    [ $SECONDS -lt $deadline ] || fail "Xvfb named no display within $E2E_STEP_TIMEOUT s"
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$work/display")"
  unset XAUTHORITY
}

# The program's visible windows (its dialogs share its class) whose title is exactly $1: xdotool
# matches titles as regular expressions, which does not do for the Japanese ones.
windows_titled() {
  local window
  for window in $(xdotool search --onlyvisible --class '^Marrowfen$' 2>/dev/null); do
    [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "$1" ] && echo "$window"
  done
  return 0
}

answered_notices=" "
# Answers the notice windows on screen with Enter, counting each window once.
answer_notices() {
  local notice
  for notice in $(windows_titled Notice); do
    xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    [[ "$answered_notices" == *" $notice "* ]] || answered_notices+="$notice "
  done
}
notice_window_count() { wc -w <<<"$answered_notices"; }

# Waits for a window titled $2, answering notices meanwhile, and puts it into the variable named
# $1; $3 says when, for the failure; $4 is the time allowed (E2E_STEP_TIMEOUT seconds). Called as
# it is, never as $(...): `fail` in a command substitution would end only the subshell, and the
# test would go on with no window.
wait_for_titled() {
  local _wft_title=$2 _wft_when=$3 _wft_limit=${4:-$E2E_STEP_TIMEOUT} _wft_window
  local _wft_deadline=$((SECONDS + _wft_limit))
  while [ $SECONDS -lt $_wft_deadline ]; do
    _wft_window=$(windows_titled "$_wft_title" | head -n 1)
    if [ -n "$_wft_window" ]; then
      printf -v "$1" '%s' "$_wft_window"
      return 0
    fi
    kill -0 "$app_pid" 2>/dev/null ||
      fail "the program ended while waiting for \"$_wft_title\" ($_wft_when)"
    answer_notices
    sleep 0.1
  done
  fail "no window titled \"$_wft_title\" within $_wft_limit s ($_wft_when)"
}

wait_until_gone() {
  local title=$1 when=$2 deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  while [ -n "$(windows_titled "$title")" ]; do
    [ $SECONDS -lt $deadline ] || fail "\"$title\" did not close ($when)"
    sleep 0.1
  done
}

# Asks the program to end as a player does: Ctrl+E in the window $1, then はい(&Y) in the
# confirmation. $2 says when.
request_quit() {
  local confirm
  xdotool windowfocus --sync "$1" key ctrl+e
  wait_for_titled confirm "$CONFIRM_EXIT_TITLE" "$2, after Ctrl+E"
  xdotool windowfocus --sync "$confirm" key alt+y
}

# Waits for the program to end, answering any notice the shut-down gives; it must end with
# status 0. $1 says when.
wait_for_exit() {
  local status=0 deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  while kill -0 "$app_pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "the program did not end within $E2E_STEP_TIMEOUT s ($1)"
    answer_notices
    sleep 0.1
  done
  wait "$app_pid" || status=$?
  app_pid=
  (( status == 0 )) || fail "the program ended with status $status ($1)"
}

quit_program() {
  request_quit "$1" "$2"
  wait_for_exit "$2"
}

# Fails unless the notices the program printed to the log $1 are exactly $3... in that order;
# $2 says when.
expect_notices() {
  local log=$1 when=$2
  shift 2
  local count rest expected
  count=$(grep -c '^verselane: ' "$log" || true)
  (( count == $# )) || fail "expected $# notice(s) $when, the program gave $count"
  rest=$(<"$log")
  for expected in "$@"; do
    [[ "$rest" == *"verselane: $expected"* ]] ||
      fail "the notice \"${expected//$'\n'/ / }\" did not come $when (or not in its place)"
    rest=${rest#*"verselane: $expected"}
  done
}

# The answer box (src/ui/game_screen.h: 76, 60, 308 x 28 in the client area, under the menu bar)
# is white at its right end while it is shown and empty; the first question's grey hint for
# players without an input method stops short of that end. At a zoom (the window 400 x 150 times
# it, in tenths here) every place grows with it.
answer_box_shown() {
  local window=$1 info width height zoom menu_bar minimum
  info=$(xwininfo -id "$window")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
  zoom=$((width * 10 / 400))
  menu_bar=$((height - 150 * zoom / 10))
  minimum=$(import -window "$window" \
    -crop "$((14 * zoom / 10))x$((14 * zoom / 10))+$((368 * zoom / 10))+$((menu_bar + 67 * zoom / 10))" \
    +repage -colorspace gray -format '%[min]' info: 2>/dev/null) || return 1
  [ "$minimum" = 65535 ]
}

wait_answer_box() {
  local window=$1 want=$2 when=$3 deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  while [ $SECONDS -lt $deadline ]; do
    if answer_box_shown "$window"; then [ "$want" = shown ] && return 0
    else [ "$want" = hidden ] && return 0; fi
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the run ($when)"
    sleep 0.1
  done
  fail "the answer box was not $want within $E2E_STEP_TIMEOUT s ($when)"
}

# Waits until the window $1 shows the same picture three times running, 0.2 s apart: the game
# screen is still only while it waits for a key.
wait_screen_still() {
  local window=$1 when=$2 deadline=$((SECONDS + E2E_STEP_TIMEOUT)) previous= current same=0
  while (( same < 2 )); do
    [ $SECONDS -lt $deadline ] || fail "the game screen never came to rest ($when)"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the run ($when)"
    sleep 0.2
    current=$(import -window "$window" -depth 8 rgb:- 2>/dev/null | cksum)
    if [ "$current" = "$previous" ]; then same=$((same + 1)); else same=0; fi
    previous=$current
  done
}

# Clicks the point at fractions $2/1000 and $3/1000 of the window $1. The dialogs are laid out
# from their templates in dialog units, so a button sits at fixed fractions of its dialog.
click_at() {
  local window=$1 info width height
  info=$(xwininfo -id "$window")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
  xdotool mousemove --window "$window" $((width * $2 / 1000)) $((height * $3 / 1000)) click 1
}

# Writes the scrambled file $1 holding the lines $2... with the program's own file code.
scrambled() {
  local path=$1
  shift
  printf '%s\n' "$@" | "$files_tool" encode "$path" || fail "cannot write $path"
}
