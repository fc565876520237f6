# `cpack -G DEB` in the build folder makes glugmo_<version>_<arch>.deb for
# Debian 12 and its derivatives, installing under /usr.
set(CPACK_PACKAGE_NAME glugmo)
set(CPACK_PACKAGE_VENDOR "Glugmo")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop pet that reminds you to drink water")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES TRUE)

set(GLUGMO_DEB_MAINTAINER "Glugmo developers <glugmo@example.org>"
    CACHE STRING "Maintainer field of the .deb")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${GLUGMO_DEB_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary first and indents these lines below it.
set(CPACK_PACKAGE_DESCRIPTION "Glugmo (咕噜宝) is a small animated water drop that stands on your desktop,
reacts when you tap it, talks in speech bubbles and reminds you to drink
water. It lives in the system tray; its menu is also on a right click.")

# The libraries the program links (as dpkg-shlibdeps finds them; Qt at the
# version it was built against) and a font with Chinese glyphs for the
# speech bubbles. Debian's libqt6gui6 carries the X11 platform plugin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 11), libgcc-s1 (>= 3.0), \
libqt6core6 (>= 6.4.0), libqt6gui6 (>= 6.4.0), libqt6widgets6 (>= 6.4.0), \
libqt6dbus6 (>= 6.4.0), libgif7 (>= 5.1.7), libxcb1, libxcb-shape0, \
fonts-wqy-microhei | fonts-noto-cjk")

include(CPack)
