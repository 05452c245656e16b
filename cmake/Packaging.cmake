# Installing the program with its man page, and the .deb that cpack makes of it.

include(GNUInstallDirs)
install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(NOT CMAKE_CROSSCOMPILING)
  # The man page, vantrel(1): help2man runs the program's --help and
  # --version (through help-for-man.sh, which marks the sections help2man
  # does not know) and adds the description and examples of vantrel.h2m.
  find_program(HELP2MAN help2man REQUIRED)
  find_program(GZIP gzip REQUIRED)
  set(MAN_PAGE ${CMAKE_BINARY_DIR}/vantrel.1)
  add_custom_command(
    OUTPUT ${MAN_PAGE} ${MAN_PAGE}.gz
    COMMAND ${HELP2MAN} --no-info --section=1 "--name=read a battery pack's fuel gauge over SMBus"
            --include=${PROJECT_SOURCE_DIR}/cli/vantrel.h2m --output=${MAN_PAGE}
            "${PROJECT_SOURCE_DIR}/cmake/help-for-man.sh $<TARGET_FILE:vantrel>"
    COMMAND ${GZIP} -9 -n -f -k ${MAN_PAGE}
    DEPENDS vantrel ${PROJECT_SOURCE_DIR}/cli/vantrel.h2m ${PROJECT_SOURCE_DIR}/cmake/help-for-man.sh
    VERBATIM)
  add_custom_target(man_page ALL DEPENDS ${MAN_PAGE})
  install(FILES ${MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  # The completions, where bash-completion and Debian's zsh look for them.
  install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/vantrel.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
          RENAME vantrel)
  install(FILES ${PROJECT_SOURCE_DIR}/cli/completion/_vantrel DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)

  # cpack -G DEB: the program and its man page.
  set(CPACK_PACKAGE_NAME vantrel)
  set(CPACK_PACKAGE_CONTACT "vantrel developers <vantrel@localhost>")
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reads a battery pack's fuel gauge over SMBus")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded at run time by the CP2112 backend, so shlibdeps cannot see it.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libhidapi-hidraw0)
  include(CPack)
endif()
