#!/usr/bin/env bash
# The real program against hostile verselane.conf files, the one file players edit by hand: a
# group named twice (as when "[input]\nromaji=true" is appended), groups told apart by case or
# named like paths, a line with no key, two broken files in turn, a broken file with no free name
# to set it aside under, a folder, a FIFO, a file of 50 MB, and a hand-edited file (byte order
# mark, CR LF, spaces, a Latin-1 comment) reached through a symbolic link. For every case the
# program must start to its window without an assertion box or a hang, take the zoom the file
# gives (the window's width), give exactly the notice that says what became of the file, end
# cleanly, and leave the file, and every copy set aside before, as the case says.
#
# Usage: hostile_preferences_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
# Runs on an X server of its own; every case has its own HOME and XDG folders.
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly START_TIMEOUT=60   # generous: two shared cores, and a fuzzer beside us
E2E_STEP_TIMEOUT=$START_TIMEOUT

# The notices about verselane.conf (src/base/notices.cpp).
readonly CONF_HEAD=$'NOTICE(LoadPreferences):\n設定ファイル(verselane.conf)'
readonly SESSION_ONLY=$'初期値を設定します\n今回の変更は次の起動に残りません'
readonly CONF_NOT_REGULAR="${CONF_HEAD}が通常のファイルではないため読み込みません"$'\n'"$SESSION_ONLY"
readonly CONF_TOO_LARGE="${CONF_HEAD}が大きすぎるため読み込みません"$'\n'"$SESSION_ONLY"
readonly CONF_NOT_SET_ASIDE="${CONF_HEAD}が破損しています"$'\n初期値を設定します\n元のファイルは別の名前にできないためそのままにします\n今回の変更は次の起動に残りません'
# A broken file set aside under the name $1.
conf_kept_as() { printf '%sが破損しています\n初期値を設定します\n元のファイルは%sとして残します' "$CONF_HEAD" "$1"; }

take_arguments "$@" Xvfb xdotool xwininfo cmp

make_scratch_work

start_private_x
export SDL_AUDIODRIVER=dummy

case_number=0
passed=0

# new_case TITLE: HOME and the XDG folders of the case's own; verselane.conf is $conf.
new_case() {
  case_number=$((case_number + 1))
  title=$1
  root="$work/case-$case_number"
  use_private_home "$root"
  mkdir -p "$XDG_DATA_HOME/verselane" "$XDG_CONFIG_HOME/verselane"
  # Good files in the data folder, so that every notice comes from verselane.conf.
  scrambled "$XDG_DATA_HOME/verselane/env.ini" "$DEFAULT_ENV_LINE"
  scrambled "$XDG_DATA_HOME/verselane/record.dat" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" \
    "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
  conf="$XDG_CONFIG_HOME/verselane/verselane.conf"
  run=0
}

