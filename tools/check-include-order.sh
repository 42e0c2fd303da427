#!/usr/bin/env bash
# The folders of src/ stand in one order, lowest first; a file may include headers of its own
# folder and of the folders below it, never of one above. The core (everything below ui) includes
# no toolkit header. Prints every include that breaks the order and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/../src"

# Lowest first; the README's layout table lists them in this order.
order=(base catalogue settings records game ui)

rank() {
  local i
  for i in "${!order[@]}"; do
    [ "${order[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}

faults=0
for folder in *; do
  [ -d "$folder" ] || continue
  own=$(rank "$folder")
  if [ "$own" -lt 0 ]; then
    echo "src/$folder: a folder outside the order (${order[*]})"
    faults=$((faults + 1))
    continue
  fi
  # "folder/..." always names one of ours; <folder/...> does when the folder is one of ours
  # (<wx/...> and <sys/...> are the system's).
  while IFS=: read -r file line text; do
    included=$(sed -E 's/.*#\s*include\s*[<"]([^/">]+)\/.*/\1/' <<<"$text")
    theirs=$(rank "$included")
    [[ "$text" =~ \#[[:space:]]*include[[:space:]]*\< ]] && [ "$theirs" -lt 0 ] && continue
    if [ "$theirs" -lt 0 ] || [ "$theirs" -gt "$own" ]; then
      echo "src/$file:$line: $folder includes $included: ${text#*#}"
      faults=$((faults + 1))
    fi
  done < <(grep -rnE '^\s*#\s*include\s*["<][^/">]+/' "$folder" || true)
  if [ "$folder" != ui ]; then
    while IFS= read -r hit; do
      echo "src/$hit: the core includes a toolkit header"
      faults=$((faults + 1))
    done < <(grep -rnE '^\s*#\s*include <(wx|gtk|gdk|glib|SDL)' "$folder" || true)
  fi
done
if [ "$faults" -gt 0 ]; then
  echo "$faults include(s) against the order ${order[*]}"
  exit 1
fi
echo "includes follow the order: ${order[*]}"
