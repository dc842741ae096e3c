# What `cmake --install` puts on the system and what `cpack -G DEB` packs: the program (the
# command line and the window program it starts for the window), its
# desktop integration (launcher entry, project file type, icons), the user manual and tutorial
# that Help shows, the example project, and the man page.

set(KESTRA_RESOURCES ${PROJECT_SOURCE_DIR}/src/ui/resources)

install(TARGETS kestra RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The window program, which `kestra` becomes for the window: not a command of its own.
install(TARGETS kestra_window RUNTIME DESTINATION ${KESTRA_INSTALL_WINDOW_DIR})

install(FILES ${KESTRA_RESOURCES}/kestra.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KESTRA_RESOURCES}/kestra-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${KESTRA_RESOURCES}/icons/kestra.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${KESTRA_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps
        RENAME kestra.png)
install(FILES ${KESTRA_RESOURCES}/icons/application-x-kestra-project.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes)

# The documents keep the source tree's layout below the data folder, so that the program finds
# them the same way in both places.
install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.md ${PROJECT_SOURCE_DIR}/docs/tutorial.md
        DESTINATION ${KESTRA_INSTALL_DATADIR}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${KESTRA_INSTALL_DATADIR}/docs
        FILES_MATCHING PATTERN "*.png")
install(FILES ${PROJECT_SOURCE_DIR}/docs/kestra.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The example project, which Help copies into a folder of the user's before opening it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/blinker DESTINATION ${KESTRA_INSTALL_DATADIR}/examples
        PATTERN "*.lock" EXCLUDE PATTERN "*.recovery" EXCLUDE)

# Installing into the live system (a system prefix and no staging folder) refreshes the
# desktop's databases with whichever of their tools are there. Packages leave it to the
# triggers of the packages that own the databases.
install(CODE [[
    if("$ENV{DESTDIR}" STREQUAL "" AND
       (CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local"))
        set(kestra_share "${CMAKE_INSTALL_PREFIX}/share")
        find_program(KESTRA_UPDATE_MIME update-mime-database)
        find_program(KESTRA_UPDATE_DESKTOP update-desktop-database)
        find_program(KESTRA_UPDATE_ICONS gtk-update-icon-cache)
        if(KESTRA_UPDATE_MIME)
            execute_process(COMMAND ${KESTRA_UPDATE_MIME} "${kestra_share}/mime")
        endif()
        if(KESTRA_UPDATE_DESKTOP)
            execute_process(COMMAND ${KESTRA_UPDATE_DESKTOP} -q "${kestra_share}/applications")
        endif()
        if(KESTRA_UPDATE_ICONS)
            execute_process(COMMAND ${KESTRA_UPDATE_ICONS} -q -t "${kestra_share}/icons/hicolor")
        endif()
    endif()
]])

# The Debian package: `cpack -G DEB` in the build folder writes kestra_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME kestra)
set(CPACK_PACKAGE_VENDOR "Orvalle Software")
set(CPACK_PACKAGE_CONTACT "KESTRA maintainers <kestra@orvalle.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "design entry for VHDL module hierarchies")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "KESTRA keeps a hierarchy of VHDL modules, shows each module as a parameter list, a signal\n"
    "list and a block diagram, writes every edit back into the source, and generates\n"
    "synthesizable VHDL. A command-line mode serves scripts and build servers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://orvalle.invalid/kestra")
# The shared libraries the program links (Qt 6 Core, Gui, Widgets, PrintSupport, the C++
# runtime, QScintilla, Xlib where the build found it) as dpkg-shlibdeps finds them, and the SVG plugins its icons are drawn with;
# QScintilla is named as well, as the program cannot start without it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, libqscintilla2-qt6-15")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ghdl, yosys, nextpnr-ice40, fpga-icestorm, gtkwave")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "yosys, nvc")
set(CPACK_STRIP_FILES ON)
include(CPack)
