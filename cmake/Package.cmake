# SPDX-License-Identifier: GPL-3.0-or-later
# `cpack -G DEB` in the build directory makes the Debian package of what `cmake --install`
# lays down, under /usr. The library dependencies come from dpkg-shlibdeps; the rest are
# what the program opens at run time without linking it.
set(CPACK_PACKAGE_NAME quillado)
set(CPACK_PACKAGE_VENDOR Pelunor)
set(CPACK_PACKAGE_CONTACT "Lumexo <lumexo@pelunor.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "typing trainer for letters, digits, pinyin and Wubi 86")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# Staged with DESTDIR, so that the desktop entry names /usr/lib/quillado/quillado, not the
# staging directory.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillado.pelunor.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The xcb platform plugin; GStreamer's base and good plugins play the MP3s; a Song face for
# the characters; xdg-open behind the help menu; the SQLite driver behind the learning record.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-arphic-uming | fonts-noto-cjk, xdg-utils, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# Builds the package, runs lintian on it, unpacks it into a scratch root and starts the
# program from there. Once is enough: the sanitized build is never packaged.
if(BUILD_TESTING AND QUILLADO_BUILD_ASSETS AND NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize")
    find_program(QUILLADO_DPKG_DEB dpkg-deb)
    if(QUILLADO_DPKG_DEB)
        find_program(QUILLADO_LINTIAN lintian REQUIRED)
        add_test(NAME package_deb
            COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSCRATCH=${CMAKE_BINARY_DIR}/package-check
                -DLINTIAN=${QUILLADO_LINTIAN} -DAPP_ID=${QUILLADO_APP_ID} -DVERSION=${PROJECT_VERSION}
                -P ${PROJECT_SOURCE_DIR}/packaging/PackageCheck.cmake)
        set_tests_properties(package_deb PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600 RUN_SERIAL TRUE)
    endif()
endif()
