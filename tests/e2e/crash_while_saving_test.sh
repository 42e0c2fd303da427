#!/usr/bin/env bash
# A crash or a power cut while env.ini or record.dat is being saved must leave each file exactly as
# it was before the save or exactly as the save meant it, never empty, cut short or gone, and what
# the killed save left behind must not trouble the next start.
#
# 1. e2e-save-loop-tool saves both files over and over through the program's own save code
#    (SettingsController::SaveEnvironment, RecordList::SaveRecordList), alternating between two
#    known versions of each. It is killed with SIGKILL after a random number of microseconds, over
#    and over, so the kills land before, inside and after the writes, the fsyncs and the renames.
#    After every kill each file must be byte for byte one of its two versions. Every 25th kill, and
#    after the last, the real program starts on the folder (with whatever temporary files the
#    kills left there): no notice may come, its window must appear, the temporary files of the
#    dead saves must be cleared away, and it must quit cleanly
#    leaving both files as they were.
# 2. The real program itself is killed at random moments: during a start-up that replaces a
#    corrupt env.ini and record.dat with the defaults, and during a shut-down that writes env.ini
#    back. Each file must then be its old or its new version, and the next start must give exactly
#    the notices the files on disk call for.
#
# Usage: crash_while_saving_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
# Runs on an X server of its own, with HOME and the XDG folders of its own. Set
# VERSELANE_CRASH_SEED to the seed an earlier run printed to draw the same random delays again.
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly KILLS=200
readonly CHECK_EVERY=25
readonly MAX_DELAY_US=60000      # the loop saves both files several times in this span
readonly PROGRAM_KILL_ROUNDS=8   # of each kind: start-up and shut-down
readonly START_TIMEOUT=60        # generous: two shared cores, and a fuzzer beside us
E2E_STEP_TIMEOUT=$START_TIMEOUT

take_arguments "$@" Xvfb xdotool cmp od
save_loop="$build_dir/e2e-save-loop-tool"
[ -x "$save_loop" ] || fail "$save_loop is not an executable (build it first)"

make_scratch_work
loop_pid=
on_exit '[ -z "$loop_pid" ] || kill -KILL "$loop_pid" 2>/dev/null'
on_failure 'show_output "$work/tool.log" "the save loop"'
start_private_x
use_private_home
mkdir -p "$work/versions"
data="$XDG_DATA_HOME/verselane"
mkdir -p "$data"

seed=${VERSELANE_CRASH_SEED:-$(( $(od -An -N4 -tu4 /dev/urandom) % 1000000 ))}
RANDOM=$seed
echo "crash while saving: seed $seed (VERSELANE_CRASH_SEED=$seed draws the same delays)"

# A random number below $1 (up to 2^30).
random_below() { echo $(( ((RANDOM << 15) | RANDOM) % $1 )); }
# Sleeps $1 microseconds.
sleep_us() { sleep "$(printf '%d.%06d' $(($1 / 1000000)) $(($1 % 1000000)))"; }

# --- the files and their versions ---------------------------------------------------------------

"$save_loop" versions "$work/versions" 2>"$work/tool.log" ||
  fail "the save loop tool cannot write its versions"
env_a="$work/versions/env-a.ini"
env_b="$work/versions/env-b.ini"
record_a="$work/versions/record-a.dat"
record_b="$work/versions/record-b.dat"
cmp -s "$env_a" "$env_b" && fail "the two versions of env.ini are the same"
cmp -s "$record_a" "$record_b" && fail "the two versions of record.dat are the same"

printf '%s\n' "$DEFAULT_ENV_LINE" | "$files_tool" encode "$work/versions/env-default.ini"
# ResetRecordList writes the list of five default records, which is version A.
record_default="$record_a"

# Fails unless $1 (a file of the data folder) is byte for byte one of the files $3...; $2 says when.
expect_one_of() {
  local name=$1 when=$2 path="$data/$1"
  shift 2
  [ -e "$path" ] || fail "$name is missing $when"
  [ -f "$path" ] || fail "$name is not a regular file $when"
  [ -s "$path" ] || fail "$name is empty $when"
  local version
  for version in "$@"; do
    cmp -s "$path" "$version" && return 0
  done
  {
    echo "$name $when is none of its versions ($(stat -c %s "$path") bytes):"
    od -c "$path" | head -n 20
    for version in "$@"; do echo "--- $(basename "$version") ($(stat -c %s "$version") bytes)"; done
  } >&2
  fail "$name was damaged $when"
}

