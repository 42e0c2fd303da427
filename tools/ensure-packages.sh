#!/usr/bin/env bash
# Installs the Debian packages given as arguments that are not installed yet.
# Sourced or run by ./run and ./test; prints what it does, installs nothing when all are present.
set -euo pipefail

missing=()
for pkg in "$@"; do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$pkg")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "verselane: all ${#} required packages are installed"
  exit 0
fi

echo "verselane: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "verselane: need root or sudo to install ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
if ! "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"; then
  echo "verselane: apt-get install failed; refreshing the package lists and trying again"
  "${as_root[@]}" apt-get update
  "${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
