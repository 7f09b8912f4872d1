# SPDX-License-Identifier: GPL-3.0-or-later
# `cmake --install` lays the trainer out as it runs from the build: one directory holding the
# program and everything it reads (tables, sounds, reference charts, the Wubi guide, licence
# notices; the pictures are inside the program), plus, outside Windows, a command on the PATH,
# a desktop entry, an icon, AppStream metainfo, a manual page and the manual. The program finds
# its files beside its own executable, so the directory can live anywhere.
include(GNUInstallDirs)

# On Windows the prefix itself is the program's folder (C:/Program Files/Quillado).
if(WIN32)
    set(quillado_default_install_dir .)
else()
    set(quillado_default_install_dir "${CMAKE_INSTALL_LIBDIR}/quillado")
endif()
set(QUILLADO_INSTALL_DIR "${quillado_default_install_dir}" CACHE STRING
    "Where the program and its files are installed, relative to the prefix")
if(IS_ABSOLUTE "${QUILLADO_INSTALL_DIR}")
    set(quillado_install_dir_absolute "${QUILLADO_INSTALL_DIR}")
else()
    set(quillado_install_dir_absolute "${CMAKE_INSTALL_PREFIX}/${QUILLADO_INSTALL_DIR}")
endif()

# The files the program opens at run time; an install without them would start and fail.
set(QUILLADO_RUNTIME_FILES
    wb1.dat wb2.dat wb.dat wbzg.dat py.dat wbcz.dat wbzd.dat
    Test1.mp3 Test0.mp3 abc.wav
    标准键盘键位图.jpg 数字键盘指法图.jpg 五笔字根图86版.jpg 五笔字型简述.doc
    data-licenses.txt ARPHICPL.TXT PICTURES-NOTICE.txt LICENSE.txt)
# The built-in follow-typing texts; without them the article face still takes the learner's own.
list(APPEND QUILLADO_RUNTIME_FILES articles.dat articles-licenses.txt)

# The program's own licence travels beside it with the notices of the data.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${QUILLADO_BIN_DIR}/LICENSE.txt COPYONLY)

