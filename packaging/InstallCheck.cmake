# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix, checks the layout and the desktop entry, starts
# the installed program the way the desktop entry says and waits for its first paint.
file(REMOVE_RECURSE "${SCRATCH}")
# The manifest of a real install is kept; this check writes and uses its own.
set(manifest "${BUILD_DIR}/install_manifest.txt")
if(EXISTS "${manifest}")
    file(RENAME "${manifest}" "${manifest}.kept")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${SCRATCH}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(result)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(dir "${SCRATCH}/${INSTALL_DIR}")
foreach(file quillado ${FILES})
    if(NOT EXISTS "${dir}/${file}")
        message(FATAL_ERROR "${file} is not installed beside the program")
    endif()
endforeach()
if(NOT IS_SYMLINK "${SCRATCH}/bin/quillado")
    message(FATAL_ERROR "bin/quillado is not a link to the program")
endif()
set(desktop "${SCRATCH}/share/applications/${APP_ID}.desktop")
foreach(file "${desktop}" "${SCRATCH}/share/icons/hicolor/scalable/apps/${APP_ID}.svg"
        "${SCRATCH}/share/metainfo/${APP_ID}.metainfo.xml" "${SCRATCH}/share/man/man1/quillado.1.gz"
        "${SCRATCH}/share/doc/quillado/manual.html")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "${file} is not installed")
    endif()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} "${desktop}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(result OR out)
        message(FATAL_ERROR "desktop-file-validate: ${out}")
    endif()
endif()

# Start the program as the desktop entry does; the start-up probe ends it at its first paint.
file(STRINGS "${desktop}" exec REGEX "^Exec=" ENCODING UTF-8)
string(REGEX REPLACE "^Exec=" "" exec "${exec}")
if(NOT exec STREQUAL "${dir}/quillado")
    message(FATAL_ERROR "the desktop entry runs ${exec}, not the installed program")
endif()
# The benchmark's first-paint probe, preloaded, ends the program at its first paint.
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD_DIR}" --target quillado_first_paint_probe
    RESULT_VARIABLE result OUTPUT_QUIET)
# In the sanitized build the probe comes before the sanitizer's runtime, which it then
# must accept.
set(asan_options "$ENV{ASAN_OPTIONS}:verify_asan_link_order=0")
execute_process(COMMAND ${CMAKE_COMMAND} -E env LD_PRELOAD=${BUILD_DIR}/bench/libquillado_first_paint_probe.so
    "ASAN_OPTIONS=${asan_options}" "${exec}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(result OR NOT out MATCHES "first-paint")
    message(FATAL_ERROR "the installed program did not start: ${result}\n${out}\n${err}")
endif()
message(STATUS "installed program started: ${out}")

execute_process(COMMAND ${CMAKE_COMMAND} -DMANIFEST=${BUILD_DIR}/install_manifest.txt
    -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake OUTPUT_QUIET RESULT_VARIABLE result)
file(GLOB_RECURSE left LIST_DIRECTORIES false "${SCRATCH}/*")
if(left OR EXISTS "${dir}")
    message(FATAL_ERROR "uninstall left behind: ${left}")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
file(REMOVE "${manifest}")
if(EXISTS "${manifest}.kept")
    file(RENAME "${manifest}.kept" "${manifest}")
endif()
