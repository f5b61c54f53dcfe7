# The Debian package, made from the build folder with `cpack -G DEB`.
#
# Its dependencies are computed from the installed binaries by dpkg-shlibdeps.
# It carries no maintainer scripts: the menu, icon and file type caches are
# refreshed by the triggers of desktop-file-utils, hicolor-icon-theme and
# shared-mime-info when files appear in or leave their folders.
set(SKEDLIN_PACKAGE_MAINTAINER "Skedlin developers <developers@skedlin.org>" CACHE STRING
  "Maintainer of the Debian package (also the signer of its changelog)")

# Debian's documentation files: the copyright as it is, the changelog
# compressed without a time stamp.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/debian/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog @ONLY)
set(changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/debian/changelog.gz)
skedlin_gzip(${CMAKE_CURRENT_BINARY_DIR}/debian/changelog ${changelog_gz})
add_custom_target(skedlin_debian_docs ALL DEPENDS ${changelog_gz})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/debian/copyright ${changelog_gz} DESTINATION ${SKEDLIN_INSTALL_DOC_DIR})

set(CPACK_PACKAGE_NAME skedlin)
set(CPACK_PACKAGE_VENDOR "Quenby Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${SKEDLIN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor and builder of calendar packages for handhelds")
# CPack puts the summary above this text as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Skedlin makes calendar packages: small viewer applications for Palm OS and
Pocket PC handhelds that carry a fixed set of events, contacts and groups,
such as a conference programme or a season of fixtures.
.
The package holds the editor (Skedlin), the command-line builder
(SkedlinBuilder), the editor's document on the command line (SkedlinTool),
the installer cabinet maker they use, and the user manual.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${SKEDLIN_HOMEPAGE})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(SKEDLIN_EDITOR)
  # Loaded at run time, so invisible to dpkg-shlibdeps: the editor cannot open
  # a window without Qt's platform plugins, and draws its toolbar and menu
  # icons from SVG through the plugins of libqt6svg6.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
  # The manual opens in the desktop's web browser.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