install(CODE "
    foreach(file ${QUILLADO_RUNTIME_FILES})
        if(NOT EXISTS \"${QUILLADO_BIN_DIR}/\${file}\")
            message(FATAL_ERROR \"${QUILLADO_BIN_DIR}/\${file} is missing: build everything \"
                \"(with QUILLADO_BUILD_ASSETS=ON) before installing.\")
        endif()
    endforeach()
")
install(TARGETS quillado RUNTIME DESTINATION ${QUILLADO_INSTALL_DIR})
# Everything else that lies beside the program, the licence notices among it.
install(DIRECTORY ${QUILLADO_BIN_DIR}/ DESTINATION ${QUILLADO_INSTALL_DIR}
    PATTERN quillado${CMAKE_EXECUTABLE_SUFFIX} EXCLUDE PATTERN quillado_sound${CMAKE_SHARED_MODULE_SUFFIX} EXCLUDE
    PATTERN quillado_record${CMAKE_SHARED_LIBRARY_SUFFIX} EXCLUDE)
# The sound and record libraries as targets, so that packaging strips them like the program.
if(TARGET quillado_sound)
    install(TARGETS quillado_sound LIBRARY DESTINATION ${QUILLADO_INSTALL_DIR})
endif()
if(TARGET quillado_record)
    install(TARGETS quillado_record LIBRARY DESTINATION ${QUILLADO_INSTALL_DIR} RUNTIME DESTINATION ${QUILLADO_INSTALL_DIR})
endif()

if(WIN32)
    # Windows has no links to rely on and no desktop entries: the folder holds the program,
    # its files, the manual and the licence, and windeployqt adds Qt beside them.
    install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html DESTINATION ${QUILLADO_INSTALL_DIR})
else()
    # The command on the PATH is a relative link, so a staged install (DESTDIR) stays whole.
    file(RELATIVE_PATH quillado_link_target "${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}"
        "${quillado_install_dir_absolute}/quillado")
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillado\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK \"${quillado_link_target}\" \"\${link}\" SYMBOLIC)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${link}\")
        message(STATUS \"Installing: \${link}\")
    ")

    # The desktop entry names the program by its full path, taken when installing, so that an
    # install with --prefix points at where the program really went.
    if(IS_ABSOLUTE "${QUILLADO_INSTALL_DIR}")
        set(quillado_exec_at_install "${QUILLADO_INSTALL_DIR}/quillado")
    else()
        set(quillado_exec_at_install "\${CMAKE_INSTALL_PREFIX}/${QUILLADO_INSTALL_DIR}/quillado")
    endif()
    install(CODE "
        set(QUILLADO_INSTALLED_EXECUTABLE \"${quillado_exec_at_install}\")
        set(QUILLADO_APP_ID \"${QUILLADO_APP_ID}\")
        set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${QUILLADO_APP_ID}.desktop\")
        configure_file(\"${PROJECT_SOURCE_DIR}/packaging/quillado.desktop.in\" \"\${entry}\" @ONLY)
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
        message(STATUS \"Installing: \${entry}\")
    ")
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillado.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUILLADO_APP_ID}.svg)

    # AppStream metainfo, the manual page, the manual and the package's own papers.
    set(quillado_metainfo ${CMAKE_BINARY_DIR}/packaging/${QUILLADO_APP_ID}.metainfo.xml)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/quillado.metainfo.xml.in ${quillado_metainfo} @ONLY)
    install(FILES ${quillado_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(quillado_docdir ${CMAKE_INSTALL_DATADIR}/doc/quillado)
    # Manual pages and changelogs are kept compressed, as man and Debian expect; -n keeps the
    # bytes free of time stamps.
    find_program(QUILLADO_GZIP gzip)
    foreach(name quillado.1 changelog)
        set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
        if(QUILLADO_GZIP)
            add_custom_command(OUTPUT ${compressed}
                COMMAND ${QUILLADO_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${name} > ${compressed}
                DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${name}
                COMMENT "Compressing ${name}")
            list(APPEND quillado_papers ${compressed})
        else()
            set(compressed ${PROJECT_SOURCE_DIR}/packaging/${name})
        endif()
        if(name STREQUAL "quillado.1")
            install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        else()
            install(FILES ${compressed} DESTINATION ${quillado_docdir})
        endif()
    endforeach()
    add_custom_target(quillado_papers ALL DEPENDS ${quillado_papers})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/manual.html ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${quillado_docdir})
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillado.doc-base
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc-base RENAME quillado-manual)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillado.lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME quillado)
endif()

# `cmake --build <dir> --target uninstall` removes what the last install wrote.
if(NOT TARGET uninstall)
    add_custom_target(uninstall
        COMMAND ${CMAKE_COMMAND} -DMANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
                -P ${PROJECT_SOURCE_DIR}/packaging/Uninstall.cmake
        COMMENT "Removing the installed trainer")
endif()

# An install into a scratch prefix must give a runnable program and a valid desktop entry.
if(BUILD_TESTING AND QUILLADO_BUILD_ASSETS)
    add_test(NAME install_layout
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSCRATCH=${CMAKE_BINARY_DIR}/install-check
                "-DFILES=${QUILLADO_RUNTIME_FILES}" -DINSTALL_DIR=${QUILLADO_INSTALL_DIR}
                -DAPP_ID=${QUILLADO_APP_ID} -P ${PROJECT_SOURCE_DIR}/packaging/InstallCheck.cmake)
    set_tests_properties(install_layout PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endif()

# Software centres read the metainfo; appstreamcli is what they judge it by.
if(BUILD_TESTING AND NOT WIN32)
    find_program(QUILLADO_APPSTREAMCLI appstreamcli REQUIRED)
    add_test(NAME appstream_metainfo
        COMMAND ${QUILLADO_APPSTREAMCLI} validate --no-net --explain ${quillado_metainfo})
    set_tests_properties(appstream_metainfo PROPERTIES FAIL_REGULAR_EXPRESSION "^[EW]: ")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
