#!/usr/bin/env bash
# Figures of the desktop program, measured from outside on an X server of its own (Xvfb, with
# xdotool watching for the window): the time from starting the process to its window being shown
# with the first frame (median of several starts), the resident memory at Idle, and the CPU it
# uses at Idle over 30 seconds.
#
# Usage: tools/measure-ui.sh [PATH/TO/verselane] [STARTS]   (default build/verselane, 10 starts)
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."

program=$(readlink -f "${1:-build/verselane}")
starts=${2:-10}
readonly TITLE=" Verselane"
readonly IDLE_SECONDS=30
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 2; }

work=$(mktemp -d)
pid=
xvfb=
# Ends a process started here: asked first, forced after 5 s.
stop() {
  kill "$1" 2>/dev/null || return 0
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -KILL "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  if [ -n "$pid" ]; then stop "$pid"; fi
  if [ -n "$xvfb" ]; then stop "$xvfb"; fi
  rm -rf "$work"
}
trap cleanup EXIT

# An X server of its own, on a display number the server picks itself (no race with others).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$work/display")"
unset XAUTHORITY

mkdir -p "$work/home" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  SDL_AUDIODRIVER=dummy

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
main_window() { xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -n 1; }
# Waits for the main window, polling every `$1` seconds and answering notices; fails after 20 s.
wait_for_window() {
  local deadline=$(( $(now_ms) + 20000 ))
  until [ -n "$(main_window)" ]; do
    if (( $(now_ms) >= deadline )) || ! kill -0 "$pid" 2>/dev/null; then
      echo "the window did not show; the program's output:" >&2
      cat "$work/program.log" >&2
      exit 1
    fi
    for notice in $(xdotool search --onlyvisible --name '^Notice$' 2>/dev/null); do
      xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
    done
    sleep "$1"
  done
}

# A first start writes env.ini and record.dat after its two notices; later starts show none.
"$program" >"$work/program.log" 2>&1 &
pid=$!
wait_for_window 0.1
stop "$pid"; pid=

times=()
for _ in $(seq "$starts"); do
  start=$(now_ms)
  "$program" >"$work/program.log" 2>&1 &
  pid=$!
  wait_for_window 0.005
  times+=($(( $(now_ms) - start )))
  stop "$pid"; pid=
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to first frame shown: median ${sorted[$(( starts / 2 ))]} ms" \
  "(min ${sorted[0]}, max ${sorted[-1]}, $starts starts)"

"$program" >"$work/program.log" 2>&1 &
pid=$!
wait_for_window 0.05
sleep 3
echo "resident memory at Idle: $(awk '/^VmRSS/ {print $2, $3}' "/proc/$pid/status")" \
  "(peak $(awk '/^VmHWM/ {print $2, $3}' "/proc/$pid/status"))"
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$IDLE_SECONDS"
after=$(ticks)
hertz=$(getconf CLK_TCK)
echo "CPU at Idle over $IDLE_SECONDS s: $(awk -v t=$((after - before)) -v h="$hertz" -v s="$IDLE_SECONDS" \
  'BEGIN { printf "%.2f %% (%d clock ticks)", 100 * t / (h * s), t }')"