# The temporary files the killed saves left beside the two files: their names must never be taken
# for the files themselves.
stray_files() {
  find "$data" -maxdepth 1 -type f \( -name '.env.ini.*' -o -name '.record.dat.*' \) | wc -l
}
check_no_foreign_files() {
  local other
  # The history of answers is a database of its own, with its log while the program runs.
  other=$(find "$data" -mindepth 1 -maxdepth 1 ! -name env.ini ! -name record.dat \
    ! -name '.env.ini.*' ! -name '.record.dat.*' ! -name history.sqlite3 \
    ! -name history.sqlite3-wal ! -name history.sqlite3-shm -printf '%f ')
  [ -z "$other" ] || fail "unexpected files in the data folder $1: $other"
}

# --- driving the real program -------------------------------------------------------------------

# Starts the program in the background with its output in $1.
launch() {
  program_log=$1
  "$program" >"$1" 2>&1 &
  app_pid=$!
}

starts=0
# Starts the program on the data folder as it is, checks the notices it gives are exactly $2...,
# lets it reach its window and quits it as a player would.
start_and_quit() {
  local when=$1 log="$work/start-$starts.log" window
  shift
  starts=$((starts + 1))
  launch "$log"
  wait_for_titled window "$MAIN_TITLE" "$when"
  request_quit "$window" "$when"
  wait_for_exit "$when"
  expect_notices "$log" "$when" "$@"
  if grep -E -e '-CRITICAL \*\*' -e 'assert' "$log" >/dev/null; then
    fail "the program reported errors $when"
  fi
}

# Starts the program on the folder as the kills left it: both files are one of their versions,
# so no notice may come, and as nothing changed they must be exactly as before afterwards.
check_program_start() {
  local when=$1
  cp "$data/env.ini" "$work/env.before"
  cp "$data/record.dat" "$work/record.before"
  start_and_quit "$when"
  (( $(stray_files) == 0 )) || fail "the program left $(stray_files) abandoned temporary files $when"
  cmp -s "$data/env.ini" "$work/env.before" || fail "the program changed env.ini $when"
  cmp -s "$data/record.dat" "$work/record.before" || fail "the program changed record.dat $when"
}

# --- 1. killing the save loop --------------------------------------------------------------------

cp "$env_a" "$data/env.ini"
cp "$record_a" "$data/record.dat"
env_seen_a=0 env_seen_b=0 record_seen_a=0 record_seen_b=0 kills_with_new_stray=0
started=$SECONDS
for ((kill_number = 1; kill_number <= KILLS; kill_number++)); do
  strays_before=$(stray_files)
  exec {loop_output}< <(exec "$save_loop" loop "$data" 2>>"$work/tool.log")
  loop_pid=$!
  line=
  read -r -t "$START_TIMEOUT" -u "$loop_output" line || true
  [ "$line" = "saving" ] || fail "the save loop did not start (kill $kill_number)"
  delay=$(random_below "$MAX_DELAY_US")
  sleep_us "$delay"
  kill -KILL "$loop_pid" 2>/dev/null || true
  status=0
  wait "$loop_pid" || status=$?
  loop_pid=
  exec {loop_output}<&-
  (( status == 128 + 9 )) ||
    fail "the save loop ended with status $status before kill $kill_number reached it"

  when="after kill $kill_number (${delay} µs into the loop)"
  expect_one_of env.ini "$when" "$env_a" "$env_b"
  expect_one_of record.dat "$when" "$record_a" "$record_b"
  check_no_foreign_files "$when"
  if cmp -s "$data/env.ini" "$env_a"; then
    env_seen_a=$((env_seen_a + 1))
  else
    env_seen_b=$((env_seen_b + 1))
  fi
  if cmp -s "$data/record.dat" "$record_a"; then
    record_seen_a=$((record_seen_a + 1))
  else
    record_seen_b=$((record_seen_b + 1))
  fi
  (( $(stray_files) == strays_before )) || kills_with_new_stray=$((kills_with_new_stray + 1))

  if (( kill_number % CHECK_EVERY == 0 || kill_number == KILLS )); then
    check_program_start "$when, with $(stray_files) temporary files left by the kills"
  fi
done
echo "save loop: $KILLS kills in $((SECONDS - started)) s; env.ini ended as A $env_seen_a and B" \
  "$env_seen_b times, record.dat as A $record_seen_a and B $record_seen_b times;" \
  "$kills_with_new_stray kills came inside a write and left its temporary file"
# Without these the kills did not land where they should: the loop never alternated, or no kill
# ever caught a save between creating its temporary file and renaming it.
(( env_seen_a > 0 && env_seen_b > 0 && record_seen_a > 0 && record_seen_b > 0 )) ||
  fail "the kills never left both versions of each file: the loop did not alternate"
