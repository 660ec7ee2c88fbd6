# What `cmake --install` puts where, and the Debian package cpack builds from it.
include(GNUInstallDirs)

# The man page takes its version and one-line description from project(), the
# one place that holds them.
configure_file(man/velkoran.1.in velkoran.1 @ONLY)
set(VELKORAN_MAN_PAGE ${PROJECT_BINARY_DIR}/velkoran.1)

install(TARGETS velkoran RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELKORAN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(VELKORAN_MAINTAINER "velkoran developers <velkoran@example.org>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")
set(CPACK_PACKAGE_CONTACT ${VELKORAN_MAINTAINER})
# The summary line above this text is project()'s description. Debian wants
# the lines no wider than 80 columns.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "velkoran reads a text file of consecutive measurement blocks, each a\n"
  "header record and one record per wavelength, shows every block on the\n"
  "console and writes a protocol line per measurement. It then writes the\n"
  "data again as two comma-separated tables with one row per wavelength and\n"
  "two columns per measurement. The configuration file Velkoran.cfg in the\n"
  "working directory names every file and gives the counts.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# name_version_architecture.deb, as Debian names its packages.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Debian ships programs stripped; debug information belongs in a package of its own.
set(CPACK_STRIP_FILES ON)
include(CPack)
