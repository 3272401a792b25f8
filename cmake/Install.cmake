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
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${xscreensaver_dir}/glidorama\")
")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama-saver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME glidorama.desktop)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/glidorama-settings.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The release notes and the software catalogue's entry keep their own
# history; each release adds an entry there for the version above.
foreach(history packaging/changelog packaging/glidorama-settings.metainfo.xml)
  file(READ ${PROJECT_SOURCE_DIR}/${history} history_text)
  if(NOT history_text MATCHES "(\\(|version=\")${PROJECT_VERSION}[)\"]")
    message(FATAL_ERROR "${history} has no entry for version ${PROJECT_VERSION}")
  endif()
endforeach()

# The manual page (with this version) and the changelog, compressed without
# a time stamp so that two builds make the same package.
configure_file(${PROJECT_SOURCE_DIR}/packaging/glidorama.6 ${PROJECT_BINARY_DIR}/install/glidorama.6 @ONLY)
set(compressed_docs ${PROJECT_BINARY_DIR}/install/glidorama.6.gz ${PROJECT_BINARY_DIR}/install/changelog.gz)
add_custom_command(
  OUTPUT ${compressed_docs}
  COMMAND sh -c "gzip -9nc glidorama.6 > glidorama.6.gz"
  COMMAND sh -c "gzip -9nc '${PROJECT_SOURCE_DIR}/packaging/changelog' > changelog.gz"
  DEPENDS ${PROJECT_BINARY_DIR}/install/glidorama.6 ${PROJECT_SOURCE_DIR}/packaging/changelog
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/install
  VERBATIM)
add_custom_target(glidorama_docs DEPENDS ${compressed_docs})
add_dependencies(glidorama glidorama_docs)
install(FILES ${PROJECT_BINARY_DIR}/install/glidorama.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_BINARY_DIR}/install/changelog.gz ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Removes what the last install put down, as listed in install_manifest.txt.
# A staged install (cpack, or DESTDIR) rewrites that list with files that
# are not on this machine, or belong to a package: it leaves a mark, so
# that the uninstall target refuses to remove them.
install(CODE "
  if(\"\$ENV{DESTDIR}\" STREQUAL \"\")
    file(REMOVE \"${PROJECT_BINARY_DIR}/install_manifest.staged\")
  else()
    file(WRITE \"${PROJECT_BINARY_DIR}/install_manifest.staged\" \"\$ENV{DESTDIR}\\n\")
  endif()
")
add_custom_target(uninstall COMMAND ${CMAKE_COMMAND} -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
                  WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)

# cpack -G DEB: the library dependencies come from dpkg-shlibdeps; Qt's X11
# platform plugin is a package of its own.
set(CPACK_PACKAGE_NAME glidorama)
set(CPACK_PACKAGE_VENDOR "Glidorama")
# The project has no mail address yet: .invalid says so (a distribution
# puts its own maintainer here).
set(CPACK_PACKAGE_CONTACT "The Glidorama developers <devel@glidorama.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture screen saver for X11 desktops")
set(CPACK_PACKAGE_DESCRIPTION "Glidorama shows your own pictures gliding, warping, shuffling and floating
across the screen. It runs under XScreenSaver, xsecurelock, MATE's and Xfce's
screen savers, or on its own from xautolock or xss-lock.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# libheif is loaded only when a HEIF picture is first read, so
# dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libheif1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xsecurelock | xautolock | xss-lock")
include(CPack)
