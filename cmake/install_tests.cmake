# What `cmake --install` and the Debian package deliver, checked by running the
# delivered program on the delivered example data, and the man page checked by
# the formatters.
set(velkoran_install_check_args
  ${PROJECT_SOURCE_DIR} ${VELKORAN_MAN_PAGE}
  ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_MANDIR} ${CMAKE_INSTALL_DOCDIR})
add_test(NAME install.prefix
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/prefix.sh
          ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${velkoran_install_check_args})
add_test(NAME install.deb
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/deb.sh
          ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR} ${PROJECT_VERSION} "${PROJECT_DESCRIPTION}"
          ${velkoran_install_check_args})
add_test(NAME install.man_page
  COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/man_page.sh ${VELKORAN_MAN_PAGE})
set_tests_properties(install.prefix install.deb install.man_page PROPERTIES LABELS install)
# Without the Debian tools or a formatter there is nothing to check with.
set_tests_properties(install.deb install.man_page PROPERTIES SKIP_RETURN_CODE 77)
# Both rewrite install_manifest.txt in the build folder, so they take turns.
set_tests_properties(install.prefix install.deb PROPERTIES RESOURCE_LOCK install_manifest)
