# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles the core and its portable check for Windows with mingw-w64, then runs the
# check under wine on the tables the main build made.
set(build "${BUILD_DIR}/windows-core")
set(launcher)
if(DEFINED ENV{CMAKE_CXX_COMPILER_LAUNCHER})
    set(launcher "-DCMAKE_CXX_COMPILER_LAUNCHER=$ENV{CMAKE_CXX_COMPILER_LAUNCHER}")
endif()
execute_process(
    COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}/tests/windows" -B "${build}" -G Ninja
        -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
        -DCORE_SOURCES_FILE=${CORE_SOURCES_FILE} -DQUILLADO_SOURCE_DIR=${SOURCE_DIR} ${launcher}
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(result)
    message(FATAL_ERROR "configuring the Windows build failed:\n${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${build}" -j 2
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(result)
    message(FATAL_ERROR "the Windows build failed:\n${out}")
endif()
message(STATUS "cross-compiled ${build}/core_check.exe")

if(NOT WINE)
    message(STATUS "no wine here: the check was cross-compiled but not run")
    return()
endif()
# A prefix of its own in the build tree; wine creates it on the first run (about half a
# minute), without a display.
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${build}/wineprefix WINEDEBUG=-all DISPLAY=
        "${WINE}" "${build}/core_check.exe" "${TABLE_DIR}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 300)
message(STATUS "${out}")
if(result OR NOT out MATCHES "core check passed")
    message(FATAL_ERROR "the core check failed under wine (${result}):\n${out}\n${err}")
endif()
