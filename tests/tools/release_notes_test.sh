#!/usr/bin/env bash
# The build refuses a release whose notes are older than the help (package-texts notes): in a git
# checkout of its own, a help page committed after the newest release's date, or changed and not
# committed yet, stops it; notes of the next release opened above ("(unreleased)") let it go on,
# and so does a tree without git history, where the check cannot be made.
#
# Usage: release_notes_test.sh PATH/verselane-package-texts
set -euo pipefail
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "release notes test: $*" >&2; exit 1; }

version=$(sed -n 's/^project(Verselane VERSION \([^ ]*\) .*/\1/p' \
  "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../../CMakeLists.txt")
released="Verselane $version (2026-12-08)"$'\n\n'"  * A note."
tree="$work/tree"
mkdir -p "$tree/help"
git -C "$tree" init -q
commit() { # DATE: commits everything on DATE
  git -C "$tree" add -A
  GIT_COMMITTER_DATE="$1T12:00:00Z" GIT_AUTHOR_DATE="$1T12:00:00Z" \
    git -C "$tree" -c user.name=t -c user.email=t@t commit -q -m change
}
# notes EXPECTED: the check passes (0) or stops the build (1), saying why.
notes() {
  local status=0
  "$tool" notes "$tree/NEWS" "$tree/help" "$work/checked" 2>"$work/err" || status=$?
  [ "$status" = "$1" ] || fail "${2:-}: exit $status, not $1: $(cat "$work/err")"
}

echo "$released" >"$tree/NEWS"
echo "<p>a</p>" >"$tree/help/a.html"
commit 2026-12-08
notes 0 "help as old as the release"
echo "<p>b</p>" >"$tree/help/a.html"
notes 1 "help edited after the release"
commit 2026-12-09
notes 1 "help committed after the release"
grep -q "the help changed on 2026-12-09, after the notes of $version (2026-12-08)" "$work/err" ||
  fail "the refusal says: $(cat "$work/err")"
printf 'Verselane 9.99 (unreleased)\n\n  * What changed.\n\n%s\n' "$released" >"$tree/NEWS"
notes 0 "the next release's notes opened"
rm -rf "$tree/.git"
echo "$released" >"$tree/NEWS"
notes 0 "no git history"
echo "release notes test passed"
