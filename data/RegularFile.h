// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// Whether a file the user's folders hold may be opened at all. Opening a FIFO blocks until a
// writer comes, a link to /dev/zero never ends, a directory reads as empty and a sparse file
// of gigabytes takes minutes: so only a regular file (or a link to one) no larger than
// `maxBytes` is fit to be read. Anything a program reads from the user's folders, and
// anything it writes over there, should ask this first.
struct FileCheck {
    enum class Verdict { Fit, Missing, NotRegular, TooLarge };
    Verdict verdict = Verdict::Missing;
    std::uintmax_t size = 0; // of a regular file

    bool fit() const { return verdict == Verdict::Fit; }
    // An English sentence naming the path and what is wrong ("" when fit or missing).
    std::string reason(const std::string& utf8Path) const;
};

FileCheck CheckRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes);

// A path as UTF-8 for messages; bytes that are no valid text in the file system's encoding
// come out as replacement characters, never as an exception.
std::string Utf8Path(const std::filesystem::path& path);
