# The Debian packages Verselane needs, in one place. Sourced by ./run and ./test, which hand them
# to tools/ensure-packages.sh.
# shellcheck disable=SC2034  # the arrays are used by the scripts that source this file

# Compiler, build tools, wxWidgets, the test and benchmark libraries, and the Japanese fonts whose
# metrics the game screen is laid out for.
VERSELANE_BUILD_PACKAGES=(
  cmake g++ make pkg-config
  libwxgtk3.2-dev libsdl2-dev
  libgtest-dev libgmock-dev googletest
  libbenchmark-dev
  fonts-ipaexfont-gothic fonts-ipafont-gothic
)

# What the tests add: clang with its sanitizer and libFuzzer runtimes for the fuzz targets, a
# virtual X server to run the program in, tools to find, inspect and drive its window (xdotool;
# xwininfo and xprop from x11-utils), and screenshots (imagemagick).
VERSELANE_TEST_PACKAGES=(
  clang libclang-rt-14-dev
  xvfb xauth
  xdotool x11-utils
  imagemagick
)
