// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/RegularFile.h"

#include <system_error>

FileCheck CheckRegularFile(const std::filesystem::path& file, std::uintmax_t maxBytes)
{
    std::error_code error;
    // status() follows links: a link to a device is judged by the device.
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    FileCheck check;
    if (error || !std::filesystem::exists(status)) {
        check.verdict = FileCheck::Verdict::Missing;
        return check;
    }
    if (!std::filesystem::is_regular_file(status)) {
        check.verdict = FileCheck::Verdict::NotRegular;
        return check;
    }
    check.size = std::filesystem::file_size(file, error);
    if (error) {
        check.verdict = FileCheck::Verdict::Missing;
        return check;
    }
    check.verdict = check.size > maxBytes ? FileCheck::Verdict::TooLarge : FileCheck::Verdict::Fit;
    return check;
}

std::string FileCheck::reason(const std::string& utf8Path) const
{
    switch (verdict) {
    case Verdict::NotRegular:
        return "\"" + utf8Path + "\" is not a regular file (a folder, a pipe or a device), so it is not read.";
    case Verdict::TooLarge:
        return "\"" + utf8Path + "\" is " + std::to_string(size)
            + " bytes long, far more than such a file ever holds, so it is not read.";
    case Verdict::Fit:
    case Verdict::Missing:
        break;
    }
    return {};
}

std::string Utf8Path(const std::filesystem::path& path)
{
#ifdef _WIN32
    try {
        const std::u8string u8 = path.u8string();
        return std::string(reinterpret_cast<const char*>(u8.data()), u8.size());
    } catch (...) {
        return path.string();
    }
#else
    // On POSIX the native bytes are what the user typed; a message shows them as they are
    // when they are UTF-8, and with replacement characters otherwise.
    const std::string& bytes = path.native();
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool valid = len > 0 && i + len <= bytes.size();
        for (size_t k = 1; valid && k < len; ++k)
            valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
        if (valid && len >= 2 && c < 0xC2)
            valid = false;
        if (!valid) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        out.append(bytes, i, len);
        i += len;
    }
    return out;
#endif
}
