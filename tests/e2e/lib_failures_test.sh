#!/usr/bin/env bash
# The shared helpers of the script tests stop a test where they fail. `fail` inside a command
# substitution ends only the subshell: a test that waited for a window as $(wait_for_titled ...)
# went on without one, and its next screenshot (import -window "") waited for a mouse click
# until ctest's time-out. No X server needed: the window search is stood in for.
set -uo pipefail
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")
source "$here/e2e_lib.sh"

# Runs $1 in a shell that has the helpers, a window " Verselane" (4242) and no other, and the
# program running or not ($2: its pid, or empty); prints what it printed, stdout and stderr.
run_with_helpers() {
  bash -c '
    source "$1/e2e_lib.sh"
    fail() { echo "FAILED: $*"; exit 1; }
    windows_titled() { if [ "$1" = " Verselane" ]; then echo 4242; fi; }
    answer_notices() { :; }
    app_pid=$2
    eval "$3"
  ' helpers "$here" "$2" "$1" 2>&1
}

# A window that is there is put into the variable named.
output=$(run_with_helpers 'wait_for_titled found "$MAIN_TITLE" "at once"; echo "found $found"' $$)
[ "$output" = "found 4242" ] || fail "the main window was not found: $output"

# One that never comes ends the test where it is waited for, also inside a function.
output=$(run_with_helpers 'check() { wait_for_titled found " ランクイン" "never" 1; echo "went on"; }
  check; echo "went on"' $$)
[[ "$output" == "FAILED: no window titled \" ランクイン\" within 1 s (never)" ]] ||
  fail "a missing window did not end the test at once: $output"
output=$(run_with_helpers 'wait_for_titled found " ランクイン" "the program gone"; echo "went on"' "")
[[ "$output" == "FAILED: the program ended while waiting for \" ランクイン\" (the program gone)" ]] ||
  fail "an ended program did not end the test at once: $output"

# The clean-up a script asks for runs when it fails, after what the failure shows: the last hook
# added first, and every hook, also after one that failed under `set -e`.
output=$(bash -c '
  set -euo pipefail
  source "$1/e2e_lib.sh"
  on_exit "echo first added"; on_exit false; on_exit "echo last added"
  on_failure "echo shown"
  fail "on purpose"
  echo "went on"
  ' cleanup "$here" 2>&1)
[ "$output" = "cleanup FAILED: on purpose"$'\n'"shown"$'\n'"last added"$'\n'"first added" ] ||
  fail "the clean-up did not run as asked: $output"

# No script takes a window from a command substitution, where a failure would not stop it.
if grep -n '\$(wait_for_titled' "$here"/*.sh | grep -v "^$here/lib_failures_test.sh:"; then
  fail "wait_for_titled called as \$(...) above: call it with the variable to set"
fi
echo "lib failures test passed"
