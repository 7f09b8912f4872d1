# `cmake --install` lays the trainer out as it runs from the build: one directory holding the
# program and everything it reads (tables, sounds, reference charts, the Wubi guide, licence
# notices; the pictures are inside the program), plus a command on the PATH, a desktop entry
# and an icon. The program finds its files beside its own executable, so the directory can
# live anywhere.
include(GNUInstallDirs)

set(QUILLADO_INSTALL_DIR "${CMAKE_INSTALL_LIBDIR}/quillado" CACHE STRING
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
    data-licenses.txt ARPHICPL.TXT PICTURES-NOTICE.txt)
# The built-in follow-typing texts; without them the article face still takes the learner's own.
list(APPEND QUILLADO_RUNTIME_FILES articles.dat articles-licenses.txt)

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
    PATTERN quillado EXCLUDE)

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
    set(entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/quillado.desktop\")
    configure_file(\"${PROJECT_SOURCE_DIR}/packaging/quillado.desktop.in\" \"\${entry}\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${entry}\")
    message(STATUS \"Installing: \${entry}\")
")
install(FILES ${PROJECT_SOURCE_DIR}/packaging/quillado.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

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
                -P ${PROJECT_SOURCE_DIR}/packaging/InstallCheck.cmake)
    set_tests_properties(install_layout PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endif()
