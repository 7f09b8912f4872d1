// SPDX-License-Identifier: GPL-3.0-or-later
// One data table from arbitrary bytes under an arbitrary key, drawn from in every way.
#include "fuzz/Exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Exercise::OneTable(data, size);
    return 0;
}
