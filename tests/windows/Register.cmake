# SPDX-License-Identifier: GPL-3.0-or-later
# The windows_core test: needs mingw-w64 (scripts/setup installs it); wine is used when there.
find_program(QUILLADO_MINGW_CXX x86_64-w64-mingw32-g++-posix REQUIRED)
find_program(QUILLADO_WINE wine)
# The core's sources as the main build has them, so the Windows build follows the tree.
set(core_sources_file ${CMAKE_BINARY_DIR}/windows-core-sources.txt)
file(GENERATE OUTPUT ${core_sources_file}
    CONTENT "$<JOIN:$<FILTER:$<TARGET_PROPERTY:quillado_core,SOURCES>,INCLUDE,\\.cpp$>,\n>\n")
add_test(NAME windows_core
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DBUILD_DIR=${CMAKE_BINARY_DIR}
        -DCORE_SOURCES_FILE=${core_sources_file} -DTABLE_DIR=${QUILLADO_BIN_DIR}
        -DWINE=${QUILLADO_WINE} -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/CrossCheck.cmake)
set_tests_properties(windows_core PROPERTIES TIMEOUT 900)
