#!/usr/bin/env bash
# Installing like a Linux program: `cmake --install` into a prefix of the test's own puts the
# program, its desktop entry, AppStream metainfo, manual page and icons (16 to 256 pixels) in
# place, and the help window's module in its own folder of the libraries; the desktop entry and the
# metainfo pass their validators; the installed program answers --version and --help without a
# display, starts under X and opens its help window from the installed module. `cpack -G DEB` makes a package that
# holds the same files, depends on the libraries the program links and on which
# `lintian -I --pedantic` finds nothing.
#
# Usage: install_test.sh PATH/verselane PATH/verselane-files BUILD_DIR
set -euo pipefail
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/e2e_lib.sh"

take_arguments "$@" Xvfb xdotool cmake cpack dpkg-deb desktop-file-validate appstreamcli lintian

make_scratch_work

prefix="$work/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 ||
  fail "cmake --install: $(cat "$work/install.log")"
installed=(
  bin/verselane
  share/applications/org.verselane.Verselane.desktop
  share/metainfo/org.verselane.Verselane.metainfo.xml
  share/man/man6/verselane.6.gz
  share/doc/verselane/copyright
  share/doc/verselane/changelog.gz
)
for size in 16 32 48 64 128 256; do
  installed+=("share/icons/hicolor/${size}x${size}/apps/verselane.png")
done
for file in "${installed[@]}"; do
  [ -s "$prefix/$file" ] || fail "$file was not installed"
done
help_module=$(cd "$prefix" && find . -path '*/verselane/verselane-help.so' -printf '%P\n')
[ -n "$help_module" ] || fail "the help window's module was not installed"
installed+=("$help_module")
desktop-file-validate "$prefix/share/applications/org.verselane.Verselane.desktop" ||
  fail "the desktop entry does not validate"
appstreamcli validate --no-net "$prefix/share/metainfo/org.verselane.Verselane.metainfo.xml" ||
  fail "the metainfo does not validate"

[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/verselane" --version)" = "Verselane 2.08" ] ||
  fail "--version without a display"
env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/verselane" --help | grep -q '^Usage: verselane' ||
  fail "--help without a display"

start_private_x
use_private_home
"$prefix/bin/verselane" >"$work/output.log" 2>&1 &
app_pid=$!
wait_for_titled window "$MAIN_TITLE" "the installed program's start"
# ヘルプ(&H) → ヘルプを見る(&H); the program still ends cleanly with its help window open.
xdotool windowfocus --sync "$window" key alt+h
sleep 0.5
xdotool key h
wait_for_titled help " Verselane ヘルプ - はじめに・遊びかた" "the installed program's help"
quit_program "$window" "the installed program's exit"
! grep -q -e "help cannot be shown" -e 'assert "' "$work/output.log" ||
  fail "the installed program's help: $(cat "$work/output.log")"

cpack -G DEB -B "$work/deb" --config "$build_dir/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(tail -n 20 "$work/cpack.log")"
package=$(ls "$work"/deb/verselane_*.deb)
depends=$(dpkg-deb -f "$package" Depends)
for library in libwxgtk3.2 libwxbase3.2 libsdl2 libsqlite3 libstdc++6 fonts-ipaexfont-gothic; do
  [[ "$depends" == *"$library"* ]] || fail "the package does not depend on $library: $depends"
done
contents=$(dpkg-deb -c "$package")
for file in "${installed[@]}"; do
  [[ "$contents" == *"./usr/$file"* ]] || fail "the package lacks /usr/$file"
done
# As Debian checks its own packages, and closer: no finding at all, informational and pedantic
# ones included (an unhardened or unstripped program is one), and no override that would hide
# one. lintian says on stderr that it would rather not run as root, which is no finding about the
# package.
[[ "$contents" != *lintian* ]] || fail "the package holds lintian overrides"
lintian -I --pedantic --fail-on error,warning,info,pedantic "$package" >"$work/lintian.log" \
  2>"$work/lintian.err" || fail "lintian: $(cat "$work/lintian.log" "$work/lintian.err")"
[ ! -s "$work/lintian.log" ] || fail "lintian -I --pedantic: $(cat "$work/lintian.log")"
echo "install test passed: $(basename "$package"), depends on $depends"
