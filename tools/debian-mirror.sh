#!/usr/bin/env bash
# Prints the address of the Debian archive from which this system's apt takes SUITE's main area
# (by default the system's own release, as /etc/os-release names it; or e.g. bookworm-security),
# as the system's own apt sources configure it: the project names no archive of its own. Fails
# with a message when apt has no such source. Used by tools/enable-contrib.sh and the clean root
# test.
#
# Usage: debian-mirror.sh [SUITE]
set -euo pipefail

suite=${1:-}
if [ -z "$suite" ]; then
  # shellcheck disable=SC1091  # the system's own file
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$suite" ] || { echo "verselane: /etc/os-release names no Debian release" >&2; exit 1; }
fi
# Every archive apt is configured with, as apt itself reads /etc/apt/sources.list and
# sources.list.d (both formats), whether or not its lists were fetched yet.
# shellcheck disable=SC2016  # apt expands the $(...) fields itself
mirror=$(apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 2>/dev/null |
  awk -v suite="$suite" '$2 == suite && $3 == "main" { print $1; exit }' || true)
if [ -z "$mirror" ]; then
  echo "verselane: apt on this system has no source for Debian $suite (main), so there is no" \
    "Debian archive to take it from; add the mirror you use to /etc/apt/sources.list.d/" \
    "(see sources.list(5))" >&2
  exit 1
fi
echo "${mirror%/}"
