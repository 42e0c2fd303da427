#!/usr/bin/env bash
# Playing without an input method: no IBus, no Fcitx, GTK's plain input. The player switches on
# オプション → ローマ字で入力する through the menu's keys, and answers two questions typed in ASCII
# romaji, one in Hepburn and one in Kunrei spelling; both are judged right (the record holds a
# correct rate of 100). verselane.conf then holds the option, and at the next start the option is
# still on: two more romaji answers are right without touching the menu. env.ini keeps its line.
#
# Usage: romaji_input_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly RESULTS_TITLE=" 全2問 解答完了"
readonly RANK_IN_TITLE=" ランクイン"
# Poem 4 twice: its lower phrase is ふじのたかねにゆきはふりつつ.
readonly HEPBURN="fujinotakaneniyukihafuritsutsu"
readonly KUNREI="huzinotakaneniyukihahuritutu"
readonly DEFAULT_RECORDS=("$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
                          "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE")

take_arguments "$@" Xvfb xdotool xwininfo import

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

# Session 1: the option switched on through the menu, a run in romaji.
start_program "session 1"
[ ! -e "$conf" ] || fail "verselane.conf exists before the option was chosen"
xdotool windowfocus --sync "$window" key alt+o
sleep 0.5
xdotool key k
deadline=$((SECONDS + E2E_STEP_TIMEOUT))
until [ -f "$conf" ]; do
  [ $SECONDS -lt $deadline ] || fail "オプション → ローマ字で入力する wrote no verselane.conf"
  sleep 0.1
done
[ "$(cat "$conf")" = $'[input]\nromaji=true\n[view]\nzoom=1' ] || fail "verselane.conf holds: $(cat "$conf")"
xdotool windowfocus --sync "$window" key ctrl+s
answer "session 1, Hepburn" "$HEPBURN"
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
echo "romaji input test passed: four answers typed in romaji, all right; the option kept"
