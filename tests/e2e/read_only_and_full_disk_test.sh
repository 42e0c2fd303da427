#!/usr/bin/env bash
# When the data folder cannot take a save the player asked for, the program must say so and lose
# nothing already on disk. The real program plays a short run of two questions (one answered
# right, one wrong) and then asks for every save there is: the rank-in into record.dat, the result
# file and the question file from the results dialog, and env.ini at exit (it changed: the count
# in env.ini is above the question file's size and was brought down at start-up). This is done
# three times:
#   writable   the data folder as usual: no notice, and every save lands (this shows the run
#              really reaches each save, so the two cases below test something);
#   read-only  the data folder mounted read-only: a notice as the window shows that the history of
#              answers cannot be kept, a notice for each save, on stderr and as a "Notice"
#              window, and the folder exactly as it was;
#   full disk  the data folder on a small tmpfs filled to the last page: the same.
#
# Usage: read_only_and_full_disk_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
# The mounts need a private mount namespace: as root the script reruns itself under
# `unshare --mount`, otherwise under `unshare --mount --map-root-user`. Where neither works it
# fails and says why; it never skips. It runs on an X server of its own, with HOME and the XDG
# folders of its own.
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly START_TIMEOUT=60   # generous: two shared cores, and a fuzzer beside us
readonly STEP_TIMEOUT=60
E2E_STEP_TIMEOUT=$STEP_TIMEOUT
readonly RESULTS_TITLE=" 全2問 解答完了"
# At start-up, when history.sqlite3 cannot be made (src/game/answer_recorder.cpp).
readonly HISTORY_NOT_KEPT=$'NOTICE(OpenHistory):\n解答履歴ファイル(history.sqlite3)を書き込めませんでした\n今回は解答履歴を記録せずにゲームを続けます'
readonly RANK_IN_TITLE=" ランクイン"
readonly RESULT_FILE_DIALOG_TITLE=" Verselane 結果ファイルの生成"
readonly QUESTION_FILE_DIALOG_TITLE=" Verselane 問題ファイルの生成"
# The names the save dialogs propose, in the data folder where they open.
readonly RESULT_FILE_NAME="Verselane_結果.txt"
readonly QUESTION_FILE_NAME="Verselane_問題.vlq"

# A result or question file that could not be saved (src/records/saved_file.cpp).
readonly FILE_NOT_SAVED=$'ファイルを保存できませんでした\n'  # followed by the file's path

# The run: poem 0 twice. Its lower phrase, in kana, is the right answer; "あ" a wrong one that
# still counts as an answer (a half-width one would not even be logged as a miss).
readonly QUESTIONS="0,0"
readonly RIGHT_ANSWER="わがころもではつゆにぬれつつ"
readonly WRONG_ANSWER="あ"
# Five records any right answer beats.
readonly OLD_RECORDS=(
  "a,50,00:00:09,100,普通,26/01/05 10:00"
  "b,40,00:00:09,50,普通,26/01/04 10:00"
  "c,30,00:00:09,50,逆順,26/01/03 10:00"
  "d,20,00:00:09,50,詠人,26/01/02 10:00"
  "e,10,00:00:09,50,普通,26/01/01 10:00"
)

test_name="read-only and full disk test"

take_arguments "$@" Xvfb xdotool xwininfo import mount cmp

if [ -z "${VERSELANE_PRIVATE_MOUNTS:-}" ]; then
  command -v unshare >/dev/null || fail "unshare (util-linux) is not installed"
  if (( EUID == 0 )); then
    namespace=(unshare --mount --propagation private)
  else
    namespace=(unshare --mount --map-root-user --propagation private)
  fi
  # Try a mount first, so that a refusal is reported as what it is.
  probe='d=$(mktemp -d) && mount -t tmpfs -o size=64k tmpfs "$d" && umount "$d" && rmdir "$d"'
  if ! reason=$("${namespace[@]}" sh -c "$probe" 2>&1); then
    fail "cannot mount in a private mount namespace (${namespace[*]}): ${reason:-refused}." \
      "This test needs root (as in CI) or unprivileged user namespaces; it does not skip."
  fi
  VERSELANE_PRIVATE_MOUNTS=1 exec "${namespace[@]}" bash "$0" "$@"
fi

make_scratch_work
# The program may hold files in a mount: it is stopped first.
mounts=()
on_exit 'stop_program; for m in "${mounts[@]}"; do umount "$m" 2>/dev/null; done'
start_private_x
# GTK's file dialog keeps its settings in memory instead of asking for a D-Bus session that is
# not there.
export GSETTINGS_BACKEND=memory

# --- driving the program --------------------------------------------------------------------------

