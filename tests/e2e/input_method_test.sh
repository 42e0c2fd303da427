#!/usr/bin/env bash
# Plays the real program through a real Japanese input method, as a player does: Mozc under IBus
# or under Fcitx 5, on an X server, a session bus and a user of the test's own. Romaji keystrokes
# become kana in Mozc's preedit, Enter commits them into the answer box, a second Enter answers.
#
# The data folder holds a question file naming poem 4 (田子の浦に…) three times, so every
# question is known. The first session, in Normal mode, answers the first question in kana, the
# second wrongly, the third with kanji converted by Mozc word by word (富士の, 雪は); then enters
# the record list under a name typed through the input method. The second session, in Reverse
# mode, answers two questions with the upper phrase. Each session ends through the menu's exit;
# afterwards record.dat and env.ini must hold exactly what the sessions should have left.
#
# IBus is set to Mozc before the program starts, as a player who types Japanese keeps it. Fcitx 5
# is left closed, on its keyboard layout: it keeps a state for each text field, so the answer line
# and the rank-in's name field take kana only because the program opens the input method itself.
#
# Usage: input_method_test.sh PATH/TO/verselane PATH/TO/verselane-files BUILD_DIR ibus|fcitx5
# Mozc refuses to run as root, so as root everything runs as an unprivileged uid whose passwd
# entry nss_wrapper provides, inside a private PID namespace that takes every helper down with
# it. When the input method cannot be started the test fails and says why: it never skips.
# VERSELANE_E2E_KEEP=1 keeps the screenshots and logs (the folder is printed at the end).
set -uo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

readonly TEST_UID=4242
readonly POEM_INDEX=3                      # poem 4, 田子の浦に
readonly LOWER_ROMAJI=fujinotakaneniyukihafuritsutsu
readonly UPPER_ROMAJI=tagonouraniuchiidetemirebashirotaeno
readonly FAVOURITE=50                      # not poem 4: its misses cost nothing extra
readonly NAME_ROMAJI=hanako NAME=はなこ
readonly TYPE_DELAY=${TYPE_DELAY:-40}
readonly INPUT_METHOD=${4:-}

log() { echo "[$(date +%T)] $*"; }

case "$INPUT_METHOD" in
  ibus) method_tools=(ibus-daemon ibus) ;;
  fcitx5) method_tools=(fcitx5 fcitx5-remote dbus-send) ;;
  *) echo "usage: $0 PATH/verselane PATH/verselane-files BUILD_DIR ibus|fcitx5" >&2; exit 2 ;;
esac
test_name="input method test ($INPUT_METHOD)"
take_arguments "${@:1:3}" Xvfb xdotool import convert compare dbus-daemon "${method_tools[@]}"

# As root: a private PID namespace, so that nothing started here (mozc_server outlives the input
# method) survives the test. ibus-daemon quits when its parent is PID 1, so a bash is PID 1
# instead.
if [ "$(id -u)" = 0 ] && [ -z "${VERSELANE_IME_IN_NAMESPACE:-}" ]; then
  command -v unshare >/dev/null || fail "unshare (util-linux) is missing"
  VERSELANE_IME_IN_NAMESPACE=1 exec unshare --pid --fork --kill-child --mount-proc \
    bash -c '"$@" & wait $!' input-method-test bash "$0" "$@"
fi

make_scratch_work
on_failure '[ -z "${DISPLAY:-}" ] || import -window root "$work/shots/failure.png" 2>/dev/null
  echo "(screenshots in $work/shots)" >&2
  keep_work=1'
use_private_home
mkdir -p "$XDG_CONFIG_HOME" "$work/shots" "$XDG_DATA_HOME/verselane"
data="$XDG_DATA_HOME/verselane"
question_file="$HOME/poem4.vlq"
program_log="$work/app.log"
export USER=imetest LOGNAME=imetest LANG=C.UTF-8 NO_AT_BRIDGE=1
export DBUS_SESSION_BUS_ADDRESS="unix:path=$XDG_RUNTIME_DIR/bus"
unset SESSION_MANAGER

