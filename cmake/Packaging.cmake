# Debian packages by CPack (scripts/package.sh): qelvane (the program, its data and
# desktop integration), libtolvarin3 (the control library) and libtolvarin-dev (its
# headers, unversioned link, CMake package and Qt Designer plugin).
include(GNUInstallDirs)

# Every package carries the copyright file and the changelog in its documentation folder.
set(DEB_CHANGELOG ${CMAKE_BINARY_DIR}/packaging/changelog)
configure_file(${PROJECT_SOURCE_DIR}/data/desktop/changelog ${DEB_CHANGELOG} @ONLY)
add_custom_command(OUTPUT ${DEB_CHANGELOG}.gz
  COMMAND gzip -9 -n -c ${DEB_CHANGELOG} > ${DEB_CHANGELOG}.gz
  DEPENDS ${DEB_CHANGELOG} VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${DEB_CHANGELOG}.gz)
foreach(component program library development)
  if(component STREQUAL program)
    set(package qelvane)
  elseif(component STREQUAL library)
    set(package libtolvarin3)
  else()
    set(package libtolvarin-dev)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/copyright ${DEB_CHANGELOG}.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program library development)
set(CPACK_PACKAGE_VENDOR "The Qelvane developers")
set(CPACK_PACKAGE_CONTACT "The Qelvane developers <qelvane@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qelvane.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program's use of the control library is declared below, exactly.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${QELVANE_BIN_DIR})

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME qelvane)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION education)
# Besides the libraries it links: the SQLite driver and the desktop's platform plugin
# Qt loads, Qt's Chinese texts, the sound font the tunes are played with, fonts for
# every character of the corpus, and the desktop's opener for exported documents.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS
  "libtolvarin3 (= ${PROJECT_VERSION}), libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, timgm6mb-soundfont, fonts-noto-cjk, xdg-utils")
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "fonts-hanazono, fonts-babelstone-han")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "desktop library of Chinese and foreign poetry
Qelvane (诗词库) keeps Chinese poems by epoch and author and foreign poems by
country and author, each with its notes and the author's biography. The reader
browses, searches titles or texts, keeps favourites, looks up the metre
templates of classical forms, edits authors and poems, exports a poem to a
word-processor document and can let a tune play in the background.

The package holds the program, a sample library, the help, qelvane-mklib to
build a full library of the classical corpus (over 300,000 poems) and
qelvane-coverage.")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libtolvarin3)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# The library's shlibs entry and the ldconfig trigger, as Debian policy has them.
file(WRITE ${CMAKE_BINARY_DIR}/packaging/libtolvarin3/shlibs
  "libtolvarin ${TOLVARIN_VERSION_MAJOR} libtolvarin${TOLVARIN_VERSION_MAJOR} (>= ${PROJECT_VERSION})\n")
file(WRITE ${CMAKE_BINARY_DIR}/packaging/libtolvarin3/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA
  ${CMAKE_BINARY_DIR}/packaging/libtolvarin3/shlibs ${CMAKE_BINARY_DIR}/packaging/libtolvarin3/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "Tolvarin button control for Qt 6 (shared library)
Tolvarin is a push button that paints itself in the desktop's system colours
in one of three schemes, with an optional icon beside its caption, hover,
press and focus looks, and a grey rendering of its icon when disabled.

This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtolvarin-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "libtolvarin3 (= ${PROJECT_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "qt6-tools-dev-tools")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "Tolvarin button control for Qt 6 (development files)
Tolvarin is a push button that paints itself in the desktop's system colours
in one of three schemes, with an optional icon beside its caption.

This package holds the headers, the CMake package (find_package(Tolvarin 3),
target Tolvarin::tolvarin) and the Qt Designer plugin.")

include(CPack)
