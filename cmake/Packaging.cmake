# A Debian package of what cmake --install puts in place: cpack -G DEB in the build folder.
set(QZB_PACKAGE_MAINTAINER "QZB developers <qzb@example.org>"
    CACHE STRING "Maintainer field of the Debian package: name <address>")

set(CPACK_PACKAGE_NAME qzb)
set(CPACK_PACKAGE_VENDOR "QZB developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
# One paragraph, broken into lines as the control file wants them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "QZB reads the settings and the dialling directory of a colour laser multifunction"
    "device attached by USB, lets the user edit them and checks every change before"
    "writing the result back. The package holds the window (qzb), the command line"
    "(qzbctl), the string tables, the HTML manual and a udev rule that lets the user at"
    "the machine open the devices.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_PACKAGE_NAME qzb)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QZB_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# The libraries come from dpkg-shlibdeps where it is installed (package dpkg-dev); else this list
# of the Debian 12 names. Either way the window needs a Qt platform plugin, which no library
# link names.
find_program(QZB_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(QZB_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "")
else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1, libusb-1.0-0")
    if(QZB_WITH_GUI)
        string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS
               ", libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, libcups2")
    endif()
endif()
if(QZB_WITH_GUI)
    if(CPACK_DEBIAN_PACKAGE_DEPENDS)
        string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ")
    endif()
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    # Fonts with the glyphs of every language the texts come in: Latin, Central European and
    # Cyrillic in DejaVu, Japanese in IPA Gothic (or Noto CJK where that is installed instead).
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-ipafont-gothic | fonts-noto-cjk")
endif()

include(CPack)
