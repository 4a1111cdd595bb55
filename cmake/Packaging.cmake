# Installation layout and the packages: the .deb on Linux; on Windows the installer and the portable zip.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows/Packaging.cmake)
    return()
endif()

include(GNUInstallDirs)

if(TARGET quarn)
    install(TARGETS quarn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(_res ${CMAKE_SOURCE_DIR}/resources)
install(FILES ${_res}/de.quarn.Quarn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_res}/de.quarn.Quarn.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# File types for pads and cipher texts; the system's mime database is rebuilt from this folder.
install(FILES ${_res}/de.quarn.Quarn.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME de.quarn.Quarn.xml)
foreach(_size 16 24 32 48 64 128 256)
    install(FILES ${_res}/icons/quarn-${_size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
            RENAME de.quarn.Quarn.png)
endforeach()
install(FILES ${_res}/icons/quarn.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME de.quarn.Quarn.svg)

# Manual pages, and the package's changelog, compressed as Debian ships them: gzip -9 without a name or a time
# stamp, so that the same sources give the same bytes.
if(UNIX AND NOT APPLE)
    find_program(QUARN_GZIP gzip REQUIRED)
    set(_docs)
    foreach(_page quarn.1 quarn-cli.1)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/${_page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND ${QUARN_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/man/${_page} > ${CMAKE_BINARY_DIR}/man/${_page}.gz
            DEPENDS ${CMAKE_SOURCE_DIR}/man/${_page}
            VERBATIM)
        list(APPEND _docs ${CMAKE_BINARY_DIR}/man/${_page}.gz)
        install(FILES ${CMAKE_BINARY_DIR}/man/${_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debian
        COMMAND ${QUARN_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/cmake/debian/changelog
                > ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
        DEPENDS ${CMAKE_SOURCE_DIR}/cmake/debian/changelog
        VERBATIM)
    list(APPEND _docs ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
    add_custom_target(quarn_docs ALL DEPENDS ${_docs})
    # Debian's place for a package's licence and history is named after the package, not the project.
    install(FILES ${CMAKE_SOURCE_DIR}/cmake/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarn)
endif()

set(CPACK_PACKAGE_NAME "quarn")
set(CPACK_PACKAGE_VENDOR "Die Quarn-Entwickler")
set(CPACK_PACKAGE_CONTACT "Die Quarn-Entwickler <quarn-entwickler@quarn.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "code table and one-time pad for a historical manual cipher")
# Lines stay under 80 columns; cpack indents them and turns the empty line into a paragraph break.
set(CPACK_PACKAGE_DESCRIPTION [=[
Quarn helps with a historical two-stage manual cipher. A fixed code table,
the Quarn table, turns a German text into digits in five-digit groups; a
one-time pad of 100 random five-digit groups is added to them digit by
digit, modulo 10. Deciphering subtracts the pad and decodes the digits back
into text, exactly as a person working with pencil and paper does.

The package holds the window (quarn), in German, and its command-line
companion for scripts (quarn-cli). Pads come from the system's
cryptographically secure random generator.]=])
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The Debian revision. "0quarn1" marks a package made outside Debian's archive: it sorts below an archive's
# "-1", and no bug report of the archive is closed by it. cmake/debian/changelog must have an entry for
# exactly this version.
set(CPACK_DEBIAN_PACKAGE_RELEASE 0quarn1)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# Libraries are found by dpkg-shlibdeps; the font is looked up by name at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
