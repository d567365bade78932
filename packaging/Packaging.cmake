# Installation and the Debian package (cmake --build build --target package):
# the three programs, desktop entry, icons, AppStream metainfo, manual pages and manuals.
# Included after every add_subdirectory, so targets made there (vorn4-cli) are known.
include(GNUInstallDirs)

set(VORN4_HOMEPAGE "" CACHE STRING
    "Project web site, when there is one; the AppStream screenshot is expected at its /window.png")
# Without a web site the metainfo names none and shows no screenshot: an address that leads
# nowhere is worse than none.
if(VORN4_HOMEPAGE)
    set(VORN4_HOMEPAGE_METAINFO "  <url type=\"homepage\">${VORN4_HOMEPAGE}</url>
  <screenshots>
    <screenshot type=\"default\">
      <caption>The Advance Map page with the cell in use highlighted</caption>
      <image>${VORN4_HOMEPAGE}/window.png</image>
    </screenshot>
  </screenshots>
")
else()
    set(VORN4_HOMEPAGE_METAINFO "")
endif()
set(VORN4_APP_ID org.vorn4.Vorn4)
set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${gen})

install(TARGETS vorn4 vorn4-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(VORN4_MAN_PAGES vorn4 vorn4-sim)
if(TARGET vorn4-cli)
    install(TARGETS vorn4-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    list(APPEND VORN4_MAN_PAGES vorn4-cli)
endif()

# Icon: the SVG, and PNG sizes rendered from it for desktops that want bitmaps.
find_program(RSVG_CONVERT rsvg-convert)
install(FILES ${pkg}/vorn4.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(VORN4_PACKAGING_OUTPUTS)
if(RSVG_CONVERT)
    foreach(size 16 24 32 48 64 128 256)
        set(png ${gen}/icons/${size}x${size}/vorn4.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${gen}/icons/${size}x${size}
            COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} ${pkg}/vorn4.svg -o ${png}
            DEPENDS ${pkg}/vorn4.svg VERBATIM)
        list(APPEND VORN4_PACKAGING_OUTPUTS ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
else()
    message(STATUS "rsvg-convert not found (librsvg2-bin): the package gets the SVG icon only")
endif()

# Manual pages and the Debian changelog are shipped compressed, as Debian expects.
foreach(page ${VORN4_MAN_PAGES})
    set(gz ${gen}/${page}.1.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND gzip -9n -c ${pkg}/man/${page}.1 > ${gz}
        DEPENDS ${pkg}/man/${page}.1)
    list(APPEND VORN4_PACKAGING_OUTPUTS ${gz})
    install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${gen}/changelog.gz
    COMMAND gzip -9n -c ${pkg}/changelog > ${gen}/changelog.gz
    DEPENDS ${pkg}/changelog)
list(APPEND VORN4_PACKAGING_OUTPUTS ${gen}/changelog.gz)
add_custom_target(vorn4-packaging-files ALL DEPENDS ${VORN4_PACKAGING_OUTPUTS})

configure_file(${pkg}/${VORN4_APP_ID}.metainfo.xml.in ${gen}/${VORN4_APP_ID}.metainfo.xml @ONLY)
install(FILES ${pkg}/${VORN4_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen}/${VORN4_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${VORN4_MANUAL_PDFS} DESTINATION ${VORN4_MANUAL_INSTALL_DIR})
install(FILES ${pkg}/copyright ${gen}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn4)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(VORN4_MAINTAINER "VORN-4 developers <dev@vorn4.example.org>" CACHE STRING
    "Maintainer field of the package")
set(CPACK_PACKAGE_CONTACT ${VORN4_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming and diagnostic tool for the VORN-4 ignition unit")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tunes and diagnoses the VORN-4 digital motorcycle ignition over a serial line:
advance map, servo curve, trigger synchronisation, limiter, shift light and
clutch master; read, program and verify the unit, watch live engine values,
undo and restore points, map tools, datalog and replay.

Contains the window program vorn4, the command-line tool vorn4-cli and the
simulated unit vorn4-sim for training and demonstration.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(VORN4_HOMEPAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VORN4_HOMEPAGE})
endif()
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Run-time parts that no library link names: dpkg-shlibdeps finds the Qt libraries; the
# platform and image plugins of Debian 12 ship in libqt6gui6, the extra platforms in
# qt6-qpa-plugins. When the map view (Qt Charts, Qt Data Visualization) is linked in, its
# libraries come in through dpkg-shlibdeps as well; only plugins loaded at run time need to
# be named here.
# The archive opens its SQLite file (and a shared server) through Qt SQL driver plugins,
# which the linker cannot see. Qt's own texts (file dialogs, standard buttons) in German,
# French and Czech come from Qt's translation catalogues, read when the language is chosen.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "pdf-viewer, libqt6sql6-psql")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
