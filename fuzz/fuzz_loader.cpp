// SPDX-License-Identifier: GPL-3.0-or-later
// The five data files of a program directory from arbitrary bytes, loaded as start-up does.
#include "fuzz/Exercise.h"

#include <cstdlib>
#include <unistd.h>

namespace {
const std::filesystem::path& ScratchDir()
{
    static const std::filesystem::path dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillado-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return std::filesystem::path(pattern);
    }();
    return dir;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Exercise::Directory(ScratchDir(), data, size);
    return 0;
}
