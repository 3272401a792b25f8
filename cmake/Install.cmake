# The installed layout: the program in bin/, its samples, their cached
# copies and the layout marker in share/glidorama/, a link where XScreenSaver
# looks for savers, the XScreenSaver settings description, the saver entry
# for MATE and Xfce, the menu entry for the settings, and the icon. An
# installed program keeps each user's files under the XDG folders: the
# marker says so, and the program finds the marker at the relative path
# compiled in below.
include(GNUInstallDirs)
# Installing (and cpack) takes what was built instead of building every
# test and benchmark first; build the program before installing.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(glidorama_shared_dir ${CMAKE_INSTALL_DATADIR}/glidorama)
file(RELATIVE_PATH glidorama_shared_from_program /root/${CMAKE_INSTALL_BINDIR} /root/${glidorama_shared_dir})
target_compile_definitions(glid_platform PRIVATE GLIDORAMA_SHARED_FROM_PROGRAM="${glidorama_shared_from_program}")

install(TARGETS glidorama RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(WRITE ${PROJECT_BINARY_DIR}/install/layout "per-user\n")
install(FILES ${PROJECT_BINARY_DIR}/install/layout DESTINATION ${glidorama_shared_dir})
install(FILES ${sample_sources} DESTINATION ${glidorama_shared_dir}/samples)
install(FILES ${cached_copies} DESTINATION ${glidorama_shared_dir}/Glidorama)

# XScreenSaver runs the savers it lists from libexec/xscreensaver/.
set(xscreensaver_dir ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
file(RELATIVE_PATH glidorama_from_xscreensaver /root/${xscreensaver_dir} /root/${CMAKE_INSTALL_BINDIR}/glidorama)
install(CODE "
  set(link_dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${xscreensaver_dir}\")
  file(MAKE_DIRECTORY \"\${link_dir}\")
  message(STATUS \"Installing: \${link_dir}/glidorama\")
  file(CREATE_LINK \"${glidorama_from_xscreensaver}\" \"\${link_dir}/glidorama\" SYMBOLIC)
")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama-saver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME glidorama.desktop)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# cpack -G DEB: the library dependencies come from dpkg-shlibdeps; Qt's X11
# platform plugin is a package of its own.
set(CPACK_PACKAGE_NAME glidorama)
set(CPACK_PACKAGE_VENDOR "Glidorama")
set(CPACK_PACKAGE_CONTACT "Glidorama developers <glidorama@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture screen saver for X11 desktops")
set(CPACK_PACKAGE_DESCRIPTION "Glidorama shows your own pictures gliding, warping, shuffling and floating
across the screen. It runs under XScreenSaver, xsecurelock, MATE's and Xfce's
screen savers, or on its own from xautolock or xss-lock.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xsecurelock | xautolock | xss-lock")
include(CPack)
