#!/usr/bin/env bash
# Makes every picture, sound and the help book of assets/ again, in the order they depend on each
# other (the help book holds a picture of the screen), installing the asset tool packages of
# tools/packages.sh first when they are missing. The build itself only embeds the committed files.
# Arguments go to make-bitmaps.py (e.g. --preview /tmp/screen.png).
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")"

source ./packages.sh
./ensure-packages.sh "${VERSELANE_ASSET_TOOL_PACKAGES[@]}"
/usr/bin/python3 ./make-bitmaps.py "$@"
/usr/bin/python3 ./make-sounds.py
/usr/bin/python3 ./make-help.py