if [ "$(id -u)" = 0 ]; then
  echo "imetest:x:$TEST_UID:$TEST_UID:input method test:$work/home:/bin/sh" >"$work/passwd"
  echo "imetest:x:$TEST_UID:" >"$work/group"
  as_player=(env LD_PRELOAD=libnss_wrapper.so NSS_WRAPPER_PASSWD="$work/passwd"
             NSS_WRAPPER_GROUP="$work/group" setpriv --reuid=$TEST_UID --regid=$TEST_UID
             --clear-groups)
  [ -e /usr/lib/x86_64-linux-gnu/libnss_wrapper.so ] || ldconfig -p | grep -q libnss_wrapper ||
    fail "libnss_wrapper is not installed (./test installs it)"
else
  as_player=(env)
fi

# --- The input methods --------------------------------------------------------------------------
# Each has its settings written into the player's home (configure_*), is started on the session
# bus and checked to offer Mozc (start_*), and is asked to quit at the end (stop_*).

# Mozc under IBus starts in direct input unless told to open in Hiragana.
configure_ibus() {
  mkdir -p "$HOME/.config/mozc"
  cat >"$HOME/.config/mozc/ibus_config.textproto" <<'IBUS'
engines {
  name : "mozc-jp"
  longname : "Mozc"
  layout : "default"
  layout_variant : ""
  layout_option : ""
  rank : 80
}
active_on_launch: True
IBUS
  export GTK_IM_MODULE=ibus XMODIFIERS=@im=ibus
}

# Mozc draws its own candidate window, so IBus needs no panel.
start_ibus() {
  "${as_player[@]}" ibus-daemon -r --panel=disable >"$work/ibus.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 150); do
    "${as_player[@]}" ibus list-engine >/dev/null 2>&1 && break
    sleep 0.1
  done
  "${as_player[@]}" ibus list-engine 2>/dev/null | grep -q mozc-jp ||
    fail "the input method cannot start: IBus does not answer or offers no Mozc engine" \
      "($(tail -n 3 "$work/ibus.log"))"
  # `ibus engine NAME` may exit 1 although it switched; reading it back tells.
  "${as_player[@]}" ibus engine mozc-jp >/dev/null 2>&1
  [ "$("${as_player[@]}" ibus engine 2>/dev/null)" = mozc-jp ] ||
    fail "the input method cannot start: IBus would not switch to Mozc"
}
stop_ibus() { "${as_player[@]}" ibus exit; }

# One group holding the US keyboard first, so that every text field starts closed, then Mozc,
# the input method the field switches to when opened.
configure_fcitx5() {
  mkdir -p "$HOME/.config/fcitx5"
  cat >"$HOME/.config/fcitx5/profile" <<'FCITX'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=mozc

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=mozc
Layout=

[GroupOrder]
0=Default
FCITX
  # The name of the input method switched to would pop up over the game screen's lower box.
  printf '[Behavior]\nShowInputMethodInformation=False\n' >"$HOME/.config/fcitx5/config"
  export GTK_IM_MODULE=fcitx XMODIFIERS=@im=fcitx
}

# The frontends and helpers that need a desktop session are left out; the X one stays, and the
# classic user interface draws Mozc's candidates. Until Fcitx 5 owns its name on the bus nothing
# may call it: the bus would start a second one of its own, and this one would give up.
start_fcitx5() {
  "${as_player[@]}" fcitx5 --disable=wayland,waylandim,notificationitem,kimpanel,clipboard \
    >"$work/fcitx5.log" 2>&1 &
  local fcitx5_pid=$! offered
  pids+=("$fcitx5_pid")
  for _ in $(seq 150); do
    kill -0 "$fcitx5_pid" 2>/dev/null ||
      fail "the input method cannot start: Fcitx 5 ended ($(tail -n 3 "$work/fcitx5.log"))"
    bus_name_owned org.fcitx.Fcitx5 && break
    sleep 0.1
  done
  bus_name_owned org.fcitx.Fcitx5 ||
    fail "the input method cannot start: Fcitx 5 took no name on the bus within 15 s"
  offered=$("${as_player[@]}" dbus-send --session --print-reply --dest=org.fcitx.Fcitx5 \
    /controller org.fcitx.Fcitx.Controller1.AvailableInputMethods 2>&1) ||
    fail "the input method cannot start: Fcitx 5 does not answer ($offered)"
  [[ "$offered" == *'string "mozc"'* ]] ||
    fail "the input method cannot start: Fcitx 5 offers no Mozc (is fcitx5-mozc installed?)"
}
stop_fcitx5() { "${as_player[@]}" fcitx5-remote -e; }

