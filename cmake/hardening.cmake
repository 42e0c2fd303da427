# What is shipped is built as Debian builds its packages: with the flags dpkg-buildflags gives
# when every hardening feature is on (fortified string and memory functions, the strong stack
# protector, format checks, read-only relocations bound at start, a position-independent
# executable). The program reads files that players
# hand around (question files, histories), so a flaw in reading them must not become a way in.
# Included by the top-level CMakeLists.txt; verselane_harden(TARGET...) applies the flags.
#
# Only the program, its help module and the libraries they are made of are hardened: the tests'
# own sources keep their quick flags (verselane_test_flags), and the optimisation and debugging
# information stay the build type's.

set(VERSELANE_HARDENING_COMPILE_OPTIONS "")
set(VERSELANE_HARDENING_LINK_OPTIONS "")
find_program(VERSELANE_DPKG_BUILDFLAGS dpkg-buildflags)
if(VERSELANE_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              "${VERSELANE_DPKG_BUILDFLAGS}" --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "dpkg-buildflags --get ${kind} failed")
    endif()
    separate_arguments(flags UNIX_COMMAND "${flags}")
    # -g and -O are the build type's; a file prefix map names the folder the flags were asked in.
    list(FILTER flags EXCLUDE REGEX "^-g|^-O|^-ffile-prefix-map=")
    if(kind STREQUAL "LDFLAGS")
      list(APPEND VERSELANE_HARDENING_LINK_OPTIONS ${flags})
    else()
      list(APPEND VERSELANE_HARDENING_COMPILE_OPTIONS ${flags})
    endif()
  endforeach()
else()
  message(WARNING "dpkg-buildflags (package dpkg-dev) is missing: the program is built without "
                  "Debian's hardening, and its package fails lintian")
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)

# verselane_harden(TARGET...): each target compiled with the hardening flags, and an executable
# or module also linked with them.
function(verselane_harden)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE ${VERSELANE_HARDENING_COMPILE_OPTIONS})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      # A position-independent executable; the libraries it is made of are compiled so already
      # (the compiler's default on Debian), as position-independent code would cost them calls.
      set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    endif()
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "MODULE_LIBRARY")
      target_link_options(${target} PRIVATE ${VERSELANE_HARDENING_LINK_OPTIONS})
    endif()
  endforeach()
endfunction()
