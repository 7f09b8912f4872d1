# SPDX-License-Identifier: GPL-3.0-or-later
# Unpacks a bzip2 file: cmake -DBZIP2=prog -DINPUT=file.bz2 -DOUTPUT=file -P Decompress.cmake
execute_process(COMMAND ${BZIP2} -dc ${INPUT} OUTPUT_FILE ${OUTPUT}.tmp RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    file(REMOVE ${OUTPUT}.tmp)
    message(FATAL_ERROR "Cannot unpack ${INPUT}: ${result}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
