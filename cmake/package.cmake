# What the package installs beside the program, and the Debian package itself. Included by the
# top-level CMakeLists.txt after the program's targets.
#
# The manual page, the AppStream metainfo and the Debian changelog are made at build by
# tools/package_texts.cpp: the manual page's options from the program's own option list (the one
# --help prints), the metainfo's releases and the changelog from NEWS, whose newest release must
# be the program's version (the next release's notes above it are left out until it is dated).
# The manual page and the changelog are compressed as Debian wants them
# (gzip -9n: no name or time inside, so a rebuild makes the same bytes).

# The package's maintainer: the contact the program's About box gives.
set(VERSELANE_MAINTAINER "The Verselane developers <support@verselane.example.org>")

add_executable(verselane-package-texts tools/package_texts.cpp src/ui/command_line.cpp)
target_link_libraries(verselane-package-texts PRIVATE verselane_core)
target_include_directories(verselane-package-texts PRIVATE src)
target_compile_definitions(verselane-package-texts PRIVATE
  "VERSELANE_VERSION=\"${PROJECT_VERSION}\"")

set(made "${CMAKE_BINARY_DIR}/package")
set(news "${CMAKE_CURRENT_SOURCE_DIR}/NEWS")
set(assets "${CMAKE_CURRENT_SOURCE_DIR}/assets")
add_custom_command(
  OUTPUT "${made}/verselane.6" "${made}/verselane.6.gz"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${made}"
  COMMAND verselane-package-texts manual "${assets}/verselane.6.in" "${news}" "${made}/verselane.6"
  COMMAND gzip -9nkf "${made}/verselane.6"
  DEPENDS verselane-package-texts "${assets}/verselane.6.in" "${news}"
  COMMENT "Making the manual page" VERBATIM)
add_custom_command(
  OUTPUT "${made}/${VERSELANE_APP_ID}.metainfo.xml"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${made}"
  COMMAND verselane-package-texts metainfo "${assets}/${VERSELANE_APP_ID}.metainfo.xml.in"
          "${news}" "${made}/${VERSELANE_APP_ID}.metainfo.xml"
  DEPENDS verselane-package-texts "${assets}/${VERSELANE_APP_ID}.metainfo.xml.in" "${news}"
  COMMENT "Making the AppStream metainfo" VERBATIM)
add_custom_command(
  OUTPUT "${made}/changelog" "${made}/changelog.gz"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${made}"
  COMMAND verselane-package-texts changelog "${news}" "${VERSELANE_MAINTAINER}" "${made}/changelog"
  COMMAND gzip -9nkf "${made}/changelog"
  DEPENDS verselane-package-texts "${news}"
  COMMENT "Making the Debian changelog" VERBATIM)
# No release whose notes are older than the help: once the help changed after the newest release
# in NEWS was dated, the build stops until the next release's notes are opened above it.
file(GLOB help_sources CONFIGURE_DEPENDS "${assets}/help/*.html" "${assets}/help/*.hh?")
add_custom_command(
  OUTPUT "${made}/notes-checked"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${made}"
  COMMAND verselane-package-texts notes "${news}" "${assets}/help" "${made}/notes-checked"
  DEPENDS verselane-package-texts "${news}" ${help_sources}
  COMMENT "Checking the release notes against the help" VERBATIM)
add_custom_target(verselane-package-files
  DEPENDS "${made}/verselane.6.gz" "${made}/${VERSELANE_APP_ID}.metainfo.xml" "${made}/changelog.gz"
          "${made}/notes-checked")
# Installing takes what is built, and building the program makes these too.
add_dependencies(verselane verselane-package-files)

# Installing: `cmake --install build --prefix DIR` puts the program in DIR/bin, the help window's
# module in a folder of its own among DIR's libraries, the desktop entry and the metainfo under the application's id, the
# manual page in section 6, the icon into the hicolor theme (so desktops list the program under
# Education), and the copyright and changelog where Debian keeps a package's.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS verselane RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(TARGETS verselane-help LIBRARY DESTINATION "${VERSELANE_HELP_MODULE_INSTALL_DIR}"
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# A stripped install (`cmake --install --strip`, and the package) also drops the sections the
# program never reads at run time: the compilers' version notes (.comment, .note), as Debian's
# dh_strip does; the module, loaded by name, keeps only its dynamic symbols.
string(CONFIGURE [[
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(shipped "@CMAKE_INSTALL_BINDIR@/verselane"
                    "@VERSELANE_HELP_MODULE_INSTALL_DIR@/verselane-help.so")
      set(file "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${shipped}")
      set(unneeded "")
      if(shipped MATCHES "\\.so$")
        set(unneeded --strip-unneeded)
      endif()
      execute_process(COMMAND "@CMAKE_STRIP@" --remove-section=.comment --remove-section=.note
                              ${unneeded} "${file}" RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "could not strip ${file}")
      endif()
    endforeach()
  endif()
]] strip_sections @ONLY)
install(CODE "${strip_sections}")
install(FILES "${assets}/${VERSELANE_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${made}/${VERSELANE_APP_ID}.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${made}/verselane.6.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${assets}/copyright" "${made}/changelog.gz"
  DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/verselane")
foreach(icon_size 16 32 48 64 128 256)
  if(icon_size EQUAL 48)
    set(icon_file "${assets}/icon-101.png")
  else()
    set(icon_file "${assets}/icon-101-${icon_size}.png")
  endif()
  install(FILES "${icon_file}" RENAME verselane.png
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${icon_size}x${icon_size}/apps")
endforeach()

# A Debian package: `cpack -G DEB` in build/ makes verselane_<version>_<arch>.deb from the install
# rules, its library dependencies worked out by dpkg-shlibdeps; the fonts the screen is laid out
# for come with it. Installing and packing take what is built; they do not build every test
# first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_PACKAGE_NAME verselane)
set(CPACK_PACKAGE_VENDOR "The Verselane developers")
set(CPACK_PACKAGE_CONTACT "${VERSELANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typing drill for the Hyakunin Isshu, the hundred poems of karuta")
# One string: CPack writes each of its lines as a line of the long description, an empty one
# as the "." between paragraphs (a CMake list would put its ";" into the text).
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Verselane asks poems of the Hyakunin Isshu: one half of a poem, or its poet,\n"
  "is revealed kana by kana while a time bar runs down, and the player types the\n"
  "other half in Japanese, through the input method or in romaji. Quick answers\n"
  "score more, and the five best runs are kept.\n"
  "\n"
  "A history of every answer is replayed through a memory model: today's plan\n"
  "asks each poem again when it is about to be forgotten, with a few new ones a\n"
  "day, and a window shows how well each of the hundred is known, each poem\n"
  "opening on a card with its readings and the player's figures. The prompts can\n"
  "be recited aloud by Open JTalk, as a karuta reader does. A wrong answer shows\n"
  "what was typed beside the reading; the screen is drawn at 100, 150 or 200 %.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A drill for learning the poems by heart, as the desktop entry files it; Debian's games section
# would want the program in /usr/games, off the PATH of a ~/.local install.
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# SDL and SQLite are loaded with dlopen, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libsdl2-2.0-0, libsqlite3-0, fonts-ipaexfont-gothic | fonts-ipafont-gothic, fonts-dejavu-core")
# The reader's voice: without it, reading aloud is offered greyed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "open-jtalk, open-jtalk-mecab-naist-jdic, hts-voice-nitech-jp-atr503-m001")
include(CPack)
