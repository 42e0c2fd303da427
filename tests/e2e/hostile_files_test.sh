#!/usr/bin/env bash
# The real program against hostile files in its data folder: env.ini, record.dat and the question
# file env.ini names, each empty, huge, noise, one byte, one byte over its reader's limit, a
# folder, or well formed but holding numbers out of range. For every case the program must start
# to its window (no crash, no hang), give exactly the notice the code documents for that file (or
# none where it quietly falls back), end cleanly when the player quits, and leave the other file
# byte for byte as it was. The hostile file itself must end as the code says: untouched, replaced
# by the defaults, or written back with its numbers brought into range.
#
# Usage: hostile_files_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
# Runs on an X server of its own; every case has its own HOME, XDG folders and data folder.
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly START_TIMEOUT=60   # generous: two shared cores, and a fuzzer beside us
E2E_STEP_TIMEOUT=$START_TIMEOUT

# The files each case starts from, in range and well formed; a case replaces one of them.
readonly GOOD_ENV_LINE="1/0/40/12/0/1/0/hostile"
readonly GOOD_RECORD_LINES=(
  "はなこ,51234,00:12:40,93,逆順*,26/02/11 20:15"
  "taro,40001,00:13:02,88,普通,26/02/10 07:01"
  "noname,9120,00:05:59,40,詠人,26/01/30 23:59"
  "noname,0,00:00:00,0,-,00/00/00 00:00"
  "noname,0,00:00:00,0,-,00/00/00 00:00"
)
readonly TEN_MB=$((10 * 1024 * 1024))

take_arguments "$@" Xvfb xdotool xwininfo cmp

make_scratch_work

start_private_x

# --- making files ---------------------------------------------------------------------------------

mkdir -p "$work/made"
scrambled "$work/made/default-env.ini" "$DEFAULT_ENV_LINE"
scrambled "$work/made/default-record.dat" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" \
  "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
scrambled "$work/made/good-env.ini" "$GOOD_ENV_LINE"
scrambled "$work/made/good-record.dat" "${GOOD_RECORD_LINES[@]}"

# Noise that is the same in every run: $1 bytes of a linear congruential sequence, without 0x1A,
# which would end the input early and leave the readers little to chew on.
noise() {
  local count=$1 state=20260307 chunk i escapes
  for ((i = 0; i < count; i += 256)); do
    escapes=
    for ((chunk = 0; chunk < 256 && i + chunk < count; chunk++)); do
      state=$(( (state * 1103515245 + 12345) & 0x7fffffff ))
      local byte=$(( (state >> 16) & 0xff ))
      (( byte == 0x1a )) && byte=0x1b
      escapes+=$(printf '\\x%02x' "$byte")
    done
    printf '%b' "$escapes"
  done
}
noise 8192 >"$work/made/noise"
(( $(stat -c %s "$work/made/noise") == 8192 )) || fail "the noise is not 8192 bytes"

# $1 repeated to exactly $2 bytes, on stdout (doubled up in a scratch file, which is fast).
repeat_to() {
  local size=$2 grown="$work/made/grown"
  cp "$1" "$grown"
  while (( $(stat -c %s "$grown") < size )); do
    cat "$grown" "$grown" >"$grown.twice" && mv "$grown.twice" "$grown"
  done
  head -c "$size" "$grown"
  rm -f "$grown"
}

