# The game for Windows: hoplin-<version>-win64.zip, and a 64-bit NSIS installer with a
# Start-menu shortcut and an uninstaller, both of the game's folder (Hoplin.exe, its
# translations and its licence).
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Hoplin)
set(CPACK_PACKAGE_EXECUTABLES Hoplin Hoplin)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME Hoplin)
set(CPACK_NSIS_PACKAGE_NAME Hoplin)
set(CPACK_NSIS_INSTALLED_ICON_NAME Hoplin.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/app/windows/hoplin.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/app/windows/hoplin.ico)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
