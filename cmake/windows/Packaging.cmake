# The Windows packages: an installer (NSIS, 64-bit, German) and a portable zip. Both hold the two programs
# side by side in one folder, with the README and the licence as text files.
install(TARGETS quarn quarn-cli RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LIZENZ.txt)

set(CPACK_PACKAGE_NAME "quarn")
set(CPACK_PACKAGE_VENDOR "Die Quarn-Entwickler")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "quarn-${PROJECT_VERSION}-win64")
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_STRIP_FILES ON)
# The installer's own script (NSIS.template.in beside this file) takes the place of CPack's.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Quarn")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Quarn")
set(CPACK_NSIS_PACKAGE_NAME "Quarn ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Quarn")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/icons/quarn.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/icons/quarn.ico)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# The installer's name says what it is; the zip keeps the package's name.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageNames.cmake)
include(CPack)
