#!/usr/bin/env bash
# tools/debian-mirror.sh takes the Debian archive from apt's own configuration alone (here one of
# the test's own, through APT_CONFIG): the address that serves the suite's main area, from either
# format of sources, whether or not its lists were fetched; with none it fails saying so and
# prints no address.
set -euo pipefail
tool="$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../../tools/debian-mirror.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "debian mirror test: $*" >&2; exit 1; }

mkdir "$work/sources.list.d"
printf 'Dir::Etc::sourcelist "%s/sources.list";\nDir::Etc::sourceparts "%s/sources.list.d";\n' \
  "$work" "$work" >"$work/apt.conf"
export APT_CONFIG="$work/apt.conf"

: >"$work/sources.list"
if out=$("$tool" bookworm 2>"$work/err"); then fail "no sources, yet it printed: $out"; fi
[ -z "$out" ] || fail "no sources, yet it printed: $out"
grep -q "no source for Debian bookworm (main)" "$work/err" || fail "no sources: $(cat "$work/err")"

printf '%s\n' "deb http://security.example/debian-security bookworm-security main" \
  "deb [arch=amd64] http://contrib.example/debian/ bookworm contrib" >"$work/sources.list"
printf '%s\n' "Types: deb" "URIs: https://mirror.example/debian/" \
  "Suites: bookworm bookworm-updates" "Components: main contrib" >"$work/sources.list.d/a.sources"
for case in "bookworm https://mirror.example/debian" \
  "bookworm-security http://security.example/debian-security"; do
  read -r suite expected <<<"$case"
  out=$("$tool" "$suite") || fail "$suite: it failed"
  [ "$out" = "$expected" ] || fail "$suite: it printed $out, not $expected"
done
if out=$("$tool" trixie 2>/dev/null); then fail "trixie is not configured, yet it printed: $out"; fi
echo "debian mirror test passed"
