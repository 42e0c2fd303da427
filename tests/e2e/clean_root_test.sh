#!/usr/bin/env bash
# The Debian package on a fresh Debian 12, in the manner of piuparts: in a copy of a minimal root
# that debootstrap makes, `apt-get install ./verselane_….deb` pulls in exactly what the package
# declares it depends on (the same packages apt takes for those names alone, Recommends left out);
# `verselane --version` answers and `verselane --history` reads a history (SQLite is loaded by
# name, so this proves the dependency on it); the program shows its window on the test's X server,
# with the WM_CLASS the desktop entry's StartupWMClass names, opens its help from the installed
# module and starts a run, which loads SDL by name; and `apt-get purge` leaves none of the
# package's files behind.
#
# The root is made once and kept outside the repository, in $VERSELANE_ROOT_CACHE (by default
# /var/cache/verselane-tests), with the packages apt fetched for it; it is made again when it is
# missing or broken. Making it took 1½ to 3 minutes with an empty cache, the whole test about
# 3½ minutes either way (mostly installing the dependencies). Needs root (chroot and mounts);
# without root the test is skipped (77). The root is fetched from the Debian archive this
# system's apt takes its own release from (tools/debian-mirror.sh), or VERSELANE_DEBIAN_MIRROR;
# its security updates from where the system's come, when it has them.
#
# Usage: clean_root_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
here=$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")

if [ "$(id -u)" -ne 0 ]; then
  echo "clean root test skipped: it needs root for chroot and mounts" >&2
  exit 77
fi
# The mounts into the root are the test's own and go with it, however it ends.
if [ -z "${VERSELANE_CLEAN_ROOT_NAMESPACE:-}" ]; then
  VERSELANE_CLEAN_ROOT_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
source "$here/e2e_lib.sh"

take_arguments "$@" debootstrap chroot flock cpack dpkg-deb Xvfb xdotool xprop
seed_tool="$build_dir/e2e-history-seed-tool"
[ -x "$seed_tool" ] || fail "$seed_tool is not built"
cache=${VERSELANE_ROOT_CACHE:-/var/cache/verselane-tests}
mirror_tool="$here/../../tools/debian-mirror.sh"
make_scratch_work

# in_root COMMAND...: run in the root as a fresh login would, with nothing of this environment.
fresh_login=(/usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin HOME=/root
  LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive)
in_root() { chroot "$root" "${fresh_login[@]}" "$@"; }

# The cached root, marked complete once debootstrap has made it. One without the mark (a run cut
# short) or in which apt no longer runs is made again. One test at a time.
cached_root() {
  local made="$cache/bookworm" log="$cache/debootstrap.log"
  if [ -f "$made.complete" ] && chroot "$made" apt-get --version >/dev/null 2>&1; then
    return 0
  fi
  # The system's own archives (the project names none): its release's, and its security one.
  local codename mirror=${VERSELANE_DEBIAN_MIRROR:-} security
  # shellcheck disable=SC1091  # the system's own file
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -z "$mirror" ]; then
    mirror=$("$mirror_tool" "$codename" 2>"$work/mirror.log") ||
      fail "no Debian archive to make the root from: $(cat "$work/mirror.log")" \
        "(or name one in VERSELANE_DEBIAN_MIRROR)"
  fi
  echo "clean root test: making a Debian 12 root in $made from $mirror (a few minutes)" >&2
  rm -rf "$made" "$made.complete"
  debootstrap --variant=minbase bookworm "$made" "$mirror" >"$log" 2>&1 ||
    fail "debootstrap could not make the root: $(tail -n 20 "$log")"
  # A Debian 12 as installed, with its updates, and its security updates when this system has
  # an archive for them.
  printf '%s\n' "deb $mirror bookworm main" "deb $mirror bookworm-updates main" \
    >"$made/etc/apt/sources.list"
  if security=$("$mirror_tool" "$codename-security" 2>/dev/null); then
    echo "deb $security bookworm-security main" >>"$made/etc/apt/sources.list"
  fi
  # No service starts in the root.
  printf '#!/bin/sh\nexit 101\n' >"$made/usr/sbin/policy-rc.d"
  chmod 755 "$made/usr/sbin/policy-rc.d"
  touch "$made.complete"
}

mkdir -p "$cache/archives/partial"
exec 9>"$cache/lock"
flock 9
cached_root
root="$work/root"
cp -a "$cache/bookworm" "$root"
flock -u 9
cp /etc/resolv.conf "$root/etc/resolv.conf"
# debootstrap made the root's own device nodes, and the program reaches the X server through its
# abstract socket, which a chroot shares: only /proc and apt's downloads are mounted in. They are
# taken out before the scratch folder is removed; should that fail, the folder is kept.
unmount_root() {
  umount "$root/var/cache/apt/archives" "$root/proc" 2>/dev/null || true
  if grep -q " $root/" /proc/self/mounts; then keep_work=1; fi
}
on_exit unmount_root
mount -t proc proc "$root/proc"
mount --bind "$cache/archives" "$root/var/cache/apt/archives"
in_root apt-get update >"$work/update.log" 2>&1 || fail "apt-get update: $(tail "$work/update.log")"