(( kills_with_new_stray > 0 )) || fail "no kill landed inside a write"

# --- 2. killing the real program -----------------------------------------------------------------

# Start-up: env.ini and record.dat are corrupt (well-formed scrambled lines the readers refuse),
# so the program tells the player and writes the defaults. The kill comes after 0, 1 or 2 of the
# two notices are answered, a random moment later: before, during or after the writes.
corrupt_env="$work/versions/env-corrupt.ini"
corrupt_record="$work/versions/record-corrupt.dat"
printf '%s\n' "0/0/100/28/1/0/1" | "$files_tool" encode "$corrupt_env"     # no name
printf '%s\n' "noname,0,00:00:00,0,-" | "$files_tool" encode "$corrupt_record"  # one short record
# Shut-down: a count above the source's size is brought into range at start-up and so written back
# at shut-down; record.dat is not written at all.
out_of_range_env="$work/versions/env-count-250.ini"
in_range_env="$work/versions/env-count-100.ini"
printf '%s\n' "0/0/250/28/1/0/0/gamma" | "$files_tool" encode "$out_of_range_env"
printf '%s\n' "0/0/100/28/1/0/0/gamma" | "$files_tool" encode "$in_range_env"

# The notices a start gives for the files as they are now.
notices_for_files() {
  expected=()
  cmp -s "$data/env.ini" "$corrupt_env" && expected+=("$ENV_CORRUPT")
  cmp -s "$data/record.dat" "$corrupt_record" && expected+=("$RECORD_CORRUPT")
  return 0
}

for ((round = 1; round <= PROGRAM_KILL_ROUNDS; round++)); do
  # Start-up.
  cp "$corrupt_env" "$data/env.ini"
  cp "$corrupt_record" "$data/record.dat"
  answered_before_kill=$(random_below 3)
  delay=$(random_below 40000)
  when="after a kill at start-up (round $round, $answered_before_kill notice(s) answered,"
  when+=" ${delay} µs later)"
  launch "$work/startup-kill-$round.log"
  answered=0
  deadline=$((SECONDS + START_TIMEOUT))
  while (( answered < answered_before_kill )); do
    [ $SECONDS -lt $deadline ] || fail "the start-up notices did not come ($when)"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during its start-up ($when)"
    notice=$(xdotool search --onlyvisible --name '^Notice$' 2>/dev/null | head -n 1) || true
    if [ -n "$notice" ]; then
      xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
      answered=$((answered + 1))
      # The same box may still be listed for a moment after it was answered.
      while xdotool search --onlyvisible --name '^Notice$' 2>/dev/null | grep -qx "$notice"; do
        sleep_us 2000
      done
    else
      sleep_us 20000
    fi
  done
  (( answered_before_kill > 0 )) || delay=$((delay * 25))  # from the launch: up to a second
  sleep_us "$delay"
  kill -KILL "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  expect_one_of env.ini "$when" "$corrupt_env" "$work/versions/env-default.ini"
  expect_one_of record.dat "$when" "$corrupt_record" "$record_default"
  notices_for_files
  start_and_quit "at the start after that" "${expected[@]}"
  expect_one_of env.ini "after that start" "$work/versions/env-default.ini"
  expect_one_of record.dat "after that start" "$record_default"

  # Shut-down.
  cp "$out_of_range_env" "$data/env.ini"
  cp "$record_b" "$data/record.dat"
  delay=$(random_below 300000)
  when="after a kill at shut-down (round $round, ${delay} µs after the exit was confirmed)"
  launch "$work/shutdown-kill-$round.log"
  wait_for_titled window "$MAIN_TITLE" "$when"
  request_quit "$window" "$when"
  sleep_us "$delay"
  kill -KILL "$app_pid" 2>/dev/null || true
  wait "$app_pid" 2>/dev/null || true
  app_pid=
  expect_one_of env.ini "$when" "$out_of_range_env" "$in_range_env"
  expect_one_of record.dat "$when" "$record_b"
  start_and_quit "at the start after that"
  expect_one_of env.ini "after that start" "$in_range_env"
  expect_one_of record.dat "after that start" "$record_b"
  check_no_foreign_files "after round $round"
done

echo "crash while saving test passed: $KILLS kills of the save loop, $((PROGRAM_KILL_ROUNDS * 2))" \
  "kills of the program, $starts checked starts, $(stray_files) temporary files left by kills" \
  "in $SECONDS s"