# Whether a program owns the name $1 on the session bus; asking the bus itself starts nothing.
bus_name_owned() {
  "${as_player[@]}" dbus-send --session --print-reply --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null |
    grep -q "boolean true"
}

# The helpers started here; the program and the X server are the shared clean-up's.
pids=()
on_exit '"stop_$INPUT_METHOD" >/dev/null 2>&1; for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done'

# --- The player's files -------------------------------------------------------------------------
stored_path=${question_file//\//\\}
env_line() { echo "$1/$stored_path/$2/$FAVOURITE/1/0/1/$3"; }
default_record=$DEFAULT_RECORD_LINE
scrambled "$data/record.dat" "$default_record" "$default_record" "$default_record" \
  "$default_record" "$default_record"
scrambled "$question_file" "$POEM_INDEX,$POEM_INDEX,$POEM_INDEX"
scrambled "$data/env.ini" "$(env_line 0 3 たろう)"
"configure_$INPUT_METHOD"
[ "$(id -u)" = 0 ] && chown -R "$TEST_UID:$TEST_UID" "$work"

# --- X, the session bus, the input method -------------------------------------------------------
# The bus starts once DISPLAY is set: it starts services it is asked for with its own
# environment, and an input method without the display would be of no use.
start_private_x "${as_player[@]}"

"${as_player[@]}" dbus-daemon --session --fork --print-pid=1 --address="$DBUS_SESSION_BUS_ADDRESS" \
  >"$work/dbus.pid" || fail "the session bus did not start"
pids+=($(cat "$work/dbus.pid"))

"start_$INPUT_METHOD"
log "$INPUT_METHOD with Mozc on $DISPLAY"

# --- Windows and the screen ---------------------------------------------------------------------
shot=0
snap() {  # NAME: the main window as it is now
  shot=$((shot + 1))
  current="$work/shots/$(printf %02d $shot)-$1.png"
  import -window "$main" "$current" 2>/dev/null || fail "could not take a screenshot"
}
pixel() { convert "$current" -format "%[pixel:p{$1}]" info:; }
# Pixels in a region (WxH+X+Y of the main window, menu bar included) that pass an -fx test.
count_pixels() { convert "$current" -crop "$1" +repage -fx "($2)?1:0" -format "%[fx:round(mean*w*h)]" info:; }

# Regions: the upper phrase's box, and the lower box where the answer line (white while shown),
# the score pop-up (grey-blue) and the expected reading after a miss (red) appear.
readonly UPPER_BOX=320x28+70+35
readonly LOWER_BOX=320x28+70+85
# The answer line's white shows above its text at both ends; the box's panel is cream.
answer_line_shown() {
  [ "$(pixel 78,87)" = "srgb(255,255,255)" ] && [ "$(pixel 382,87)" = "srgb(255,255,255)" ]
}
red_pixels() { count_pixels "$LOWER_BOX" "r-b>0.25"; }
# The hint to players without an input method is the answer line's text in grey (170).
hint_pixels() { count_pixels "$LOWER_BOX" "abs(r-0.667)<0.08 && abs(g-r)<0.02 && abs(b-r)<0.02"; }
blue_pixels() { count_pixels "$LOWER_BOX" "b-r>0.1"; }
ink_pixels() { count_pixels "$1" "r<0.5"; }

wait_question() {  # N: the answer line shown for question N
  for _ in $(seq 100); do
    snap "question$1"
    answer_line_shown && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the run"
    sleep 0.15
  done
  fail "question $1 was not put within 15 s"
}

type_romaji() {  # ROMAJI: typed into Mozc's preedit, then committed with Enter
  xdotool type --delay "$TYPE_DELAY" "$1"
  sleep 0.4
  xdotool key Return
  sleep 0.5
}
convert_word() {  # ROMAJI: typed, converted with Space, the first candidate committed
  xdotool type --delay "$TYPE_DELAY" "$1"
  sleep 0.4
  xdotool key space
  sleep 0.6
  xdotool key Return
  sleep 0.5
}

# Presses Enter to answer and reads the verdict off the lower box: "correct" (the score
# pop-up) or "wrong" (the reading in red).
answer() {  # N
  snap "typed$1"
  answer_line_shown || fail "question $1: the answer line closed before the answer was given" \
    "(the Enter that commits the preedit must not answer)"
  xdotool key Return
  local red blue
  for _ in $(seq 40); do
    sleep 0.1
    snap "answered$1"
    answer_line_shown && continue
    red=$(red_pixels)
    blue=$(blue_pixels)
    if [ "$blue" -gt 300 ] && [ "$red" -lt 50 ]; then verdict=correct; return; fi
    if [ "$red" -gt 300 ] && [ "$blue" -lt 50 ]; then verdict=wrong; return; fi
  done
  fail "question $1: no verdict on the screen after Enter (red $red, blue $blue pixels)"
}

start_program() {
  "${as_player[@]}" "$program" >>"$program_log" 2>&1 &
  app_pid=$!
  wait_for_titled main "$MAIN_TITLE" "at the start"
  xdotool windowfocus --sync "$main"
  sleep 0.5
  grep -q "^verselane: NOTICE" "$program_log" && fail "the program started with a notice"
  log "the program is up (window $main)"
}

exit_program() {
  quit_program "$main" "at the end of the session"
  log "the program ended"
}

# The rank-in asks for a name (typed through the input method, or the offered one kept with an
# empty NAME_ROMAJI), then the record list shows; its default button closes it. The results
# dialog stays until its 閉じる button is clicked.
finish_run() {  # QUESTIONS NAME_ROMAJI
  local results rank_in records
  wait_for_titled results " 全$1問 解答完了" "at the end of the run"
  wait_for_titled rank_in " ランクイン" "after the results: the run should enter the record list"
  # The program opens the input method in the name field within a second of its focus.
  xdotool windowfocus --sync "$rank_in"
  sleep 1.2
  if [ -n "$2" ]; then
    type_romaji "$2"
    [ -n "$(windows_titled " ランクイン")" ] && [ -z "$(windows_titled "$RECORD_LIST_TITLE")" ] ||
      fail "the Enter meant to commit the name's kana entered the name" \
        "(was the input method open in the name field?)"
  fi
  xdotool key Return
  wait_for_titled records "$RECORD_LIST_TITLE" "after the rank-in"
  import -window "$records" "$work/shots/records-$1.png"
  xdotool windowfocus --sync "$records" key Return
  wait_until_gone "$RECORD_LIST_TITLE" "after Enter in the record list"
  # 閉じる: its centre in the dialog's 167 x 171 layout units is at 123, 161.
  click_at "$results" 737 940
  wait_until_gone " 全$1問 解答完了" "after 閉じる in the results"
  sleep 0.3
  snap idle-after-run
  answer_line_shown && fail "the answer line is still shown after the run"
}

# --- Session 1: Normal mode, the lower phrase ---------------------------------------------------
start_program
snap idle
[ "$(ink_pixels "$UPPER_BOX")" -eq 0 ] || fail "the idle screen shows a phrase"
xdotool key ctrl+s

wait_question 1
[ "$(ink_pixels "$UPPER_BOX")" -gt 0 ] || fail "question 1: no kana of the upper phrase revealed"
[ "$(hint_pixels)" -lt 20 ] ||
  fail "question 1: the answer line hints at romaji input although $INPUT_METHOD runs"
type_romaji "$LOWER_ROMAJI"
snap kana-answer
kana_answer="$current"
[ "$(ink_pixels "$LOWER_BOX")" -gt 100 ] || fail "question 1: the committed kana do not show"
answer 1
[ "$verdict" = correct ] ||
  fail "question 1: the kana answer was judged $verdict (did Mozc turn the romaji into kana?)"
log "question 1: kana through Mozc, correct"

wait_question 2
type_romaji aiueo
answer 2
[ "$verdict" = wrong ] || fail "question 2: あいうえお was judged $verdict"
# The reading stays until Enter, which counts only once it has faded in: the red shows from the
# fade's first frames, and an Enter during the fade is dropped, as any key the game does not wait
# for.
wait_screen_still "$main" "question 2: the reading fading in"
xdotool key Return
log "question 2: wrong, the reading shown in red"

wait_question 3
convert_word fujino
type_romaji takaneni
convert_word yukiha
type_romaji furitsutsu
snap kanji-answer
kanji_answer="$current"
differing=$(compare -metric AE -crop "$LOWER_BOX" "$kana_answer" "$kanji_answer" null: 2>&1)
[ "${differing%% *}" -gt 200 ] 2>/dev/null ||
  fail "question 3: the converted answer looks like the kana one (Mozc converted nothing?)"
answer 3
[ "$verdict" = correct ] ||
  fail "question 3: 富士のたかねに雪はふりつつ as converted by Mozc was judged $verdict"
log "question 3: kanji through Mozc's conversion, correct"

finish_run 3 "$NAME_ROMAJI"
exit_program

today=$(date +%y/%m/%d)
records=$("$files_tool" decode "$data/record.dat") || fail "record.dat cannot be read"
first=$(sed -n 1p <<<"$records")
[[ "$first" =~ ^$NAME,([0-9]+),00:0[0-9]:[0-5][0-9],66,普通,$today\ [0-2][0-9]:[0-5][0-9]$ ]] ||
  fail "record.dat's first record is not はなこ's run (2 of 3, Normal, today): $first"
score1=${BASH_REMATCH[1]}
[ "$score1" -gt 0 ] || fail "the first run scored nothing"
[ "$(sed -n 2,5p <<<"$records")" = "$(printf '%s\n' "$default_record" "$default_record" \
  "$default_record" "$default_record")" ] || fail "record.dat's other places changed: $records"

# The name entered becomes the offered one, so env.ini is written anew at exit.
scrambled "$work/expected-env.ini" "$(env_line 0 3 "$NAME")"
cmp -s "$data/env.ini" "$work/expected-env.ini" ||
  fail "env.ini after the first session is not the line expected: $("$files_tool" decode "$data/env.ini")"
# The first start found Mozc: romaji input stays off, and that is kept for later starts.
conf="$XDG_CONFIG_HOME/verselane/verselane.conf"
[ "$(cat "$conf" 2>&1)" = $'[input]\nromaji=false\n[view]\nzoom=1' ] ||
  fail "the first start did not keep romaji input off: verselane.conf holds $(cat "$conf" 2>&1)"
log "session 1: record.dat holds $first; env.ini as expected"

# --- Session 2: Reverse mode, the upper phrase --------------------------------------------------
scrambled "$data/env.ini" "$(env_line 1 2 "$NAME")"
[ "$(id -u)" = 0 ] && chown "$TEST_UID:$TEST_UID" "$data/env.ini"
cp "$data/env.ini" "$work/expected-env.ini"
start_program
xdotool key ctrl+s
for question in 1 2; do
  wait_question "r$question"
  type_romaji "$UPPER_ROMAJI"
  answer "r$question"
  [ "$verdict" = correct ] || fail "Reverse question $question: the upper phrase was judged $verdict"
done
log "session 2: two upper phrases through Mozc, correct"
finish_run 2 ""
exit_program

records=$("$files_tool" decode "$data/record.dat") || fail "record.dat cannot be read"
reverse=$(grep ",逆順," <<<"$records") || fail "record.dat holds no Reverse run: $records"
[[ "$reverse" =~ ^$NAME,([0-9]+),00:0[0-9]:[0-5][0-9],100,逆順,$today\ [0-2][0-9]:[0-5][0-9]$ ]] ||
  fail "the Reverse run's record is not as played: $reverse"
score2=${BASH_REMATCH[1]}
if [ "$score2" -gt "$score1" ]; then expected_order="$reverse"$'\n'"$first"
else expected_order="$first"$'\n'"$reverse"; fi
[ "$(sed -n 1,2p <<<"$records")" = "$expected_order" ] ||
  fail "record.dat's first two places are not the two runs, best first: $records"
[ "$(sed -n 3,5p <<<"$records")" = "$(printf '%s\n' "$default_record" "$default_record" \
  "$default_record")" ] || fail "record.dat's last three places changed: $records"
cmp -s "$data/env.ini" "$work/expected-env.ini" ||
  fail "env.ini changed in a session that changed no setting: $("$files_tool" decode "$data/env.ini")"

log "input method test passed: runs of $score1 and $score2 points recorded"
[ "$keep_work" = 1 ] && echo "screenshots and logs kept in $work"
exit 0