# The package, as a user gets it.
cpack -G DEB -B "$work/deb" --config "$build_dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$work/cpack.log")"
package=$(ls "$work"/deb/verselane_*.deb)
cp "$package" "$root/tmp/"
package_in_root=/tmp/$(basename "$package")

# What apt takes for the declared dependencies alone (the first of each choice, as apt picks it)...
# Packages the root already has may be upgraded on the way; only the new ones are compared.
mapfile -t declared < <(dpkg-deb -f "$package" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*)//; s/ //g')
in_root apt-get install -s --no-install-recommends "${declared[@]}" >"$work/simulated.log" 2>&1 ||
  fail "the declared dependencies cannot be installed: $(tail "$work/simulated.log")"
expected=$(sed -n 's/^Inst \([^ ]*\) (.*/\1/p' "$work/simulated.log" | sort)
# ...is what installing the package pulls in.
before=$(in_root dpkg-query -W -f '${Package}\n' | sort)
in_root apt-get install -y --no-install-recommends "$package_in_root" >"$work/install.log" 2>&1 ||
  fail "apt-get install: $(tail -n 20 "$work/install.log")"
after=$(in_root dpkg-query -W -f '${Package}\n' | sort)
pulled=$(comm -13 <(echo "$before") <(echo "$after") | grep -vx verselane || true)
[ "$pulled" = "$expected" ] || fail "the package pulled in other than its dependencies:" \
  "$(diff <(echo "$expected") <(echo "$pulled") | grep '^[<>]' | tr '\n' ' ')"

# --version, and --history from a seeded history.
[ "$(in_root verselane --version)" = "$("$program" --version)" ] ||
  fail "verselane --version in the root: $(in_root verselane --version 2>&1)"
home=/home/player
data="$root$home/.local/share/verselane"
mkdir -p "$data" "$root/run/player"
chmod 700 "$root/run/player"
printf '%s\n' $'7\t1\t4000\t2026-11-01 10:00:00' $'7\t0\t9000\t2026-11-02 10:00:00' |
  "$seed_tool" "$data/history.sqlite3" || fail "the history could not be seeded"
player_env=(HOME=$home XDG_RUNTIME_DIR=/run/player SDL_AUDIODRIVER=dummy)
report=$(in_root "${player_env[@]}" verselane --history 2>"$work/history.err") ||
  fail "verselane --history in the root: $(cat "$work/history.err")"
[[ "$report" == 7$'\t'2$'\t'1$'\t'* ]] || fail "verselane --history printed: $report"

# The window, on an X server of the test's own.
start_private_x
program_log="$work/program.log"
# Started as a command of its own, not through a function, so that $! is the program itself.
chroot "$root" "${fresh_login[@]}" "${player_env[@]}" DISPLAY="$DISPLAY" verselane \
  >"$program_log" 2>&1 &
app_pid=$!
wait_for_titled window "$MAIN_TITLE" "the start in the root" 60
wm_class=$(sed -n 's/^StartupWMClass=//p' "$root/usr/share/applications/org.verselane.Verselane.desktop")
[ -n "$wm_class" ] || fail "the desktop entry names no StartupWMClass"
xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"$" ||
  fail "the window's $(xprop -id "$window" WM_CLASS) does not end with StartupWMClass $wm_class"
xdotool windowfocus --sync "$window" key alt+h
sleep 0.5
xdotool key h
wait_for_titled help " Verselane ヘルプ - はじめに・遊びかた" "the help in the root"
xdotool windowfocus --sync "$window" key ctrl+s
deadline=$((SECONDS + E2E_STEP_TIMEOUT))
until grep -q 'libSDL2-2\.0\.so' "/proc/$app_pid/maps" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "a run started without SDL loaded"
  sleep 0.2
done
stop_program
! grep -q -e "help cannot be shown" -e 'verselane: .*\.so' "$program_log" ||
  fail "the program in the root: $(cat "$program_log")"

# Purged, nothing of the package is left: no file it held, no folder it alone held, nothing named
# after it outside the player's own files (the home and the runtime folder).
owned=$(in_root dpkg-query -L verselane)
in_root apt-get purge -y verselane >"$work/purge.log" 2>&1 ||
  fail "apt-get purge: $(tail "$work/purge.log")"
left=()
while IFS= read -r path; do
  [ -n "$path" ] && [ -e "$root$path" ] || continue
  [ -d "$root$path" ] && in_root dpkg-query -S "$path" >/dev/null 2>&1 && continue
  left+=("$path")
done <<<"$owned"
while IFS= read -r path; do left+=("/$path"); done < <(cd "$root" && find . -xdev \
  -path ./tmp -prune -o -path ./home -prune -o -path ./run -prune -o -path ./proc -prune -o \
  -path ./dev -prune -o \
  -path ./var/cache/apt -prune -o -iname '*verselane*' -printf '%P\n')
(( ${#left[@]} == 0 )) || fail "apt-get purge left behind: ${left[*]}"

echo "clean root test passed: $(basename "$package") pulled in $(wc -l <<<"$pulled") packages," \
  "ran, showed its window and help, and left nothing behind"
