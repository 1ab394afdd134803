# Installing and packaging: the program in bin/, its data under share/korvex-designer/, and the
# desktop's entry, icon and model file type, so a file manager opens models with the program.
if(KX_CORE_ONLY)
    return()
endif()
include(GNUInstallDirs)
set(KX_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/korvex-designer)

install(TARGETS kxdesigner RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The batch command works on the same data; the library server stands alone.
foreach(tool kxbatch kxserver)
    if(TARGET ${tool})
        install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/dist/server DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)
# The data the build writes beside the executable; test programs stay behind.
foreach(dir def hires lores icon samples help Python)
    install(DIRECTORY ${KX_RUNTIME_DIR}/${dir} DESTINATION ${KX_SHARE_DIR} OPTIONAL
            PATTERN ".stamp" EXCLUDE)
endforeach()
install(FILES ${KX_RUNTIME_DIR}/ENGLISH.lng ${KX_RUNTIME_DIR}/DEUTSCH.lng ${KX_RUNTIME_DIR}/CHANGES
              ${KX_RUNTIME_DIR}/CHANGES.en DESTINATION ${KX_SHARE_DIR})
install(FILES ${KX_RUNTIME_DIR}/lpeboxes.ini DESTINATION ${KX_SHARE_DIR})

set(KX_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/data/desktop)
install(FILES ${KX_DESKTOP_DIR}/korvex-designer.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${KX_DESKTOP_DIR}/korvex-designer-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME korvex-designer.xml)
if(TARGET kx_appicon)
    install(DIRECTORY ${CMAKE_BINARY_DIR}/desktop/icons/hicolor
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
endif()

# A Debian package whose dependencies are read off the installed binary's libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex-designer)
set(CPACK_PACKAGE_VENDOR "Korvex")
set(CPACK_PACKAGE_CONTACT "Korvex designer developers <kxdesigner@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3D designer for a construction kit of plastic building parts")
set(CPACK_PACKAGE_DESCRIPTION "Build models of a construction kit in 3D: place and join parts, \
organise build phases, lay hoses and cables, make models move, print parts lists and export \
the model.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The GL drivers are loaded at run time, so no library names them; the view needs one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1-mesa-dri, libegl-mesa0, libglx-mesa0")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "povray, qt6-translations-l10n, shared-mime-info, desktop-file-utils")
include(CPack)
