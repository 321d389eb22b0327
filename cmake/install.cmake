# Installs Zelvora as a desktop application (program, menu entry, icon, AppStream metainfo,
# manual page) and packs the same as a Debian package: `cpack -G DEB` in the build folder.

include(GNUInstallDirs)

# Installing and packing take the program as built; they don't build the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(ZELVORA_APP_ID org.zelvora.Zelvora)
set(ZELVORA_DATA ${PROJECT_SOURCE_DIR}/data)

install(TARGETS zelvora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ZELVORA_DATA}/${ZELVORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZELVORA_DATA}/${ZELVORA_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZELVORA_DATA}/icons/zelvora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs are rendered from the SVG and checked in (rsvg-convert -w N -h N), so building
# needs no renderer.
foreach(size 16 32 48 128)
    install(FILES ${ZELVORA_DATA}/icons/zelvora-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zelvora.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/doc/zelvora.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR}
        RENAME copyright)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvora)
set(CPACK_PACKAGE_VENDOR "The Zelvora developers")
set(CPACK_PACKAGE_CONTACT "The Zelvora developers <maintainers@zelvora.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rename every entry of a folder in one action")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Zelvora renames, in one action, every entry of one folder: pick the folder in the "
    "folder tree, choose a rename type (prefix, suffix, replace, delete characters) and a "
    "running number, check the preview, apply. Nothing is ever replaced.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelvora.org/)
# dpkg-shlibdeps (dpkg-dev) finds the libraries the program links; what Qt loads as plugins
# or reads from the system at run time is recommended by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libqt6svg6, qt6-wayland, qt6-translations-l10n, adwaita-icon-theme, fonts-wqy-microhei,
     xdg-utils")
include(CPack)
