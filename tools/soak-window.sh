#!/usr/bin/env bash
# A long look at the real program for what short tests miss: memory that creeps up, file
# descriptors that are never closed, threads that pile up, an Idle that keeps the CPU busy.
#
# The program runs on an X server of the script's own (Xvfb), in temporary HOME and XDG folders,
# so the player's own data folder is never touched. It is left at Idle for IDLE_MINUTES, then
# played for PLAY_MINUTES by xdotool: runs of three questions, all poem 1 (a question file), an
# answer right and one wrong in turn, Enter, the results closed, the rank-in answered with a name
# or with Esc in turn, the record list closed, the next run started. Every SOAK_INTERVAL seconds
# it samples the program's resident memory (VmRSS), open file descriptors (/proc/PID/fd), threads
# and CPU time (utime + stime of /proc/PID/stat).
#
# It fails (exit 1) when, in either phase, the descriptors at the end are more than at the
# phase's start, or the resident memory at the end exceeds the phase's start by more than
# SOAK_RSS_TOLERANCE_KIB, or the CPU at Idle is 1 % or more. A phase's start, for this check, is
# the highest value of its first half: play makes the dialogs, their pictures and fonts in its
# first runs, and memory that grows only then is no leak. The summary also gives the trend of
# the second half, in KiB per minute.
#
# Usage: tools/soak-window.sh [PATH/TO/verselane] [IDLE_MINUTES] [PLAY_MINUTES]
#   defaults: build/verselane, 30 and 10 minutes; 2 and 1 are enough to try the script.
#   verselane-files must lie beside the program (it prepares the question file).
# Environment:
#   SOAK_OUTPUT             folder for samples.csv, summary.md, driver.log and program.log
#                           (default: soak-DATE-TIME beside the program)
#   SOAK_INTERVAL           seconds between samples (default 10)
#   SOAK_RSS_TOLERANCE_KIB  growth allowed in a phase (default 2048)
#   SOAK_DOC                a Markdown file whose "## Soak" section is replaced by the summary
#                           (added at its end when it has none), e.g. docs/performance.md
# Not part of ./test: it takes forty minutes.
set -euo pipefail

repo=$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.." && pwd)
program=$(readlink -f "${1:-$repo/build/verselane}")
idle_minutes=${2:-30}
play_minutes=${3:-10}
interval=${SOAK_INTERVAL:-10}
tolerance=${SOAK_RSS_TOLERANCE_KIB:-2048}
files=$(dirname "$program")/verselane-files
output=${SOAK_OUTPUT:-$(dirname "$program")/soak-$(date +%Y%m%d-%H%M%S)}
readonly TITLE=" Verselane"
# Poem 1's lower phrase: every question is poem 1, so the right answer is known.
readonly READING="わがころもではつゆにぬれつつ"
readonly WRONG="abcd"
readonly RUN_QUESTIONS=3

say() { echo "soak-window: $*" >&2; }
usage() { say "$*"; sed -n '/^# Usage/,/^# Not part/p' "${BASH_SOURCE[0]}" >&2; exit 2; }

[[ "$idle_minutes" =~ ^[0-9]+$ && "$play_minutes" =~ ^[0-9]+$ ]] || usage "minutes must be whole numbers"
((idle_minutes + play_minutes > 0)) || usage "nothing to do in 0 minutes"
[[ "$interval" =~ ^[1-9][0-9]*$ && "$tolerance" =~ ^[0-9]+$ ]] || usage "bad SOAK_INTERVAL or SOAK_RSS_TOLERANCE_KIB"
[ -x "$program" ] || usage "no program at $program (build it first)"
[ -x "$files" ] || usage "no verselane-files beside the program (build the target verselane-files)"
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { say "$tool is missing: install the packages of tools/packages.sh (./test does)"; exit 2; }
done
if [ -e "$output" ] && [ -n "$(ls -A "$output")" ]; then usage "$output exists and is not empty"; fi
mkdir -p "$output"

