# Installation layout and the Debian package.
include(GNUInstallDirs)

if(TARGET quarn)
    install(TARGETS quarn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(_res ${CMAKE_SOURCE_DIR}/resources)
install(FILES ${_res}/de.quarn.Quarn.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_res}/de.quarn.Quarn.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(_size 16 32 128)
    if(EXISTS ${_res}/icons/quarn-${_size}.png)
        install(FILES ${_res}/icons/quarn-${_size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps
                RENAME de.quarn.Quarn.png)
    endif()
endforeach()

set(CPACK_PACKAGE_NAME "quarn")
set(CPACK_PACKAGE_VENDOR "Die Quarn-Entwickler")
set(CPACK_PACKAGE_CONTACT "Die Quarn-Entwickler <quarn@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Quarn table and one-time pad for manual ciphering")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "DEB")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
# Libraries are found by dpkg-shlibdeps; the font is looked up by name at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
