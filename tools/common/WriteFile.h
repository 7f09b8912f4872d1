// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

// Writes beside the target and renames, so a reader never sees half a file and a failed
// write leaves the old one.
inline void WriteFileAtomically(const std::filesystem::path& file, const std::string& bytes)
{
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path());
    const std::filesystem::path temporary = file.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("Cannot write file \"" + temporary.string() + "\".");
    }
    std::filesystem::rename(temporary, file);
}
