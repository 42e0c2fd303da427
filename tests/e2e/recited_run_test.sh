#!/usr/bin/env bash
# A run read aloud: with [voice] recite=true the first question's upper phrase is spoken through
# SDL (its disk driver writes what would be heard into a file), and what came out is speech of
# an upper phrase's length (some seconds of sound, not a click and not a minute). The sound
# effects are off, so the voice is all that is heard. The synthesiser is Open JTalk's open_jtalk
# on PATH, as the program runs it; the voice's cache is made in the private home.
#
# Usage: recited_run_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

test_name="recited run test"
take_arguments "$@" Xvfb xdotool xwininfo python3 open_jtalk

make_scratch_work
start_private_x
use_private_home
# What the device plays goes to a file, at the pace it would be heard.
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/heard.raw"
data="$XDG_DATA_HOME/verselane"
mkdir -p "$data" "$XDG_CONFIG_HOME/verselane"
# One question, poem 4; kimariji limit off, sound effects off.
scrambled "$data/set.vlq" "3"
scrambled "$data/env.ini" "0/${data//\//\\}\\set.vlq/1/28/1/0/0/player"
scrambled "$data/record.dat" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" \
  "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE" "$DEFAULT_RECORD_LINE"
printf '[voice]\nrecite=true\n' >"$XDG_CONFIG_HOME/verselane/verselane.conf"

"$program" >"$work/output.log" 2>&1 &
app_pid=$!
wait_for_titled window "$MAIN_TITLE" "start-up"
xdotool windowfocus --sync "$window" key ctrl+s
wait_answer_box "$window" shown "the first question"
# The whole upper phrase is heard; what was played is all in the file once the program is gone.
sleep 9
stop_program

[ -s "$work/heard.raw" ] || fail "nothing was played: $(cat "$work/output.log")"
# The device plays the format of the built-in sounds: 22050 Hz, 16-bit, mono. The speech is the
# span from the first to the last sample louder than a whisper.
python3 - "$work/heard.raw" <<'PYTHON' || fail "no speech of an upper phrase's length came out"
import array, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
loud = [i for i, s in enumerate(samples) if abs(s) > 500]
seconds = (loud[-1] - loud[0]) / 22050 if loud else 0
print(f"speech: {seconds:.2f} s", file=sys.stderr)
sys.exit(0 if 2.5 <= seconds <= 9 else 1)
PYTHON
echo "PASS: $test_name"