work=$(mktemp -d)
xvfb=
pid=
sampler=
cleanup() {
  touch "$work/stop" 2>/dev/null || true
  if [ -n "$sampler" ]; then wait "$sampler" 2>/dev/null || true; fi
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# An X server of its own, on a display number far above those that Xvfb -displayfd and
# xvfb-run -a pick (from 0 and from 99): a server started by another test in a private /tmp sees
# none of this one's lock files and could take the same low number, and the abstract socket
# both would listen on is shared.
start_x() {
  local n
  for _ in $(seq 20); do
    n=$((300 + RANDOM % 600))
    if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] ||
        grep -q "@/tmp/.X11-unix/X$n\$" /proc/net/unix; then
      continue
    fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    for _ in $(seq 100); do
      DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1 && break
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.05
    done
    if kill -0 "$xvfb" 2>/dev/null && DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=
  done
  return 1
}
start_x || { say "Xvfb did not start"; exit 1; }
unset XAUTHORITY XMODIFIERS
mkdir -p "$work/home" "$work/data" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
# No sound device and no input-method daemon on a virtual display: the dummy SDL driver and GTK's
# own simple input method stand in.
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
  XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy GTK_IM_MODULE=gtk-im-context-simple \
  LC_ALL=C.UTF-8
data="$work/data/verselane"
hertz=$(getconf CLK_TCK)

# Starts the program and waits for its main window, answering the first start's notices.
start_program() {
  "$program" >>"$output/program.log" 2>&1 &
  pid=$!
  local deadline=$((SECONDS + 30)) notice
  window=
  until window=$(xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -n 1) &&
      [ -n "$window" ]; do
    kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)) ||
      { say "the window did not show"; cat "$output/program.log" >&2; exit 1; }
    for notice in $(xdotool search --onlyvisible --name '^Notice$' 2>/dev/null); do
      xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    done
    sleep 0.2
  done
}
stop_program() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; }

# A first start writes env.ini and record.dat; then the settings of the soak: normal mode, the
# question file, three questions, the rest as a first start leaves them.
start_program
stop_program
"$files" encode "$data/soak.vlq" <<<"0,0,0"
"$files" encode "$data/env.ini" <<<"0/soak.vlq/$RUN_QUESTIONS/28/1/0/1/noname"
: >"$output/program.log"

start_program
sleep 3
niceness=$(awk '{ print $19 }' "/proc/$pid/stat")
say "program $pid, window $window, display $DISPLAY; results in $output"

cpu_ticks() { local f; read -r -a f <"/proc/$pid/stat"; echo $((f[13] + f[14])); }
status_field() { local key value _; while read -r key value _; do
  [ "$key" = "$1:" ] && { echo "$value"; return; }; done <"/proc/$pid/status"; }

# One CSV line per sample; the phase is whatever the main script last wrote to $work/phase.
echo idle >"$work/phase"
echo "seconds,phase,rss_kib,fds,threads,cpu_ticks" >"$output/samples.csv"
sample() {
  local fds=("/proc/$pid/fd/"*)
  echo "$(($(date +%s) - began)),$(<"$work/phase"),$(status_field VmRSS),${#fds[@]},$(status_field Threads),$(cpu_ticks)" \
    >>"$output/samples.csv"
}
began=$(date +%s)
(
  while [ ! -e "$work/stop" ] && kill -0 "$pid" 2>/dev/null; do
    sample
    for _ in $(seq "$interval"); do [ -e "$work/stop" ] && break; sleep 1; done
  done
) &
sampler=$!

# --- Idle ----------------------------------------------------------------------------------------
idle_ticks=$(cpu_ticks) idle_from=${EPOCHREALTIME/[.,]/}
say "Idle for $idle_minutes min"
sleep $((idle_minutes * 60))
idle_ticks=$(($(cpu_ticks) - idle_ticks)) idle_span=$((${EPOCHREALTIME/[.,]/} - idle_from))

# --- Play ----------------------------------------------------------------------------------------
echo play >"$work/phase"
sample
play_ticks=$(cpu_ticks) play_from=${EPOCHREALTIME/[.,]/}
say "playing for $play_minutes min"