# Waits for the notice a failed save gives, as a window, and answers it. $2, when given, is the
# count of notices answered before the notice could come: wait_for_titled answers the notices it
# meets while it waits for a window, and on a slow machine the history's notice can show before
# the main window counts as visible, so it may be answered already.
expect_notice_window() {
  local when=$1 before=${2:-$(notice_window_count)} deadline=$((SECONDS + STEP_TIMEOUT))
  while (( $(notice_window_count) <= before )); do
    [ $SECONDS -lt $deadline ] ||
      fail "the save failed and the player was not told: no notice window within" \
        "$STEP_TIMEOUT s ($when)"
    kill -0 "$app_pid" 2>/dev/null ||
      fail "the program ended without telling the player that the save failed ($when)"
    answer_notices
    sleep 0.1
  done
}

# Saves from the results dialog $1 through the button at height $2/1000 and its file dialog $3,
# taking the name it proposes.
save_from_results() {
  local results=$1 button_y=$2 dialog_title=$3 when=$4 dialog
  click_at "$results" 640 "$button_y"
  wait_for_titled dialog "$dialog_title" "$when"
  xdotool windowfocus --sync "$dialog" key Return
  wait_until_gone "$dialog_title" "$when"
}

# Everything in a folder: names, sizes, modes and contents.
folder_fingerprint() {
  (cd "$1" && find . -printf '%y %p %s %m\n' | sort && find . -type f -print0 | sort -z |
    xargs -0 -r cksum)
}

# --- one scenario ---------------------------------------------------------------------------------

