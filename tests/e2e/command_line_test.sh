#!/usr/bin/env bash
# The command line from outside, with no display at all. --version and --help answer on stdout
# with 0 (also after --display, the one toolkit option taken); a command line the program does
# not understand gets a message and the usage line on stderr and 2, without starting the toolkit
# and without creating anything; output that cannot be written (a full disk, a closed stdout)
# gets a message and 1, for --version, --help and a --history that has lines to print, and the
# history itself is left as it was. --plan prints the plan of a day (--date) in its tab-separated
# lines, new poems by their upper kimariji, read-only; a bad date, or one whose plan would give
# reviews past 9999, is a usage error, a history that cannot be read 1 with a message, and a
# broken verselane.conf is left alone.
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
[[ "$out" == "Usage: verselane [--version] [--help] [--history] [--plan [--date YYYY-MM-DD]]"$'\n'* ]] ||
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
  local expected="verselane: $reason"$'\n'"Usage: verselane [--version] [--help] [--history] [--plan [--date YYYY-MM-DD]]"
  expected+=$'\n'"Try 'verselane --help' for more information."
  [ "$err" = "$expected" ] || fail "verselane $* said on stderr: $err"
}
usage_error "unknown option '--histroy'" --histroy
usage_error "unexpected argument 'extra'" --history extra
usage_error "unexpected argument 'extra'" extra
usage_error "unknown option '--version=2'" --version=2
usage_error "unknown option '-x'" -x --version
usage_error "--display wants a display name" --display
usage_error "'2027-02-30' is no date (YYYY-MM-DD)" --plan --date 2027-02-30
usage_error "'2027-3-01' is no date (YYYY-MM-DD)" --plan --date=2027-3-01
usage_error "'2027-03-01x' is no date (YYYY-MM-DD)" --plan --date 2027-03-01x
usage_error "--date wants a date (YYYY-MM-DD)" --plan --date
# A day whose plan would give next reviews past 9999 (a hundred years on at most) is refused.
too_late="the plan's next reviews would fall after 9999-12-31 (the last date is 9900-01-24)"
usage_error "'9999-12-31' is too late: $too_late" --plan --date 9999-12-31
usage_error "'9900-01-25' is too late: $too_late" --plan --date=9900-01-25
usage_error "--date goes with --plan" --date 2027-03-01
usage_error "--history and --plan cannot go together" --plan --history
[ ! -e "$XDG_DATA_HOME" ] || fail "a usage error created $(find "$XDG_DATA_HOME")"

# The plan without a history: the day's five new poems, those decided by their first kana first
# (poems 18, 22, 57, 70, 77 of むすめふさほせ), each due again a few days on; nothing created.
run 0 --plan --date 2027-03-01
first_five=$(cut -f1,2,3 <<<"$out" | tr '\t\n' ' /')
[ "$first_five" = "18 new -/22 new -/57 new -/70 new -/77 new -/" ] ||
  fail "--plan without a history printed: $out"
[[ "$(sed -n 1p <<<"$out")" =~ ^18$'\t'new$'\t'-$'\t'2027-03-0[2-9]$ ]] ||
  fail "--plan printed a first line of: $(sed -n 1p <<<"$out")"
[ ! -e "$XDG_DATA_HOME" ] || fail "--plan created $(find "$XDG_DATA_HOME")"
run 0 --plan
[ "$(wc -l <<<"$out")" = 5 ] || fail "today's plan without a history printed: $out"
run 0 --plan --date 9900-01-24
! grep -qvE $'\t[0-9]{4}-[0-9]{2}-[0-9]{2}$' <<<"$out" || fail "the last day's plan printed: $out"

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

# Poem 4, answered right on 1 March: due nine days on, before the new poems; on its own day it
# has used one of the day's five new poems. The settings in verselane.conf count; a broken one is
# told, left as it is, and the plan made with the defaults.
run 0 --plan --date 2027-03-10
due_line=$(sed -n 1p <<<"$out")
[[ "$due_line" =~ ^4$'\t'due$'\t'0\.[0-9]{2}$'\t'(20[0-9]{2}-[01][0-9]-[0-3][0-9])$ ]] &&
  [[ "${BASH_REMATCH[1]}" > 2027-03-10 ]] || fail "--plan printed for a due poem: $out"
[ "$(wc -l <<<"$out")" = 6 ] || fail "--plan on 10 March printed: $out"
run 0 --plan --date 2027-03-01
[ "$(cut -f2 <<<"$out" | sort | uniq -c | tr -s ' ')" = " 4 new" ] ||
  fail "--plan on the day of the answer printed: $out"
conf="$XDG_CONFIG_HOME/verselane/verselane.conf"
mkdir -p "${conf%/*}"
printf '[plan]\nnew-per-day=2\n' >"$conf"
run 0 --plan --date 2027-03-10
[ "$(wc -l <<<"$out")" = 3 ] || fail "--plan with two new poems a day printed: $out"
printf '[plan]\nnew-per-day=99\n' >"$conf"
run 0 --plan --date 2027-03-10
[ "$(wc -l <<<"$out")" = 6 ] || fail "--plan with a broken verselane.conf printed: $out"
[[ "$err" == *"verselane.conf is damaged"* ]] || fail "no word of the broken verselane.conf: $err"
[ "$(cat "$conf")" = $'[plan]\nnew-per-day=99' ] || fail "--plan changed verselane.conf"
[ -z "$(ls "${conf%/*}" | grep -v '^verselane.conf$')" ] || fail "--plan set the file aside"
cmp -s "$history" "$work/history.before" || fail "--plan changed the history"
rm "$conf"
write_error ">/dev/full" --plan
head -c 3000 /dev/urandom >"$history"
run 1 --plan
[ -z "$out" ] || fail "--plan printed from a damaged history: $out"
[[ "$err" == "verselane: $history cannot be read"* ]] || fail "--plan said of a damaged history: $err"
echo "command line test passed: --version and --help; usage errors with 2 and no toolkit;" \
  "output that cannot be written with 1; --plan's lines, settings and damaged history"
