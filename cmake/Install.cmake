# What `cmake --install` puts where: the programs in bin; the manual, the default layer library and
# the demo under share/wloe, where an installed wloe looks for them; the desktop's entry, icons and
# file types; the manual pages and wloe-cli's bash completion.
include(GNUInstallDirs)

set(WLOE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/wloe)

install(TARGETS wloe wloe-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/data/help/Wl.html ${CMAKE_BINARY_DIR}/demo.pat DESTINATION ${WLOE_DATA_DIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/demo/ DESTINATION ${WLOE_DATA_DIR}/demo FILES_MATCHING PATTERN "*.wav")

# The library names its samples by absolute path: it is written again for the place they are
# installed in (the prefix as the installed program sees it, without any staging DESTDIR).
install(CODE "
    set(prefix \"\${CMAKE_INSTALL_PREFIX}\")
    get_filename_component(prefix \"\${prefix}\" ABSOLUTE)
    set(target \"\$ENV{DESTDIR}\${prefix}/${WLOE_DATA_DIR}/Wl.lay\")
    message(STATUS \"Installing: \${target}\")
    execute_process(
        COMMAND \"$<TARGET_FILE:wloe-cli>\" reparent --yes -o \"\${target}\" \"${CMAKE_BINARY_DIR}/Wl.lay\"
                \"${CMAKE_BINARY_DIR}/demo\" \"\${prefix}/${WLOE_DATA_DIR}/demo\"
        RESULT_VARIABLE result ERROR_VARIABLE errors OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR \"Writing the demo library for \${prefix} failed: \${errors}\")
    endif()
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${target}\")
")

install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/wloe.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/mime/wloe.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${WLOE_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/data/completion/wloe-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages, compressed as Debian keeps them.
set(man_pages)
foreach(page wloe.1 wloe-cli.1)
    add_custom_command(
        OUTPUT ${CMAKE_BINARY_DIR}/man/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/man/${page} ${CMAKE_BINARY_DIR}/man/${page}
        COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/${page}
        DEPENDS ${CMAKE_SOURCE_DIR}/data/man/${page}
        VERBATIM)
    list(APPEND man_pages ${CMAKE_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(wloe_man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Everything the rules above install, and nothing else: what `make install` and `make package` build.
add_custom_target(wloe_installed DEPENDS wloe wloe-cli wloe_demo wloe_icons wloe_man_pages)
