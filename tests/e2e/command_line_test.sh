#!/usr/bin/env bash
# The command line from outside, with no display at all. --version and --help answer on stdout
# with 0 (also after --display, the one toolkit option taken); a command line the program does
# not understand gets a message and the usage line on stderr and 2, without starting the toolkit
# and without creating anything; output that cannot be written (a full disk, a closed stdout)
# gets a message and 1, for --version, --help and a --history that has lines to print, and the
# history itself is left as it was.
#
# Usage: command_line_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

take_arguments "$@" timeout cmp
seed_tool="$build_dir/e2e-history-seed-tool"
[ -x "$seed_tool" ] || fail "$seed_tool is not built"
make_scratch_work
unset DISPLAY WAYLAND_DISPLAY
use_private_home

# run EXPECTED-STATUS ARGUMENT...: the program with no display, its output in $out and $err.
# A redirection of stdout may come before the arguments, as ">/dev/full" or ">&-".
run() {
  local expected=$1 redirect=
  shift
  case "${1:-}" in ">"*) redirect=$1; shift ;; esac
  local status=0
  case "$redirect" in
    "") timeout 20 "$program" "$@" >"$work/out" 2>"$work/err" || status=$? ;;
    ">/dev/full") timeout 20 "$program" "$@" >/dev/full 2>"$work/err" || status=$? ;;
    ">&-") timeout 20 "$program" "$@" >&- 2>"$work/err" || status=$? ;;
    *) fail "run: unknown redirection $redirect" ;;
  esac
  out=$(<"$work/out") err=$(<"$work/err")
  : >"$work/out"
  (( status == expected )) ||
    fail "verselane $redirect $* exited $status, not $expected; stderr: $err"
}

# --version and --help, as before.
run 0 --version
[[ "$out" =~ ^Verselane\ [0-9]+\.[0-9]+$ ]] || fail "--version printed: $out"
version=$out
run 0 --help
[[ "$out" == "Usage: verselane [--version] [--help] [--history]"$'\n'* ]] ||
  fail "--help printed: $out"
help=$out
run 0 -h
[ "$out" = "$help" ] || fail "-h is not --help"
run 0 --display :42 --version
[ "$out" = "$version" ] || fail "--version after --display printed: $out"
run 0 --display=:42 --help
[ "$out" = "$help" ] || fail "--help after --display= printed: $out"

# Usage errors: nothing on stdout, the reason and the usage on stderr, and no toolkit (which,
# with no display, would say so).
usage_error() {
  local reason=$1
  shift
  run 2 "$@"
  [ -z "$out" ] || fail "verselane $* printed on stdout: $out"
  local expected="verselane: $reason"$'\n'"Usage: verselane [--version] [--help] [--history]"
  expected+=$'\n'"Try 'verselane --help' for more information."
  [ "$err" = "$expected" ] || fail "verselane $* said on stderr: $err"
}
usage_error "unknown option '--histroy'" --histroy
usage_error "unexpected argument 'extra'" --history extra
usage_error "unexpected argument 'extra'" extra
usage_error "unknown option '--version=2'" --version=2
usage_error "unknown option '-x'" -x --version
usage_error "--display wants a display name" --display
[ ! -e "$XDG_DATA_HOME" ] || fail "a usage error created $(find "$XDG_DATA_HOME")"

# Output that cannot be written.
write_error() {
  run 1 "$@"
  [[ "$err" == "verselane: cannot write the output"* ]] ||
    fail "no message when verselane $* could not write: $err"
}
write_error ">/dev/full" --version
write_error ">/dev/full" --help
write_error ">&-" --version
history="$XDG_DATA_HOME/verselane/history.sqlite3"
mkdir -p "$XDG_DATA_HOME/verselane"
printf '%s\n' $'4\t1\t3000\t2027-03-01 12:00:00' | "$seed_tool" "$history" ||
  fail "the history could not be seeded"
run 0 --history
[ -n "$out" ] || fail "--history printed nothing from a seeded history"
cp "$history" "$work/history.before"
write_error ">/dev/full" --history
write_error ">&-" --history
cmp -s "$history" "$work/history.before" || fail "--history with no stdout changed the history"
echo "command line test passed: --version and --help; usage errors with 2 and no toolkit;" \
  "output that cannot be written with 1"
