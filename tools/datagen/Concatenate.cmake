# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DOUTPUT=file -DPARTS=a;b;c -P Concatenate.cmake: writes the parts one after the other,
# each preceded by a separator naming it.
set(text "")
foreach(part IN LISTS PARTS)
    file(READ ${part} content)
    string(APPEND text "\n======================================================================\n${part}\n======================================================================\n\n${content}")
endforeach()
file(WRITE ${OUTPUT} "${text}")