counts() { grep -c "^$1" "$output/driver.log" || true; }
: >"$output/driver.log"
turn=0
rank_ins=0
# Answers whatever dialog is up, the topmost first: a notice (or any window not expected) and the
# record list with Enter, the rank-in with a name and Enter or with Esc in turn, and, when only
# the results are left, their close button, after which the next run starts. The windows under
# the topmost stay mapped. True when there was one.
answer_dialogs() {
  local id name results= rank_in= record_list= other= other_name=
  for id in $(xdotool search --onlyvisible --class Marrowfen 2>/dev/null); do
    [ "$id" = "$window" ] && continue
    name=$(xdotool getwindowname "$id" 2>/dev/null) || continue
    case "$name" in
      *解答完了) results=$id ;;
      " ランクイン") rank_in=$id ;;
      " 記録一覧") record_list=$id ;;
      *) other=$id other_name=$name ;;
    esac
  done
  if [ -n "$other" ]; then
    xdotool windowfocus --sync "$other" key Return 2>/dev/null || true
    echo "other window answered: \"$other_name\"" >>"$output/driver.log"
  elif [ -n "$record_list" ]; then
    xdotool windowfocus --sync "$record_list" key Return 2>/dev/null || true
    echo "record list closed" >>"$output/driver.log"
  elif [ -n "$rank_in" ]; then
    if ((rank_ins++ % 2 == 0)); then
      xdotool windowfocus --sync "$rank_in" type --delay 20 "soak" 2>/dev/null || true
      xdotool key Return 2>/dev/null || true
      echo "rank-in named" >>"$output/driver.log"
    else
      xdotool windowfocus --sync "$rank_in" key Escape 2>/dev/null || true
      echo "rank-in cancelled" >>"$output/driver.log"
    fi
  elif [ -n "$results" ]; then
    local WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$results" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
    # 閉じる sits in the bottom right corner.
    xdotool mousemove --window "$results" $((WIDTH - 76)) $((HEIGHT - 23)) click 1 2>/dev/null || true
    echo "results closed" >>"$output/driver.log"
    sleep 0.5
    xdotool windowfocus --sync "$window" key ctrl+s 2>/dev/null || true
  else
    return 1
  fi
  return 0
}

# Ctrl+S (nothing while a run goes on), an answer, Enter, and Enter again after a moment for a
# wrong answer's reading. Timed loosely: a key the game does not want in its phase is dropped,
# so a step that comes early costs nothing.
deadline=$((SECONDS + play_minutes * 60))
while ((SECONDS < deadline)); do
  kill -0 "$pid" 2>/dev/null || { say "the program ended while playing"; break; }
  if answer_dialogs; then sleep 0.5; continue; fi
  xdotool windowfocus --sync "$window" key ctrl+s 2>/dev/null || true
  if ((turn++ % 2 == 0)); then text=$READING; else text=$WRONG; fi
  xdotool type --delay 20 "$text" 2>/dev/null || true
  xdotool key Return 2>/dev/null || true
  echo "answer typed" >>"$output/driver.log"
  sleep 1.2
  xdotool key Return 2>/dev/null || true
  sleep 1.5
done
alive=yes
kill -0 "$pid" 2>/dev/null || alive=no
if [ "$alive" = yes ]; then
  play_ticks=$(($(cpu_ticks) - play_ticks)) play_span=$((${EPOCHREALTIME/[.,]/} - play_from))
  sample
  records=$("$files" decode "$data/record.dat" 2>&1 || true)
fi
touch "$work/stop"
wait "$sampler" || true
sampler=
stop_program

