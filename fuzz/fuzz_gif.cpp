// SPDX-License-Identifier: GPL-3.0-or-later
// A decomposition picture from arbitrary bytes, through the giflib decoder.
#include "fuzz/Exercise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Exercise::Picture(data, size);
    return 0;
}
