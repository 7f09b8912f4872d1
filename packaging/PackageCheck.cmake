# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, lets lintian judge it, unpacks it into a scratch root and starts
# the program from there: the package must hold a whole, runnable trainer.
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")

# cpack's install writes the build's install manifest: keep the one of a real install, which
# the uninstall target reads.
set(manifest "${BUILD_DIR}/install_manifest.txt")
if(EXISTS "${manifest}")
    file(RENAME "${manifest}" "${SCRATCH}/install_manifest.kept")
endif()
execute_process(COMMAND cpack -G DEB -B "${SCRATCH}" --config "${BUILD_DIR}/CPackConfig.cmake"
    WORKING_DIRECTORY "${BUILD_DIR}" RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
file(REMOVE "${manifest}")
if(EXISTS "${SCRATCH}/install_manifest.kept")
    file(RENAME "${SCRATCH}/install_manifest.kept" "${manifest}")
endif()
file(GLOB deb "${SCRATCH}/quillado_*.deb")
if(result OR NOT deb)
    message(FATAL_ERROR "cpack failed: ${result}\n${out}")
endif()

# What the program needs but does not link: dpkg-shlibdeps cannot see these.
execute_process(COMMAND dpkg-deb --field "${deb}" Depends OUTPUT_VARIABLE depends RESULT_VARIABLE result)
foreach(needed libqt6widgets6 libqt6multimedia6 libgif7 qt6-qpa-plugins gstreamer1.0-plugins-good
        "fonts-arphic-uming | fonts-noto-cjk" xdg-utils libqt6sql6-sqlite)
    string(FIND "${depends}" "${needed}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "the package does not depend on ${needed}: ${depends}")
    endif()
endforeach()

# Errors and warnings fail; the overrides give the reasons for the intended layout.
execute_process(COMMAND "${LINTIAN}" --fail-on error,warning --display-info "${deb}"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "lintian:\n${out}")
if(result)
    message(FATAL_ERROR "lintian found errors (${result}):\n${out}\n${err}")
endif()

set(root "${SCRATCH}/root")
execute_process(COMMAND dpkg-deb -x "${deb}" "${root}" RESULT_VARIABLE result)
if(result)
    message(FATAL_ERROR "dpkg-deb -x failed: ${result}")
endif()
foreach(file usr/lib/quillado/quillado usr/lib/quillado/wb.dat usr/lib/quillado/LICENSE.txt
        usr/share/applications/${APP_ID}.desktop usr/share/metainfo/${APP_ID}.metainfo.xml
        usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg usr/share/man/man1/quillado.1.gz
        usr/share/doc/quillado/copyright usr/share/doc/quillado/manual.html)
    if(NOT EXISTS "${root}/${file}")
        message(FATAL_ERROR "the package lacks /${file}")
    endif()
endforeach()

execute_process(COMMAND "${root}/usr/bin/quillado" --version
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(result OR NOT out STREQUAL "Quillado ${VERSION}\n")
    message(FATAL_ERROR "quillado --version answered ${result}: ${out}${err}")
endif()

# The program from the package, with the files the package brought beside it.
# The benchmark's first-paint probe, preloaded, ends the program at its first paint.
execute_process(COMMAND ${CMAKE_COMMAND} --build "${BUILD_DIR}" --target quillado_first_paint_probe
    RESULT_VARIABLE result OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
        LD_PRELOAD=${BUILD_DIR}/bench/libquillado_first_paint_probe.so
        "${root}/usr/lib/quillado/quillado"
    RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
if(result OR NOT out MATCHES "first-paint")
    message(FATAL_ERROR "the packaged program did not start: ${result}\n${out}\n${err}")
endif()
message(STATUS "packaged program started: ${out}")
file(REMOVE_RECURSE "${SCRATCH}")
