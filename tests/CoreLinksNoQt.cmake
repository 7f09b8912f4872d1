# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a test of the plain core loads any Qt library: those tests prove that the core
# stands on its own, which a stray link to the windows' side would quietly undo.
#   cmake -DBINARIES=a|b|c -P CoreLinksNoQt.cmake
string(REPLACE "|" ";" binaries "${BINARIES}")
foreach(binary ${binaries})
    execute_process(COMMAND ldd ${binary} OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "ldd cannot read ${binary}")
    endif()
    string(REGEX MATCHALL "libQt[^ \t\n]*" qt "${libraries}")
    if(qt)
        message(FATAL_ERROR "${binary} loads ${qt}")
    endif()
endforeach()
message(STATUS "${binaries}: no Qt")
