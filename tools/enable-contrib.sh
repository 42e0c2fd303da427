#!/usr/bin/env bash
# Makes Debian's contrib area available to apt when one of the packages given as arguments is
# neither installed nor to be had from the areas already enabled (the reader's voice is in
# contrib). Run by ./test only: the tests may change this machine's apt sources, ./run and the
# package never do. Adds a sources file of its own beside the system's and says so; does nothing
# when every package is installed or has a candidate already.
set -euo pipefail

sources_file=/etc/apt/sources.list.d/verselane-contrib.sources

has_candidate() {
  local candidate
  candidate=$(apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: *//p')
  [ -n "$candidate" ] && [ "$candidate" != "(none)" ]
}

unavailable=()
for pkg in "$@"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' && continue
  has_candidate "$pkg" || unavailable+=("$pkg")
done
[ ${#unavailable[@]} -eq 0 ] && exit 0

if [ -e "$sources_file" ]; then
  echo "verselane: ${unavailable[*]} not available although $sources_file exists" >&2
  exit 1
fi

# The Debian archive the system already takes this release from, with its keyring, and this
# release's suites; without one, nothing is added.
# shellcheck disable=SC1091  # the system's own file
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
[ -n "$codename" ] || { echo "verselane: cannot tell the Debian release to enable contrib for" >&2; exit 1; }
mirror=$("$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/debian-mirror.sh" "$codename") || {
  echo "verselane: cannot enable contrib for ${unavailable[*]}" >&2
  exit 1
}
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

echo "verselane: ${unavailable[*]} only in Debian contrib; enabling contrib from $mirror in $sources_file"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "verselane: need root or sudo to enable contrib" >&2; exit 1; }
  as_root=(sudo)
fi
printf 'Types: deb\nURIs: %s\nSuites: %s %s-updates\nComponents: contrib\nSigned-By: %s\n' \
  "$mirror" "$codename" "$codename" "$keyring" | "${as_root[@]}" tee "$sources_file" >/dev/null
"${as_root[@]}" apt-get update
