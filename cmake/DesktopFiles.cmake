# What a desktop expects beside the programs: the launcher, the AppStream metainfo, the icon and
# the manual pages. Included after the udev rule, whose vendor and product ids the metainfo repeats
# as modaliases so that software centres can offer QZB when such a device is plugged in.

set(QZB_APP_ID org.qzb.QZB)
set(QZB_LINUX_DIR ${CMAKE_SOURCE_DIR}/packaging/linux)

# The launcher, metainfo and icon belong to the window: a build without it installs none.
if(QZB_WITH_GUI)
    install(FILES ${QZB_LINUX_DIR}/${QZB_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${QZB_LINUX_DIR}/qzb.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

    string(REGEX MATCHALL "ATTR\\{idProduct\\}==\"[0-9a-fA-F]+\"" QZB_PRODUCT_MATCHES "${QZB_UDEV_RULES}")
    string(TOUPPER "${QZB_USB_VENDOR_HEX}" QZB_VENDOR_UPPER)
    set(QZB_METAINFO_MODALIASES "")
    foreach(match IN LISTS QZB_PRODUCT_MATCHES)
        string(REGEX REPLACE "^.*\"([0-9a-fA-F]+)\"$" "\\1" product "${match}")
        string(TOUPPER "${product}" product)
        string(APPEND QZB_METAINFO_MODALIASES "    <modalias>usb:v${QZB_VENDOR_UPPER}p${product}d*</modalias>\n")
    endforeach()
    configure_file(${QZB_LINUX_DIR}/${QZB_APP_ID}.metainfo.xml.in ${CMAKE_BINARY_DIR}/packaging/${QZB_APP_ID}.metainfo.xml
                   @ONLY NEWLINE_STYLE UNIX)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${QZB_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# Manual pages from each program's --help, with the extra sections of its .h2m file. qzb needs no
# display for --help, only a Qt platform, so the offscreen one keeps this headless.
find_program(QZB_HELP2MAN help2man)
find_program(QZB_GZIP gzip)
if(QZB_HELP2MAN AND QZB_GZIP)
    set(QZB_MAN_PROGRAMS qzbctl)
    set(QZB_NAME_qzbctl "set up colour laser multifunction devices from the command line")
    if(QZB_WITH_GUI)
        list(APPEND QZB_MAN_PROGRAMS qzb)
        set(QZB_NAME_qzb "set up colour laser multifunction devices attached by USB")
    endif()
    set(QZB_MAN_PAGES "")
    foreach(program IN LISTS QZB_MAN_PROGRAMS)
        set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
        add_custom_command(
            OUTPUT ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                    ${QZB_HELP2MAN} --no-info --name=${QZB_NAME_${program}}
                    --version-string=${PROJECT_VERSION} --include=${QZB_LINUX_DIR}/${program}.h2m
                    --output=${page} $<TARGET_FILE:${program}>
            COMMAND ${QZB_GZIP} -9nf ${page}
            DEPENDS ${program} ${QZB_LINUX_DIR}/${program}.h2m
            COMMENT "Writing the manual page of ${program}"
            VERBATIM)
        list(APPEND QZB_MAN_PAGES ${page}.gz)
    endforeach()
    add_custom_target(qzb_man_pages ALL DEPENDS ${QZB_MAN_PAGES})
    install(FILES ${QZB_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
    message(STATUS "help2man or gzip not found: the manual pages are not built (scripts/bootstrap installs help2man)")
endif()
