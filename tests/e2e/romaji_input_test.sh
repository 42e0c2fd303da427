#!/usr/bin/env bash
# Playing without a Japanese input method: no input method at all (variant "none"), or IBus with
# keyboard layouts only, as a stock GNOME desktop runs it (variant "ibus-layouts"; the layouts of
# Japan among them, which type no kana). The first start finds no Japanese engine, so romaji
# input is on from the first question and verselane.conf holds it at once. The player answers
# two questions typed in ASCII romaji, one in Hepburn and one in Kunrei spelling, switching
# romaji input off and on with Ctrl+J in the middle of the second; both are judged right (the
# record holds a correct rate of 100). At the next start the option is still on: two more romaji
# answers are right without touching the menu. env.ini keeps its line.
#
# Usage: romaji_input_test.sh PATH/verselane PATH/verselane-files BUILD_DIR none|ibus-layouts
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly RESULTS_TITLE=" 全2問 解答完了"
readonly RANK_IN_TITLE=" ランクイン"
# Poem 4 twice: its lower phrase is ふじのたかねにゆきはふりつつ.
readonly HEPBURN="fujinotakaneniyukihafuritsutsu"
readonly KUNREI="huzinotakaneniyukihahuritutu"
readonly DEFAULT_RECORDS=("$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
                          "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE")
readonly VARIANT=${4:-none}

case "$VARIANT" in
  none) variant_tools=() ;;
  ibus-layouts) variant_tools=(ibus-daemon ibus) ;;
  *) echo "usage: $0 PATH/verselane PATH/verselane-files BUILD_DIR none|ibus-layouts" >&2; exit 2 ;;
esac
test_name="romaji input test ($VARIANT)"
take_arguments "${@:1:3}" Xvfb xdotool xwininfo import "${variant_tools[@]}"

make_scratch_work

start_private_x
unset GTK_IM_MODULE XMODIFIERS QT_IM_MODULE
use_private_home
data="$XDG_DATA_HOME/verselane"
conf="$XDG_CONFIG_HOME/verselane/verselane.conf"
mkdir -p "$data"
scrambled "$data/set.vlq" "3,3"
env_line="0/${data//\//\\}\\set.vlq/2/28/1/0/1/player"
scrambled "$data/env.ini" "$env_line"
scrambled "$data/record.dat" "${DEFAULT_RECORDS[@]}"

# IBus as stock GNOME runs it: its own components but Mozc's, so it offers keyboard layouts only.
# ibus-daemon quits when its parent is PID 1, so a shell waits for it.
start_ibus_with_layouts() {
  local components="$work/ibus-components" _
  mkdir -p "$components"
  cp /usr/share/ibus/component/*.xml "$components/"
  rm -f "$components/mozc.xml"
  IBUS_COMPONENT_PATH="$components" bash -c 'ibus-daemon -r --panel=disable & wait $!' \
    >"$work/ibus.log" 2>&1 &
  ibus_pid=$!
  on_exit 'ibus exit >/dev/null 2>&1; kill "$ibus_pid" 2>/dev/null'
  for _ in $(seq 150); do
    ibus list-engine >/dev/null 2>&1 && break
    sleep 0.1
  done
  ibus list-engine 2>/dev/null | grep -q "xkb:jp::jpn" ||
    fail "IBus does not answer or offers no keyboard layouts ($(tail -n 3 "$work/ibus.log"))"
  ! ibus list-engine 2>/dev/null | grep -q mozc || fail "IBus offers Mozc after all"
  export GTK_IM_MODULE=ibus XMODIFIERS=@im=ibus
}
[ "$VARIANT" = none ] || start_ibus_with_layouts

# start_program: the program on the folders above, its window in $window.
start_program() {
  program_log="$work/output-$1.log"
  "$program" >"$program_log" 2>&1 &
  app_pid=$!
  wait_for_titled window "$MAIN_TITLE" "$1: start-up"
}

# answer NAME KEYS: the question on screen, answered with KEYS and Enter.
answer() {
  wait_answer_box "$window" shown "$1"
  xdotool windowfocus --sync "$window" type --delay 30 "$2"
  xdotool key Return
  wait_answer_box "$window" hidden "$1, answered"
}

# The results of a run both of whose answers were right, the rank-in under the proposed name,
# the record list, and the results closed.
finish_run() {
  local results rank_in list
  wait_for_titled results "$RESULTS_TITLE" "$1: results"
  wait_for_titled rank_in "$RANK_IN_TITLE" "$1: rank-in"
  xdotool windowfocus --sync "$rank_in" key Return
  wait_for_titled list "$RECORD_LIST_TITLE" "$1: record list"
  xdotool windowfocus --sync "$list" key Return
  wait_until_gone "$RECORD_LIST_TITLE" "$1: record list"
  click_at "$results" 737 940
  wait_until_gone "$RESULTS_TITLE" "$1: closing the results"
}

# wait_for_conf BYTES WHAT: verselane.conf comes to hold BYTES.
wait_for_conf() {
  local deadline=$((SECONDS + E2E_STEP_TIMEOUT))
  until [ -f "$conf" ] && [ "$(cat "$conf")" = "$1" ]; do
    [ $SECONDS -lt $deadline ] || fail "$2: verselane.conf holds: $(cat "$conf" 2>&1)"
    sleep 0.1
  done
}

# Session 1: a first start finds no Japanese engine: romaji input is on at once and kept.
start_program "session 1"
wait_for_conf $'[input]\nromaji=true\n[view]\nzoom=1' "session 1: the first start"
xdotool windowfocus --sync "$window" key ctrl+s
answer "session 1, Hepburn" "$HEPBURN"
# Off and on again with its key, in the middle of the next question.
wait_answer_box "$window" shown "session 1, the second question"
xdotool windowfocus --sync "$window" key ctrl+j
wait_for_conf $'[input]\nromaji=false\n[view]\nzoom=1' "session 1: Ctrl+J during a question"
xdotool key ctrl+j
wait_for_conf $'[input]\nromaji=true\n[view]\nzoom=1' "session 1: Ctrl+J again"
answer "session 1, Kunrei" "$KUNREI"
finish_run "session 1"
quit_program "$window" "session 1: the exit"
expect_notices "$program_log" "in session 1"

# Session 2: the option is still on.
start_program "session 2"
xdotool windowfocus --sync "$window" key ctrl+s
answer "session 2, Kunrei" "$KUNREI"
answer "session 2, Hepburn" "$HEPBURN"
finish_run "session 2"
quit_program "$window" "session 2: the exit"
expect_notices "$program_log" "in session 2"

[ "$(cat "$conf")" = $'[input]\nromaji=true\n[view]\nzoom=1' ] || fail "verselane.conf changed: $(cat "$conf")"
records=$("$files_tool" decode "$data/record.dat")
rates=$(cut -d, -f1,4,5 <<<"$records" | head -n 2 | tr '\n' ' ')
[ "$rates" = "player,100,普通 player,100,普通 " ] ||
  fail "the two runs were not recorded as all right: $records"
[ "$("$files_tool" decode "$data/env.ini")" = "$env_line" ] || fail "env.ini changed"
echo "$test_name passed: romaji on from the first start; four answers typed in romaji, all right; the option kept"
