# The Debian packages Verselane needs, in one place. Sourced by ./run and ./test, which hand them
# to tools/ensure-packages.sh.
# shellcheck disable=SC2034  # the arrays are used by the scripts that source this file

# Compiler, build tools (dpkg-buildflags gives the hardening the program is built with),
# wxWidgets with its translations (the help window's and file dialogs' own texts in the
# desktop's language), SQLite (the history of answers), the test and benchmark
# libraries, the Japanese fonts whose metrics the game screen is laid out for, and DejaVu Sans,
# whose bold face stands in for "Arial Black" in the banners and the score pop-up.
VERSELANE_BUILD_PACKAGES=(
  cmake g++ make pkg-config dpkg-dev
  libwxgtk3.2-dev wx3.2-i18n libsdl2-dev libsqlite3-dev
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  fonts-ipaexfont-gothic fonts-ipafont-gothic fonts-dejavu-core
)

# What the tests add: clang with its sanitizer and libFuzzer runtimes for the fuzz targets, a
# virtual X server to run the program in, tools to find, inspect and drive its window (xdotool;
# xwininfo, xprop, xmessage and xev from x11-utils), screenshots (imagemagick), GNU time for
# the resource figures of tools/measure-performance, real Japanese
# input methods to type through: Mozc under IBus and under Fcitx 5 (with its GTK 3 module) on a
# session bus of the test's own (dbus-send asks the bus whether Fcitx 5 has taken its name), run
# as an unprivileged user (Mozc refuses root) whose passwd entry nss_wrapper provides, and a private
# mount namespace for a read-only and a full data folder (unshare from util-linux, mount), the
# SKK input method's generic romaji table that the romaji converter is checked against, the
# validators of the desktop entry and the AppStream metainfo (dpkg-shlibdeps for the package comes
# with the build's dpkg-dev),
# and a Wayland desktop for the program to run on: sway (headless), grim for its screenshots, jq
# to read its window tree, zenity for a window of another program, and the Wayland client, xkb
# and protocol development files (wayland-scanner) that the test's virtual keyboard is built with.
# The package is checked as Debian checks its own: lintian, and an install into a minimal Debian 12
# root that debootstrap makes; man-db reads the manual page as a user sees it.
# The reader's voice: the Open JTalk synthesiser, its dictionary and the voice it reads with
# (the voice is in Debian contrib, which ./test enables through tools/enable-contrib.sh).
VERSELANE_TEST_PACKAGES=(
  clang libclang-rt-14-dev
  xvfb xauth
  xdotool x11-utils
  imagemagick
  time
  ibus ibus-gtk3 ibus-mozc mozc-server dbus-daemon libnss-wrapper
  fcitx5 fcitx5-mozc fcitx5-frontend-gtk3 dbus-bin
  util-linux mount
  appstream desktop-file-utils
  libskk-common
  sway grim jq zenity libwayland-dev libxkbcommon-dev wayland-protocols
  lintian debootstrap man-db
  open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
)
# The keystroke-to-glyph probe of tools/measure-latency sends its keys through XTest.
VERSELANE_TEST_PACKAGES+=(libxtst-dev)
# Ninja builds ./test's three build folders (make does where it is missing).
VERSELANE_TEST_PACKAGES+=(ninja-build)

# Not needed to build or test: the maintainer tools that make the committed pictures, sounds and
# help book of assets/ again (tools/make-assets.sh). The pictures are drawn with Pillow in these
# fonts; the sounds and the help book need only Python's standard library. The build embeds the
# committed files with CMake alone.
VERSELANE_ASSET_TOOL_PACKAGES=(
  python3 python3-pil
  fonts-ipaexfont-gothic fonts-ipaexfont-mincho fonts-dejavu-core fonts-dejavu-extra
)
# The locale data and localedef that the decimal tests build de_DE.UTF-8 and ja_JP.UTF-8 from,
# so that a comma-decimal and a Japanese desktop are tried on every machine.
VERSELANE_TEST_PACKAGES+=(locales libc-bin)