# env.ini lines of an exact decoded length: the count, 100, padded with leading zeros.
env_line_of_length() {
  local length=$1 prefix="0/0/" suffix="/28/1/0/0/hostile" zeros
  zeros=$(( length - ${#prefix} - ${#suffix} - 3 ))
  printf '%s%s100%s' "$prefix" "$(head -c "$zeros" /dev/zero | tr '\0' 0)" "$suffix"
}
# record.dat of exactly $1 bytes (as stored, which is as long as decoded): the first name padded.
record_of_length() {
  local length=$1 path=$2 padding=1 rest=("${GOOD_RECORD_LINES[@]:1}")
  local tail=",51234,00:12:40,93,R,26/02/11 20:15"
  scrambled "$path" "n$tail" "${rest[@]}"
  padding=$(( 1 + length - $(stat -c %s "$path") ))
  scrambled "$path" "$(head -c "$padding" /dev/zero | tr '\0' n)$tail" "${rest[@]}"
  (( $(stat -c %s "$path") == length )) || fail "could not make a record.dat of $length bytes"
}

# --- driving the program --------------------------------------------------------------------------

# What a path holds, for comparing before and after: the bytes of a file, the listing and
# contents of a folder.
fingerprint() {
  if [ -d "$1" ]; then
    (cd "$1" && find . -printf '%y %p %s\n' | sort && find . -type f -exec cat {} + | cksum)
  elif [ -e "$1" ]; then
    cksum <"$1"
  else
    echo missing
  fi
}

# --- the cases ------------------------------------------------------------------------------------

case_number=0
passed=0
data=

# run_case TITLE SETUP "NOTICE NAMES" ENV_AFTER RECORD_AFTER [look]
# SETUP (a function) spoils the files of $data; the notices are the names of the constants above,
# start-up first, then shut-down. ENV_AFTER and RECORD_AFTER say what each file holds after the
# program has ended: "same" (as before the start), "default" (what the program writes in place
# of a bad file), or "line:TEXT" (env.ini written back as that line; {q.vlq} in it stands for the
# question file's path as env.ini stores it). With "look", the record list is opened too, to show
# what was loaded.
run_case() {
  local title=$1 setup=$2 notice_names=$3 env_after=$4 record_after=$5 look=${6:-}
  case_number=$((case_number + 1))
  local root="$work/case-$case_number" when="case $case_number: $title"
  use_private_home "$root"
  data="$XDG_DATA_HOME/verselane"
  mkdir -p "$data"
  cp "$work/made/good-env.ini" "$data/env.ini"
  cp "$work/made/good-record.dat" "$data/record.dat"
  "$setup"
  local env_before record_before
  env_before=$(fingerprint "$data/env.ini")
  record_before=$(fingerprint "$data/record.dat")

  program_log="$root/output.log"
  "$program" >"$program_log" 2>&1 &
  app_pid=$!
  local window
  wait_for_titled window "$MAIN_TITLE" "$when"
  if [ "$look" = look ]; then
    xdotool windowfocus --sync "$window" key alt+o
    sleep 0.3
    xdotool key r
    local list
    wait_for_titled list "$RECORD_LIST_TITLE" "$when, the record list"
    xdotool windowfocus --sync "$list" key Return
    wait_until_gone "$RECORD_LIST_TITLE" "$when, the record list"
  fi
  quit_program "$window" "$when"

  local names=() name
  read -r -a names <<<"$notice_names"
  local expected=()
  for name in "${names[@]}"; do expected+=("${!name}"); done
  expect_notices "$program_log" "$when" "${expected[@]}"
  if grep -E -e '-CRITICAL \*\*' -e 'assert' "$program_log" >/dev/null; then
    fail "the program reported errors ($when)"
  fi

  check_after env.ini "$env_after" "$env_before" "$work/made/default-env.ini" "$when"
  check_after record.dat "$record_after" "$record_before" "$work/made/default-record.dat" "$when"
  local strays
  strays=$(find "$data" -maxdepth 1 -name '.env.ini.*' -o -maxdepth 1 -name '.record.dat.*' | wc -l)
  (( strays == 0 )) || fail "the program left $strays temporary file(s) in the data folder ($when)"
  echo "ok $case_number - $title (${#expected[@]} notice(s))"
  passed=$((passed + 1))
  rm -rf "$root"
}

check_after() {
  local name=$1 expectation=$2 before=$3 default=$4 when=$5 path="$data/$1"
  case "$expectation" in
    same)
      [ "$(fingerprint "$path")" = "$before" ] || fail "$name changed ($when)"
      ;;
    default)
      [ -f "$path" ] && cmp -s "$path" "$default" ||
        fail "$name does not hold what the program writes in place of a bad one ($when)"
      ;;
    line:*)
      local line=${expectation#line:} stored=${data//\//\\}\\q.vlq
      line=${line//"{q.vlq}"/$stored}
      scrambled "$work/made/expected" "$line"
      [ -f "$path" ] && cmp -s "$path" "$work/made/expected" ||
        fail "$name is not the line \"$line\" ($when; it holds" \
          "\"$("$files_tool" decode "$path" 2>&1 | head -c 300)\")"
      ;;
    *) fail "unknown expectation $expectation" ;;
  esac
}

# env.ini naming the question file $1 of the data folder (stored with "\" for "/"), ten questions.
env_with_question_file() {
  local stored=${data//\//\\}\\$1
  scrambled "$data/env.ini" "0/$stored/10/28/1/0/0/hostile"
}

# env.ini, its shape.
env_empty() { : >"$data/env.ini"; }
env_ten_mb() {
  # Every line of it would do on its own: only one line may be there.
  printf '\r\n' >>"$data/env.ini"
  repeat_to "$data/env.ini" "$TEN_MB" >"$data/big" && mv "$data/big" "$data/env.ini"
}
env_noise() { cp "$work/made/noise" "$data/env.ini"; }
env_one_byte() { printf 'x' >"$data/env.ini"; }
env_end_of_file_byte() { printf '\x1a' >"$data/env.ini"; }
env_plain_text() { printf '%s' "$GOOD_ENV_LINE" >"$data/env.ini"; }
env_missing() { rm "$data/env.ini"; }
env_folder() { rm "$data/env.ini"; mkdir "$data/env.ini"; echo kept >"$data/env.ini/inside"; }
env_decoded() { scrambled "$data/env.ini" "$(env_line_of_length "$1")"; }
env_decoded_281() { env_decoded 281; }
env_decoded_282() { env_decoded 282; }
env_decoded_283() { env_decoded 283; }
env_decoded_284() { env_decoded 284; }
# Stored forms around the limit: a 282-byte line followed by a line end is still one line, a
# lone CR after it is a second piece.
env_stored_284_crlf() { env_decoded 282; printf '\r\n' >>"$data/env.ini"; }
env_stored_283_lf() { env_decoded 282; printf '\n' >>"$data/env.ini"; }
env_stored_283_cr() { env_decoded 282; printf '\r' >>"$data/env.ini"; }
env_stored_283_crlf() { env_decoded 281; printf '\r\n' >>"$data/env.ini"; }
env_stored_285_crlf() { env_decoded 283; printf '\r\n' >>"$data/env.ini"; }
env_two_lines() {
  scrambled "$data/env.ini" "$GOOD_ENV_LINE"
  printf '\r\n' >>"$data/env.ini"
  scrambled "$work/made/second" "$GOOD_ENV_LINE"
  cat "$work/made/second" >>"$data/env.ini"
}
env_control_byte() { scrambled "$data/env.ini" $'1/0/40/12/0/1/0/host\tile'; }
# env.ini, its numbers.
env_line() { scrambled "$data/env.ini" "$1"; }
env_mode_9() { env_line "9/0/40/12/0/1/0/hostile"; }
env_mode_negative() { env_line "-1/0/40/12/0/1/0/hostile"; }
env_source_99() { env_line "1/99/40/12/0/1/0/hostile"; }
env_source_negative() { env_line "1/-3/40/12/0/1/0/hostile"; }
env_source_file_without_path() { env_line "1/15/40/12/0/1/0/hostile"; }
env_source_retry() { env_line "1/16/40/12/0/1/0/hostile"; }
env_count_zero() { env_line "1/0/0/12/0/1/0/hostile"; }
env_count_negative() { env_line "1/0/-7/12/0/1/0/hostile"; }
env_count_huge() { env_line "1/0/99999999999/12/0/1/0/hostile"; }
env_count_letters() { env_line "1/0/abc/12/0/1/0/hostile"; }
env_favourite_100() { env_line "1/0/40/100/0/1/0/hostile"; }
env_favourite_negative() { env_line "1/0/40/-1/0/1/0/hostile"; }
env_favourite_huge() { env_line "1/0/40/99999999999/0/1/0/hostile"; }
env_all_out_of_range() { env_line "7/99/0/-5/1/0/0/hostile"; }
# The question file env.ini names.
question_missing() { env_with_question_file q.vlq; }
question_ten_mb() {
  env_with_question_file q.vlq
  scrambled "$work/made/unit" "0,1,2,3,4,5,6,7,8,9,"
  repeat_to "$work/made/unit" "$TEN_MB" >"$data/q.vlq"
}
question_folder() { env_with_question_file q.vlq; mkdir "$data/q.vlq"; }
question_empty() { env_with_question_file q.vlq; : >"$data/q.vlq"; }
question_noise() { env_with_question_file q.vlq; cp "$work/made/noise" "$data/q.vlq"; }
question_list() { env_with_question_file q.vlq; scrambled "$data/q.vlq" "$1"; }
question_10000_entries() {
  local entries=() i
  for ((i = 0; i < 10000; i++)); do entries+=($((i % 100))); done
  local IFS=,
  question_list "${entries[*]}"
}
question_negative() { question_list "3,-1,5"; }
question_huge_index() { question_list "3,99999999999"; }
question_index_100() { question_list "0,99,100"; }
question_empty_piece() { question_list "3,,5"; }
question_letters() { question_list "a,b,c"; }
question_trailing_letters() { question_list "12x,7"; }
question_edges() { question_list "0,99,0"; }
# record.dat, its shape.
record_empty() { : >"$data/record.dat"; }
record_ten_mb() {
  repeat_to "$data/record.dat" "$TEN_MB" >"$data/big" && mv "$data/big" "$data/record.dat"
}
record_noise() { cp "$work/made/noise" "$data/record.dat"; }
record_one_byte() { printf 'x' >"$data/record.dat"; }
record_missing() { rm "$data/record.dat"; }
record_folder() {
  rm "$data/record.dat"
  mkdir "$data/record.dat"
  echo kept >"$data/record.dat/inside"
}
record_decoded() { record_of_length "$1" "$data/record.dat"; }
record_decoded_299() { record_decoded 299; }
record_decoded_300() { record_decoded 300; }
record_decoded_301() { record_decoded 301; }
record_plain_text() { printf '%s\r\n' "${GOOD_RECORD_LINES[@]:3}" >"$data/record.dat"; }
# record.dat, its fields.
record_lines() { scrambled "$data/record.dat" "$@"; }
record_bad_numbers() {
  record_lines "big,99999999999,00:00:01,100,普通,26/01/01 00:00" \
    "neg,-5,00:00:01,0,普通,26/01/01 00:00" "letters,abc,x,y,z,w" \
    "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
}
record_four_lines() { record_lines "${GOOD_RECORD_LINES[@]:0:4}"; }
record_six_lines() { record_lines "${GOOD_RECORD_LINES[@]}" "$DEFAULT_RECORD_LINE"; }
record_extra_field() {
  record_lines "${GOOD_RECORD_LINES[@]:0:4}" "noname,0,00:00:00,0,-,00/00/00,00:00"
}
record_empty_date() { record_lines "${GOOD_RECORD_LINES[@]:0:4}" "noname,0,00:00:00,0,-,"; }
record_control_byte() {
  record_lines "${GOOD_RECORD_LINES[@]:0:4}" $'no\tname,0,00:00:00,0,-,00/00/00 00:00'
}
both_empty() { : >"$data/env.ini"; : >"$data/record.dat"; }

started=$SECONDS

# env.ini: the record list must come through every one of these untouched.
run_case "env.ini empty" env_empty "ENV_CORRUPT" default same
run_case "env.ini 10 MB of good lines" env_ten_mb "ENV_CORRUPT" default same
run_case "env.ini binary noise" env_noise "ENV_CORRUPT" default same
run_case "env.ini one byte" env_one_byte "ENV_CORRUPT" default same
run_case "env.ini one end-of-file byte" env_end_of_file_byte "ENV_CORRUPT" default same
run_case "env.ini not scrambled" env_plain_text "ENV_CORRUPT" default same
run_case "env.ini two good lines" env_two_lines "ENV_CORRUPT" default same
run_case "env.ini with a tab in the name" env_control_byte "ENV_CORRUPT" default same
run_case "env.ini missing" env_missing "ENV_MISSING" default same
run_case "env.ini a folder" env_folder "ENV_MISSING ENV_NOT_SAVED" same same
run_case "env.ini line of 281 bytes" env_decoded_281 "" same same
run_case "env.ini line of 282 bytes" env_decoded_282 "" same same
run_case "env.ini line of 283 bytes" env_decoded_283 "ENV_CORRUPT" default same
run_case "env.ini line of 284 bytes" env_decoded_284 "ENV_CORRUPT" default same
# A line end the reader takes into the line itself decodes to a tab, which no line may hold; one
# that only fits the next piece is an empty second line, which is allowed.
run_case "env.ini stored as 281 + CR LF = 283 bytes" env_stored_283_crlf "ENV_CORRUPT" default same
run_case "env.ini stored as 282 + LF = 283 bytes" env_stored_283_lf "" same same
run_case "env.ini stored as 282 + CR = 283 bytes" env_stored_283_cr "ENV_CORRUPT" default same
run_case "env.ini stored as 282 + CR LF = 284 bytes" env_stored_284_crlf "" same same
run_case "env.ini stored as 283 + CR LF = 285 bytes" env_stored_285_crlf "ENV_CORRUPT" default same
# Only the first byte of the mode counts, anything else is 普通, and nothing is written back.
run_case "env.ini mode 9" env_mode_9 "" same same
run_case "env.ini mode -1" env_mode_negative "" same same
run_case "env.ini source 99" env_source_99 "" "line:1/0/40/12/0/1/0/hostile" same
run_case "env.ini source -3" env_source_negative "" "line:1/0/40/12/0/1/0/hostile" same
run_case "env.ini source 15 without a path" env_source_file_without_path "ENV_NO_QUESTION_FILE" \
  "line:1/0/40/12/0/1/0/hostile" same
run_case "env.ini source 16 (a retry run)" env_source_retry "" "line:1/0/40/12/0/1/0/hostile" same
run_case "env.ini count 0" env_count_zero "" "line:1/0/1/12/0/1/0/hostile" same
run_case "env.ini count -7" env_count_negative "" "line:1/0/1/12/0/1/0/hostile" same
run_case "env.ini count 99999999999" env_count_huge "" "line:1/0/100/12/0/1/0/hostile" same
run_case "env.ini count abc" env_count_letters "" "line:1/0/1/12/0/1/0/hostile" same
run_case "env.ini favourite 100" env_favourite_100 "" "line:1/0/40/28/0/1/0/hostile" same
run_case "env.ini favourite -1" env_favourite_negative "" "line:1/0/40/28/0/1/0/hostile" same
run_case "env.ini favourite 99999999999" env_favourite_huge "" "line:1/0/40/28/0/1/0/hostile" same
run_case "env.ini every number out of range" env_all_out_of_range "" \
  "line:0/0/1/28/1/0/0/hostile" same

# The question file env.ini names: a bad one falls back to all poems, and env.ini says so at exit.
fallback="line:0/0/10/28/1/0/0/hostile"
gone=ENV_NO_QUESTION_FILE
run_case "question file missing" question_missing "$gone" "$fallback" same
run_case "question file of 10 MB" question_ten_mb "$gone" "$fallback" same
run_case "question file a folder" question_folder "$gone" "$fallback" same
run_case "question file empty" question_empty "$gone" "$fallback" same
run_case "question file of noise" question_noise "$gone" "$fallback" same
# 10,000 entries do not fit the reader's 500-byte pieces (a file the program makes holds at
# most the hundred poems).
run_case "question file of 10,000 entries" question_10000_entries "$gone" "$fallback" same
run_case "question file with a negative index" question_negative "$gone" "$fallback" same
run_case "question file with a huge index" question_huge_index "$gone" "$fallback" same
run_case "question file with index 100" question_index_100 "$gone" "$fallback" same
run_case "question file with an empty entry" question_empty_piece "$gone" "$fallback" same
# Each entry is read as a forgiving decimal: letters are poem 0. The count comes down to the
# file's size, which is written back at exit.
run_case "question file of letters" question_letters "" "line:0/{q.vlq}/3/28/1/0/0/hostile" same
run_case "question file of 12x,7" question_trailing_letters "" \
  "line:0/{q.vlq}/2/28/1/0/0/hostile" same
run_case "question file of 0,99,0" question_edges "" "line:0/{q.vlq}/3/28/1/0/0/hostile" same

# record.dat: env.ini must come through every one of these untouched.
run_case "record.dat empty" record_empty "RECORD_CORRUPT" same default
run_case "record.dat of 10 MB" record_ten_mb "RECORD_CORRUPT" same default
run_case "record.dat binary noise" record_noise "RECORD_CORRUPT" same default
run_case "record.dat one byte" record_one_byte "RECORD_CORRUPT" same default
run_case "record.dat not scrambled" record_plain_text "RECORD_CORRUPT" same default
run_case "record.dat missing" record_missing "RECORD_UNREADABLE" same default
run_case "record.dat a folder" record_folder "RECORD_UNREADABLE" same same look
run_case "record.dat of 299 bytes" record_decoded_299 "" same same look
run_case "record.dat of 300 bytes" record_decoded_300 "" same same look
run_case "record.dat of 301 bytes" record_decoded_301 "RECORD_CORRUPT" same default look
run_case "record.dat with bad numbers" record_bad_numbers "" same same look
run_case "record.dat of four records" record_four_lines "RECORD_CORRUPT" same default
run_case "record.dat of six records" record_six_lines "" same same look
run_case "record.dat with a seventh field" record_extra_field "RECORD_CORRUPT" same default
run_case "record.dat with an empty date" record_empty_date "RECORD_CORRUPT" same default
run_case "record.dat with a tab in a name" record_control_byte "RECORD_CORRUPT" same default
run_case "env.ini and record.dat both empty" both_empty "ENV_CORRUPT RECORD_CORRUPT" default default

echo "hostile files test passed: $passed cases in $((SECONDS - started)) s"
