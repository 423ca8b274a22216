# What "cmake --install build --prefix DIR" puts under DIR: everything the installed program needs,
# so that it works started from any folder exactly like the build.
include(GNUInstallDirs)
set(QUILLET_DATADIR ${CMAKE_INSTALL_DATADIR}/quillet)
set(QUILLET_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quillet)
set(QUILLET_METAINFO example.quillet.Quillet.metainfo.xml)

# The zip libraries are loaded by file name along the executable's RUNPATH: beside it in the build
# folder, in lib/quillet once installed (a private folder, not the system's library path).
set_target_properties(quillet PROPERTIES BUILD_RPATH "$ORIGIN" INSTALL_RPATH "$ORIGIN/../lib/quillet")
target_link_options(quillet PRIVATE -Wl,--enable-new-dtags)
install(TARGETS quillet RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS qzip qunzip quillet_window LIBRARY DESTINATION lib/quillet)

# The category lists and site links a new base folder gets (--setup and the first start).
file(GLOB shipped_lists CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sample/cat/*.cat)
install(FILES ${shipped_lists} sample/cat/sites.dat sample/cat/urls.dat DESTINATION ${QUILLET_DATADIR}/cat)

# Launcher, icons in the hicolor sizes drawn from the SVG, AppStream data.
install(FILES dist/quillet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES dist/quillet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES dist/quillet.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo RENAME ${QUILLET_METAINFO})
set(generated ${CMAKE_BINARY_DIR}/dist)
set(dist_outputs)
foreach(size 16 22 24 32 48 64 128 256)
    set(png ${generated}/icons/${size}x${size}/quillet.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
        COMMAND rsvg-convert -w ${size} -h ${size} -o ${png} ${CMAKE_SOURCE_DIR}/dist/quillet.svg
        DEPENDS dist/quillet.svg VERBATIM)
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND dist_outputs ${png})
endforeach()

# Manual page, copyright and changelog, compressed as Debian wants them (no time stamp inside).
configure_file(dist/changelog.in ${generated}/changelog @ONLY)
foreach(pair "dist/quillet.1|quillet.1.gz" "${generated}/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    get_filename_component(source ${source} ABSOLUTE BASE_DIR ${CMAKE_SOURCE_DIR})
    add_custom_command(OUTPUT ${generated}/${target}
        COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" gzip ${source} ${generated}/${target}
        DEPENDS ${source} VERBATIM)
    list(APPEND dist_outputs ${generated}/${target})
endforeach()
install(FILES ${generated}/quillet.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES dist/copyright ${generated}/changelog.gz DESTINATION ${QUILLET_DOCDIR})
add_custom_target(quillet_dist ALL DEPENDS ${dist_outputs})