# run_program ZOOM [ACTION] [NOTICE...]: starts the program, checks the window is ZOOM (1, 1.5,
# 2) times 400 wide, runs ACTION (a function, or "-") with the window in $window, quits, and
# checks the notices were exactly NOTICE... and that no assertion or critical error was logged.
run_program() {
  local zoom=$1 action=${2:--}
  shift
  [ $# -eq 0 ] || shift
  run=$((run + 1))
  local when="case $case_number: $title, start $run"
  program_log="$root/output-$run.log"
  "$program" >"$program_log" 2>&1 &
  app_pid=$!
  wait_for_titled window "$MAIN_TITLE" "$when"
  local width
  width=$(xwininfo -id "$window" | sed -n 's/^ *Width: *//p')
  local wanted
  wanted=$(awk -v zoom="$zoom" 'BEGIN { print 400 * zoom }')
  (( width == wanted )) || fail "the window is $width wide, not $wanted: the zoom was not $zoom ($when)"
  [ "$action" = - ] || "$action"
  quit_program "$window" "$when"
  expect_notices "$program_log" "$when" "$@"
  if grep -E -e '-CRITICAL \*\*' -e 'assert' -e 'Unhandled' "$program_log" >/dev/null; then
    fail "the program reported errors ($when)"
  fi
}

# Switches オプション → ローマ字で入力する, which saves the preferences, and gives the save a moment.
toggle_romaji() {
  xdotool windowfocus --sync "$window" key alt+o
  sleep 0.5
  xdotool key k
  sleep 1
}

passed_case() {
  echo "ok $case_number - $title"
  passed=$((passed + 1))
  rm -rf "$root"
}

# Fails unless the file $1 holds exactly the bytes printf makes of $2.
expect_bytes() {
  printf "$2" >"$work/expected"
  cmp -s "$1" "$work/expected" ||
    fail "$(basename "$1") holds \"$(head -c 300 "$1" | od -c | head -n 5)\" (case $case_number: $title)"
}

started=$SECONDS

new_case "[input] appended to a file that has it"
printf '[input]\nromaji=false\n[view]\nzoom=1.5\n[input]\nromaji=true\n' >"$conf"
run_program 1.5
expect_bytes "$conf" '[input]\nromaji=false\n[view]\nzoom=1.5\n[input]\nromaji=true\n'
passed_case

new_case "groups named twice, by case, and like paths"
readonly OTHERS='[a]\nx=1\n[b]\ny=2\n[a]\nz=3\n[Input]\nromaji=x\n[a/../input]\nromaji=y\n[view]\nzoom=2\n'
printf "$OTHERS" >"$conf"
run_program 2
# None of them is [input]'s romaji=: the first start (no Japanese input method here) adds it.
expect_bytes "$conf" "$OTHERS[input]\nromaji=true\n"
passed_case

new_case "a line with no key, then another broken file"
printf '[view]\nzoom=2\n=value\n' >"$conf"
run_program 1 - "$(conf_kept_as verselane.conf.broken)"
expect_bytes "$conf.broken" '[view]\nzoom=2\n=value\n'
[ ! -e "$conf" ] || fail "verselane.conf is still there (case $case_number)"
printf '[input]\nromaji=maybe\n' >"$conf"
run_program 1 - "$(conf_kept_as verselane.conf.broken-2)"
expect_bytes "$conf.broken" '[view]\nzoom=2\n=value\n'
expect_bytes "$conf.broken-2" '[input]\nromaji=maybe\n'
passed_case

new_case "a broken file with no free name to be set aside under"
printf 'taken' >"$conf.broken"
for n in $(seq 2 100); do printf 'taken' >"$conf.broken-$n"; done
printf '[view]\nzoom=3\n' >"$conf"
run_program 1 toggle_romaji "$CONF_NOT_SET_ASIDE"
expect_bytes "$conf" '[view]\nzoom=3\n'
expect_bytes "$conf.broken" 'taken'
passed_case

new_case "a folder"
mkdir "$conf"
echo kept >"$conf/inside"
run_program 1 toggle_romaji "$CONF_NOT_REGULAR"
[ "$(ls -A "$conf")" = inside ] || fail "the folder changed (case $case_number)"
expect_bytes "$conf/inside" 'kept\n'
passed_case

new_case "a FIFO"
mkfifo "$conf"
run_program 1 toggle_romaji "$CONF_NOT_REGULAR"
[ -p "$conf" ] || fail "the FIFO was replaced (case $case_number)"
passed_case

new_case "a file of 50 MB"
{ printf '[view]\nzoom=2\n'; head -c $((50 * 1024 * 1024)) /dev/zero | tr '\0' '#'; } >"$conf"
before=$(cksum <"$conf")
run_program 1 toggle_romaji "$CONF_TOO_LARGE"
[ "$(cksum <"$conf")" = "$before" ] || fail "the 50 MB file changed (case $case_number)"
passed_case

new_case "a hand-edited file through a symbolic link"
mkdir -p "$HOME/dotfiles"
readonly EDITED='\357\273\277# caf\351\r\n[input]\r\n  romaji = false \r\n; \201\100\r\n[ view ]\r\nzoom=1.5\t\r\n'
printf "$EDITED" >"$HOME/dotfiles/verselane.conf"
ln -s ../../dotfiles/verselane.conf "$conf"
run_program 1.5 toggle_romaji
[ -L "$conf" ] || fail "the link was replaced (case $case_number)"
expect_bytes "$HOME/dotfiles/verselane.conf" "${EDITED/romaji = false/romaji = true}"
passed_case

echo "hostile preferences test passed: $passed cases in $((SECONDS - started)) s"
