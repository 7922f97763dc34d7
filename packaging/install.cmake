# Installation into the standard places of a Linux desktop, and the Debian package built by CPack.
include(GNUInstallDirs)

# The desktop id names the desktop entry, the metainfo and the icons; main.cpp sets the same
# name as the application's desktop file name.
set(QUAVERLINE_APP_ID io.github.quaverline.Quaverline)
set(QUAVERLINE_RELEASE_DATE 2026-12-08)
set(QUAVERLINE_CHANGELOG_DATE "Tue, 08 Dec 2026 12:00:00 +0000")
set(QUAVERLINE_MAINTAINER "Quaverline Developers <quaverline@users.noreply.github.com>"
    CACHE STRING "Maintainer of the Debian package, as Name <address>")

set(packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
set(QUAVERLINE_DESKTOP_FILE ${packaging_out}/${QUAVERLINE_APP_ID}.desktop)
set(QUAVERLINE_METAINFO_FILE ${packaging_out}/${QUAVERLINE_APP_ID}.metainfo.xml)
configure_file(${packaging_src}/${QUAVERLINE_APP_ID}.desktop.in ${QUAVERLINE_DESKTOP_FILE} @ONLY)
configure_file(${packaging_src}/${QUAVERLINE_APP_ID}.metainfo.xml.in ${QUAVERLINE_METAINFO_FILE} @ONLY)
configure_file(${packaging_src}/changelog ${packaging_out}/changelog @ONLY)

# Man page and changelog go in compressed, without a time stamp in the gzip header, as Debian
# expects.
set(gzipped)
foreach(doc ${packaging_src}/quaverline.1 ${packaging_out}/changelog)
  get_filename_component(name ${doc} NAME)
  set(out ${packaging_out}/${name}.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${doc} ${out}
    DEPENDS ${doc}
    COMMENT "Compressing ${name}"
    VERBATIM)
  list(APPEND gzipped ${out})
endforeach()
add_custom_target(quaverline_docs ALL DEPENDS ${gzipped})

# The installed icon is make_icon's output, so building the program draws it.
add_dependencies(quaverline make_icon)

install(TARGETS quaverline RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${QUAVERLINE_DESKTOP_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUAVERLINE_METAINFO_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/quaverline.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME ${QUAVERLINE_APP_ID}.png)
install(FILES ${packaging_src}/icons/quaverline.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${QUAVERLINE_APP_ID}.svg)
install(FILES ${packaging_out}/quaverline.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_src}/copyright ${packaging_out}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Debian package: cpack -G DEB.
set(CPACK_PACKAGE_NAME quaverline)
set(CPACK_PACKAGE_VENDOR "The Quaverline developers")
set(CPACK_PACKAGE_CONTACT "${QUAVERLINE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "piano keyboard that writes BASCOM Sound statements")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUAVERLINE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The program loads libpipewire, libpulse and SDL2 when it opens its sound device, and Qt its
# window-system plugin, at run time, so dpkg-shlibdeps cannot see them. Qt's X11 plugin comes with
# libqt6gui6; the Wayland one, without which a Wayland desktop shows the window through XWayland
# (blurred when scaled), with qt6-wayland. The window's and its menus' font is Liberation Sans
# where MS Sans Serif and Arial are missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsdl2-2.0-0, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, libpipewire-0.3-0, libpulse0")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary above is the synopsis; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Quaverline writes tunes for microcontroller firmware in BASCOM. Every note
played on its two-octave piano keyboard sounds on the sound card and becomes
one BASCOM Sound statement, such as \"Sound Portb.0 , 150 , 349\", in a list.
The list can be re-timed, thinned out, played back and copied to the
clipboard, ready to paste into a BASCOM program.")
include(CPack)
