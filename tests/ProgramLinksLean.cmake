# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when the program itself loads a library it opens only after its window shows: the
# media framework (in the sound library) and SQLite, Qt Charts and OpenGL (in the record
# library). Each of those libraries must lie beside the program and export its one factory.
#   cmake -DPROGRAM=path/quillado -DSOUND=path/quillado_sound.so -DRECORD=path/quillado_record.so -P ProgramLinksLean.cmake
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "ldd cannot read ${PROGRAM}")
endif()
string(REGEX MATCHALL "lib(Qt6(Multimedia|Network|Sql|Charts|OpenGL|OpenGLWidgets)|pulse|gst[a-z]*)[.][^ \t\n]*" late
    "${libraries}")
if(late)
    list(REMOVE_DUPLICATES late)
    message(FATAL_ERROR "${PROGRAM} loads ${late} before its window shows")
endif()
foreach(pair "SOUND;QuilladoCreateSoundBackend" "RECORD;QuilladoCreateRecordBackend")
    list(GET pair 0 var)
    list(GET pair 1 factory)
    get_filename_component(dir_of_program ${PROGRAM} DIRECTORY)
    get_filename_component(dir_of_library ${${var}} DIRECTORY)
    if(NOT dir_of_program STREQUAL dir_of_library)
        message(FATAL_ERROR "${${var}} does not lie beside ${PROGRAM}")
    endif()
    execute_process(COMMAND nm -D --defined-only ${${var}} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
    if(failed OR NOT symbols MATCHES " T ${factory}\n")
        message(FATAL_ERROR "${${var}} does not export ${factory}")
    endif()
endforeach()
message(STATUS "${PROGRAM}: no media, SQL or chart libraries at start")
