# A Debian package of the game: `cpack -G DEB` in the build folder.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# On top of the libraries: the Japanese font the dialogs are drawn in, and on Wayland the title
# bar of a window and the OpenGL ES that SDL loads to show it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-ipafont-gothic | fonts-japanese-gothic, libdecor-0-plugin-1-cairo | libdecor-0-plugin-1-gtk, libegl1, libgles2")
