# What `cmake --install` puts where.
include(GNUInstallDirs)

# The man page takes its version and one-line description from project(), the
# one place that holds them.
configure_file(man/velkoran.1.in velkoran.1 @ONLY)
set(VELKORAN_MAN_PAGE ${PROJECT_BINARY_DIR}/velkoran.1)

install(TARGETS velkoran RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELKORAN_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