# The files a player has: settings naming a question file of the data folder, ten questions
# asked for (more than the file's two, so start-up brings the count down and env.ini is due to be
# written at exit), and five records.
put_player_files() {
  local data=$1 stored
  stored=${data//\//\\}\\questions.vlq
  printf '%s\n' "$QUESTIONS" | "$files_tool" encode "$data/questions.vlq"
  printf '%s\n' "0/$stored/10/28/1/0/0/player" | "$files_tool" encode "$data/env.ini"
  printf '%s\n' "${OLD_RECORDS[@]}" | "$files_tool" encode "$data/record.dat"
}

# play_and_save NAME SAVES_FAIL(yes|no): starts the program on the home new_root made, plays
# the run, asks for every save and quits. The data folder, $data, is already in place.
play_and_save() {
  local name=$1 saves_fail=$2 when window results rank_in
  answered_notices=" "
  program_log="$root/output.log"
  "$program" >"$program_log" 2>&1 &
  app_pid=$!
  wait_for_titled window "$MAIN_TITLE" "$name: start-up"
  # The history is looked at once the window shows; where saves fail it cannot be made either.
  [ "$saves_fail" = no ] || expect_notice_window "$name: the history at start-up" 0
  local start_notices=0
  [ "$saves_fail" = no ] || start_notices=1
  [ -z "$(windows_titled Notice)" ] && (( $(notice_window_count) == start_notices )) ||
    fail "a notice at start-up ($name)"

  when="$name: the run"
  xdotool windowfocus --sync "$window" key ctrl+s
  wait_answer_box "$window" shown "$when, first question"
  xdotool type --delay 20 "$RIGHT_ANSWER"
  xdotool key Return
  wait_answer_box "$window" hidden "$when, first answer"
  wait_answer_box "$window" shown "$when, second question"
  xdotool type --delay 20 "$WRONG_ANSWER"
  xdotool key Return
  wait_answer_box "$window" hidden "$when, second answer"
  # A wrong answer stays on the screen, with the right one, until Enter. The Enter must come only
  # then: once the results are up, a key sent to any of the program's windows goes to its top
  # dialog and would answer the rank-in, or a notice, in the test's place.
  local deadline=$((SECONDS + STEP_TIMEOUT)) waited
  results=
  while [ -z "$results" ]; do
    wait_screen_still "$window" "$when"
    xdotool windowfocus --sync "$window" key Return
    waited=$((SECONDS + 10))
    while [ -z "$results" ] && [ $SECONDS -lt "$waited" ]; do
      [ $SECONDS -lt $deadline ] || fail "no results within $STEP_TIMEOUT s ($when)"
      kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the run ($when)"
      sleep 0.1
      results=$(windows_titled "$RESULTS_TITLE" | head -n 1)
    done
  done

  when="$name: the rank-in"
  wait_for_titled rank_in "$RANK_IN_TITLE" "$when"
  xdotool windowfocus --sync "$rank_in" key Return   # OK, under the name it proposes
  [ "$saves_fail" = no ] || expect_notice_window "$when"
  local list
  wait_for_titled list "$RECORD_LIST_TITLE" "$when"
  xdotool windowfocus --sync "$list" key Return
  wait_until_gone "$RECORD_LIST_TITLE" "$when"
  wait_until_gone "$RANK_IN_TITLE" "$when"

  # The middles of 結果をファイルへ保存する and 結果を元に問題ファイルを作る, at 533 and 655
  # thousandths of the dialog's height as GTK's buttons lay it out; 閉じる at 940 down and 737
  # across.
  when="$name: the result file"
  save_from_results "$results" 533 "$RESULT_FILE_DIALOG_TITLE" "$when"
  [ "$saves_fail" = no ] || expect_notice_window "$when"
  when="$name: the question file"
  save_from_results "$results" 655 "$QUESTION_FILE_DIALOG_TITLE" "$when"
  [ "$saves_fail" = no ] || expect_notice_window "$when"
  [ -z "$(windows_titled Notice)" ] || fail "an unexpected notice after the saves ($name)"
  click_at "$results" 737 940
  wait_until_gone "$RESULTS_TITLE" "$name: closing the results"

  when="$name: the exit"
  request_quit "$window" "$when"
  [ "$saves_fail" = no ] || expect_notice_window "$when"
  wait_for_exit "$when"

  if [ "$saves_fail" = yes ]; then
    expect_notices "$program_log" "$name" "$HISTORY_NOT_KEPT" "$RECORDS_NOT_SAVED" \
      "$FILE_NOT_SAVED$data/$RESULT_FILE_NAME" "$FILE_NOT_SAVED$data/$QUESTION_FILE_NAME" \
      "$ENV_NOT_SAVED"
    # The history's notice came over the window as it showed.
    (( $(notice_window_count) == 5 )) ||
      fail "$(notice_window_count) notice windows came, not one for the history and one for" \
        "each of the 4 saves ($name)"
  else
    expect_notices "$program_log" "$name"
  fi
  if grep -E -e '-CRITICAL \*\*' -e 'assert' "$program_log" >/dev/null; then
    fail "the program reported errors ($name)"
  fi
}

# A home of the scenario's own under $root, its data folder $data made, and the preferences of a
# player who types kana.
new_root() {
  root="$work/$1"
  use_private_home "$root"
  data="$XDG_DATA_HOME/verselane"
  mkdir -p "$data" "$XDG_CONFIG_HOME/verselane"
  # The answers are typed as kana, as an input method commits them: romaji input stays off.
  printf '[input]\nromaji=false\n' >"$XDG_CONFIG_HOME/verselane/verselane.conf"
}

# --- writable -------------------------------------------------------------------------------------

started=$SECONDS
new_root writable
put_player_files "$data"
play_and_save writable no
stored=${data//\//\\}\\questions.vlq
[ "$("$files_tool" decode "$data/env.ini")" = "0/$stored/2/28/1/0/0/player" ] ||
  fail "env.ini was not written at exit (writable): $("$files_tool" decode "$data/env.ini")"
mapfile -t records < <("$files_tool" decode "$data/record.dat")
[[ "${records[0]}" =~ ^player,([0-9]+),00:00:[0-9][0-9],50,普通,[0-9/]{8}\ [0-9:]{5}$ ]] ||
  fail "the run did not enter record.dat first (writable): ${records[0]}"
score=${BASH_REMATCH[1]}
(( score > 50 )) || fail "the run's score $score does not beat the old records"
[ "${records[*]:1}" = "${OLD_RECORDS[*]:0:4}" ] ||
  fail "the old records did not move down (writable)"
[ "$("$files_tool" decode "$data/$QUESTION_FILE_NAME")" = 0 ] ||
  fail "the question file does not hold the poem answered wrongly (writable)"
# The result file is plain Shift-JIS with CR LF: its rule of 35 "=" and the score on a line of its
# own after its label.
LC_ALL=C grep -aq "=\{35\}" "$data/$RESULT_FILE_NAME" &&
  LC_ALL=C grep -aq "^[^0-9]*$score"$'\r'"\$" "$data/$RESULT_FILE_NAME" ||
  fail "the result file does not hold the run (writable)"
echo "writable: every save landed (score $score) in $((SECONDS - started)) s"

# --- read-only ------------------------------------------------------------------------------------

started=$SECONDS
new_root read-only
put_player_files "$data"
mount --bind "$data" "$data" || fail "cannot bind-mount $data"
mounts+=("$data")
mount -o remount,bind,ro "$data" || fail "cannot make $data read-only"
if touch "$data/probe" 2>/dev/null; then
  fail "$data still takes new files after the read-only mount"
fi
before=$(folder_fingerprint "$data")
play_and_save read-only yes
[ "$(folder_fingerprint "$data")" = "$before" ] || fail "the read-only data folder changed"
echo "read-only: 5 notices, nothing lost, in $((SECONDS - started)) s"

# --- full disk ------------------------------------------------------------------------------------

started=$SECONDS
new_root full-disk
mount -t tmpfs -o size=256k,mode=0755 tmpfs "$data" || fail "cannot mount a tmpfs on $data"
mounts+=("$data")
put_player_files "$data"
# Every page: the filler stops where the disk does.
head -c 1M /dev/zero >"$data/filler" 2>/dev/null || true
if printf x >"$data/probe" 2>/dev/null; then fail "the tmpfs still takes data after filling it"; fi
rm -f "$data/probe"
before=$(folder_fingerprint "$data")
play_and_save "full disk" yes
[ "$(folder_fingerprint "$data")" = "$before" ] ||
  fail "the full data folder changed (a file lost, or a temporary file left)"
echo "full disk: 5 notices, nothing lost, in $((SECONDS - started)) s"

echo "read-only and full disk test passed"
