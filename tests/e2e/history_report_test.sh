#!/usr/bin/env bash
# The history of answers from outside. `verselane --history` with no display: without a history it
# prints nothing, exits 0 and creates nothing, not even the data folder. Then the real program,
# running on an X server of its own, is played: two answers typed in romaji. While it still runs,
# `verselane --history` (again with no display, and not stopped by the single-instance lock)
# prints exactly the seeded poems and the poem just played, one tab-separated line each by poem
# number; after the program has ended the report is the same. env.ini keeps its bytes. A damaged
# database makes the report fail with a message and touches nothing.
#
# Usage: history_report_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly RESULTS_TITLE=" 全2問 解答完了"
readonly RANK_IN_TITLE=" ランクイン"
# Poem 4 twice: its lower phrase is ふじのたかねにゆきはふりつつ.
readonly HEPBURN="fujinotakaneniyukihafuritsutsu"
readonly DEFAULT_RECORDS=("$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
                          "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE")

take_arguments "$@" Xvfb xdotool xwininfo
seed_tool="$build_dir/e2e-history-seed-tool"
[ -x "$seed_tool" ] || fail "$seed_tool is not built"

make_scratch_work
use_private_home
data="$XDG_DATA_HOME/verselane"
history="$data/history.sqlite3"

# report EXPECTED-STATUS: `verselane --history` with no display, its output in $report.
report() {
  local status=0
  report=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$program" --history 2>"$work/report.err") ||
    status=$?
  [ "$status" = "$1" ] || fail "--history exited $status, not $1: $(cat "$work/report.err")"
}

# No history at all.
report 0
[ -z "$report" ] || fail "--history printed without a history: $report"
[ ! -e "$XDG_DATA_HOME" ] || fail "--history created $(find "$XDG_DATA_HOME")"

# Seeded answers for poems 1 and 100, then a played run of poem 4.
mkdir -p "$data" "$XDG_CONFIG_HOME/verselane"
printf '%s\n' $'100\t1\t4000\t2027-03-01 23:59:59' $'1\t0\t15000\t2027-02-27 10:00:00' \
  $'100\t1\t2049\t2027-03-02 00:00:01' $'1\t0\t15000\t2027-02-28 10:00:00' |
  "$seed_tool" "$history" || fail "the history could not be seeded"
scrambled "$data/set.vlq" "3,3"
env_line="0/${data//\//\\}\\set.vlq/2/28/1/0/1/player"
scrambled "$data/env.ini" "$env_line"
env_before=$(od -An -tx1 "$data/env.ini")
scrambled "$data/record.dat" "${DEFAULT_RECORDS[@]}"
printf '[input]\nromaji=true\n' >"$XDG_CONFIG_HOME/verselane/verselane.conf"

start_private_x
unset GTK_IM_MODULE XMODIFIERS QT_IM_MODULE
program_log="$work/output.log"
"$program" >"$program_log" 2>&1 &
app_pid=$!
wait_for_titled window "$MAIN_TITLE" "start-up"
xdotool windowfocus --sync "$window" key ctrl+s
for question in 1 2; do
  wait_answer_box "$window" shown "question $question"
  xdotool windowfocus --sync "$window" type --delay 30 "$HEPBURN"
  xdotool key Return
  wait_answer_box "$window" hidden "question $question, answered"
done
wait_for_titled results "$RESULTS_TITLE" "results"
wait_for_titled rank_in "$RANK_IN_TITLE" "rank-in"
xdotool windowfocus --sync "$rank_in" key Return
wait_for_titled list "$RECORD_LIST_TITLE" "record list"
xdotool windowfocus --sync "$list" key Return
wait_until_gone "$RECORD_LIST_TITLE" "record list"
click_at "$results" 737 940
wait_until_gone "$RESULTS_TITLE" "closing the results"

today=$(date +%F)
expected_while_running() {
  [ "$(sed -n 1p <<<"$report")" = $'1\t2\t0\t-\t2027-02-28' ] || return 1
  [[ "$(sed -n 2p <<<"$report")" =~ ^4$'\t'2$'\t'2$'\t'[0-9]+\.[0-9]$'\t'"$today"$ ]] || return 1
  [ "$(sed -n 3p <<<"$report")" = $'100\t2\t2\t3.0\t2027-03-02' ] || return 1
  [ "$(wc -l <<<"$report")" = 3 ]
}
report 0
expected_while_running || fail "--history beside the running program printed:"$'\n'"$report"
kill -0 "$app_pid" 2>/dev/null || fail "the running program ended"
[ -z "$(windows_titled "$MAIN_TITLE" | sed -n 2p)" ] || fail "--history opened a second window"
played=$report

quit_program "$window" "the exit"
expect_notices "$program_log" "in the session"
report 0
[ "$report" = "$played" ] || fail "--history after the exit printed:"$'\n'"$report"
[ "$(od -An -tx1 "$data/env.ini")" = "$env_before" ] || fail "env.ini changed"

# A damaged database: a message, status 1, the file as it was.
head -c 3000 /dev/urandom >"$history"
rm -f "$history-wal" "$history-shm"
damaged=$(od -An -tx1 "$history" | md5sum)
report 1
[ -z "$report" ] || fail "--history printed from a damaged database: $report"
grep -q "cannot be read" "$work/report.err" || fail "no message for a damaged database"
[ "$(od -An -tx1 "$history" | md5sum)" = "$damaged" ] || fail "--history changed the damaged file"
echo "history report test passed: nothing without a history; the seeded and the played poems," \
  "beside the running program and after it; a damaged database refused"