# --- Summary -------------------------------------------------------------------------------------
percent() { awk -v t="$1" -v h="$hertz" -v us="$2" 'BEGIN { printf "%.2f", 100 * t / h / (us / 1e6) }'; }
# Per phase and column: the first value, the highest of the first half, the last, the lowest,
# the highest, and the least-squares trend of the second half per minute.
figures() {
  awk -F, -v phase="$1" -v col="$2" '
    NR > 1 && $2 == phase { t[++n] = $1; v[n] = $col }
    END {
      if (n == 0) { print "- - - - - -"; exit }
      h = int((n + 1) / 2); top = v[1]
      for (i = 1; i <= h; i++) if (v[i] > top) top = v[i]
      min = max = v[1]
      for (i = 1; i <= n; i++) { if (v[i] < min) min = v[i]; if (v[i] > max) max = v[i] }
      for (i = h; i <= n; i++) { m++; st += t[i]; sv += v[i]; stt += t[i] * t[i]; stv += t[i] * v[i] }
      d = m * stt - st * st
      trend = d > 0 ? 60 * (m * stv - st * sv) / d : 0
      printf "%s %s %s %s %s %.0f\n", v[1], top, v[n], min, max, trend
    }' "$output/samples.csv"
}
failures=()
rows=
for phase in idle play; do
  read -r rss_first rss_top rss_last rss_min rss_max rss_trend < <(figures "$phase" 3)
  read -r fd_first fd_top fd_last fd_min fd_max _ < <(figures "$phase" 4)
  read -r _ _ _ th_min th_max _ < <(figures "$phase" 5)
  [ "$rss_first" = - ] && continue
  if ((fd_last > fd_top)); then
    failures+=("$phase: file descriptors grew from $fd_top to $fd_last")
  fi
  if ((rss_last > rss_top + tolerance)); then
    failures+=("$phase: resident memory grew from $rss_top KiB to $rss_last KiB (tolerance $tolerance KiB)")
  fi
  if [ "$phase" = idle ]; then cpu=$(percent "$idle_ticks" "$idle_span") minutes=$idle_minutes
  else cpu=$( [ "$alive" = yes ] && percent "$play_ticks" "$play_span" || echo "-") minutes=$play_minutes; fi
  rows+="| $phase, $minutes min | $rss_first | $rss_top | $rss_last | $rss_min–$rss_max | $rss_trend | $fd_first → $fd_last ($fd_min–$fd_max) | $th_min–$th_max | $cpu % |"$'\n'
done
idle_cpu=$(percent "$idle_ticks" "$idle_span")
if awk -v c="$idle_cpu" 'BEGIN { exit !(c >= 1) }'; then failures+=("CPU at Idle $idle_cpu % (1 % or more)"); fi
[ "$alive" = yes ] || failures+=("the program ended during the soak (see program.log)")
critical=$(grep -c -E 'CRITICAL|assert|Gtk-WARNING' "$output/program.log" || true)

{
  echo "## Soak"
  echo
  echo "\`tools/soak-window.sh $(realpath --relative-to="$repo" "$program" 2>/dev/null || echo "$program") $idle_minutes $play_minutes\`," \
    "$(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPUs, the program at niceness $niceness," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end;"
  echo "a sample every $interval s ($(($(wc -l <"$output/samples.csv") - 1)) samples). Resident memory in KiB;" \
    "\"first-half top\" is the highest value of the phase's first half, against which the end is" \
    "held (tolerance $tolerance KiB); the trend is that of the second half."
  echo
  echo "| Phase | RSS at start | RSS first-half top | RSS at end | RSS range | RSS trend, KiB/min | File descriptors, start → end (range) | Threads | CPU |"
  echo "| --- | --- | --- | --- | --- | --- | --- | --- | --- |"
  printf '%s' "$rows"
  echo
  echo "Play: answers typed $(counts "answer typed"), results closed $(counts "results closed")," \
    "rank-ins $(counts "rank-in") (named $(counts "rank-in named"), cancelled $(counts "rank-in cancelled"))," \
    "record lists closed $(counts "record list closed"), other windows answered $(counts "other window")." \
    "Warnings or assertions in the program's output: $critical."
  if [ -n "${records:-}" ]; then
    echo
    echo "The record list at the end:"
    echo
    echo '```'
    echo "$records"
    echo '```'
  fi
  echo
  if [ ${#failures[@]} -eq 0 ]; then
    echo "Result: passed (descriptors steady, memory within the tolerance, CPU at Idle $idle_cpu %)."
  else
    echo "Result: FAILED:"
    printf -- '- %s\n' "${failures[@]}"
  fi
} >"$output/summary.md"
cat "$output/summary.md"

if [ -n "${SOAK_DOC:-}" ]; then
  doc=$(readlink -f "$SOAK_DOC")
  kept=
  if [ -f "$doc" ]; then kept=$(sed '/^## Soak/,$d' "$doc"); fi
  # One blank line between what stays and the new section.
  { if [ -n "$kept" ]; then printf '%s\n\n' "$kept"; fi; cat "$output/summary.md"; } >"$work/doc"
  cp "$work/doc" "$doc"
  say "wrote the summary into $doc"
fi

[ ${#failures[@]} -eq 0 ]
