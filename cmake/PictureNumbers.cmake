# SPDX-License-Identifier: GPL-3.0-or-later
# The numbers of the decomposition pictures, MYWBGIF<n>.gif: 1-2436 for the records of the
# character table and 3000-3071 for the level-2 short codes outside it (tools/datagen's
# PracticeData.h says why). picgen draws them; the program compiles them in.
function(quillado_picture_numbers out)
    set(numbers)
    foreach(range "1;2436" "3000;3071")
        list(GET range 0 first)
        list(GET range 1 last)
        foreach(n RANGE ${first} ${last})
            list(APPEND numbers ${n})
        endforeach()
    endforeach()
    set(${out} ${numbers} PARENT_SCOPE)
endfunction()
