# What an installation holds beside the programs (manual pages, bash completion,
# documents, the example settings) and the packages CPack makes from it:
# `--target package` gives pictor_X.Y.Z_amd64.deb on Debian and
# pictor-cli-X.Y.Z-windows-x64.zip from the windows-cli preset.
include(GNUInstallDirs)
set(pictor_docs ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
                ${PROJECT_SOURCE_DIR}/THIRD-PARTY.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

set(CPACK_PACKAGE_NAME pictor)
set(CPACK_PACKAGE_VENDOR "The Pictor authors")
set(CPACK_PACKAGE_CONTACT "The Pictor authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture resources for colour LCD modules")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # A folder to unzip anywhere: the program with its documents beside it.
  install(FILES ${pictor_docs} DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/Pictor.ini DESTINATION examples)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME pictor-cli-${PROJECT_VERSION}-windows-x64)
else()
  # Manual pages, written in scdoc's format and turned into gzipped roff here.
  find_program(PICTOR_SCDOC scdoc)
  set(pictor_pages pictor-cli)
  if(PICTOR_BUILD_SIM)
    list(APPEND pictor_pages pictor-sim)
  endif()
  if(PICTOR_BUILD_GUI)
    list(APPEND pictor_pages pictor)
  endif()
  if(PICTOR_SCDOC)
    set(pictor_page_files "")
    foreach(page IN LISTS pictor_pages)
      set(source ${PROJECT_SOURCE_DIR}/docs/man/${page}.1.scd)
      set(output ${PROJECT_BINARY_DIR}/man/${page}.1.gz)
      add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
        COMMAND sh -c "'${PICTOR_SCDOC}' < '${source}' | gzip -9n > '${output}'"
        DEPENDS ${source} VERBATIM)
      list(APPEND pictor_page_files ${output})
    endforeach()
    add_custom_target(pictor_manual ALL DEPENDS ${pictor_page_files})
    install(FILES ${pictor_page_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  else()
    message(WARNING "scdoc not found (scripts/setup-deps installs it): no manual pages")
  endif()

  # One completion file serves both programs; bash-completion loads it by name.
  foreach(program pictor-cli pictor-sim)
    if(program STREQUAL "pictor-cli" OR PICTOR_BUILD_SIM)
      install(FILES ${PROJECT_SOURCE_DIR}/packaging/completion/pictor.bash
              DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
    endif()
  endforeach()

  # Debian's place for documents, with the licence in its machine-readable form.
  set(pictor_docdir ${CMAKE_INSTALL_DATADIR}/doc/pictor)
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  string(REGEX REPLACE "^MIT License\n\n" "" license "${license}")
  string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
  string(REGEX REPLACE "\n" "\n " PICTOR_LICENSE_BODY " ${license}")
  string(REGEX REPLACE "\n $" "" PICTOR_LICENSE_BODY "${PICTOR_LICENSE_BODY}")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
  install(FILES ${pictor_docs} ${PROJECT_BINARY_DIR}/copyright DESTINATION ${pictor_docdir})
  install(FILES ${PROJECT_SOURCE_DIR}/examples/Pictor.ini DESTINATION ${pictor_docdir}/examples)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "bash-completion")
  # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the long text.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "Pictor prepares picture resources for colour LCD modules (a panel with its own
controller and serial flash on RS485 or a UART) and loads them into the module.
It converts a list of bitmaps into one resource image (Icon.bin with an index
table and Icon.h with a #define per picture, or C source arrays) and downloads
it into the module's flash over a serial line, with progress, read-back
verification and the module's own settings.
.
The package holds the desktop application pictor, the command-line tool
pictor-cli for build scripts and pictor-sim, a simulated module for trying it
without hardware. Licence: MIT (SPDX: MIT).")
endif()

include(CPack)
