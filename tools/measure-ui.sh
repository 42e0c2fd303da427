#!/usr/bin/env bash
# Figures of the desktop program, measured from outside on an X server of its own: the time from
# starting the process to its window being shown with the first frame (median of several
# starts), the resident memory at Idle, and the CPU it uses at Idle over 30 seconds.
#
# Usage: tools/measure-ui.sh [PATH/TO/verselane] [STARTS]   (default build/verselane, 10 starts)
set -euo pipefail
cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/.."

program=$(readlink -f "${1:-build/verselane}")
starts=${2:-10}
readonly TITLE=" Verselane"
readonly IDLE_SECONDS=30
[ -x "$program" ] || { echo "no program at $program (build it first)" >&2; exit 2; }

if [ -z "${VERSELANE_MEASURE_PRIVATE_X:-}" ]; then
  VERSELANE_MEASURE_PRIVATE_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$program" "$starts"
fi

work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/home" "$work/data" "$work/runtime"
chmod 700 "$work/runtime"
export HOME="$work/home" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work/runtime" \
  SDL_AUDIODRIVER=dummy

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
main_window() { xdotool search --onlyvisible --name "^${TITLE}\$" 2>/dev/null | head -n 1; }

# A first start writes env.ini and record.dat after its two notices; later starts show none.
"$program" >/dev/null 2>&1 &
pid=$!
until [ -n "$(main_window)" ]; do
  for notice in $(xdotool search --onlyvisible --name '^Notice$' 2>/dev/null); do
    xdotool windowfocus --sync "$notice" key Return 2>/dev/null || true
  done
  sleep 0.1
done
kill "$pid"; wait "$pid" 2>/dev/null || true; pid=

times=()
for _ in $(seq "$starts"); do
  start=$(now_ms)
  "$program" >"$work/start.log" 2>&1 &
  pid=$!
  until [ -n "$(main_window)" ]; do sleep 0.005; done
  times+=($(( $(now_ms) - start )))
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start to first frame shown: median ${sorted[$(( starts / 2 ))]} ms" \
  "(min ${sorted[0]}, max ${sorted[-1]}, $starts starts)"

"$program" >/dev/null 2>&1 &
pid=$!
until [ -n "$(main_window)" ]; do sleep 0.05; done
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
