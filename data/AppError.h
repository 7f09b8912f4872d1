// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// An error that ends the handler it arises in and is shown by the application's error
// report. Most texts are UTF-8; a few quote bytes straight out of a data file, which are
// GBK like every other text in the tables, and say so.
class AppError : public std::runtime_error {
public:
    enum class Encoding { Utf8, Gbk };

    explicit AppError(const std::string& text, Encoding encoding = Encoding::Utf8)
        : std::runtime_error(text)
        , m_encoding(encoding)
    {
    }

    Encoding encoding() const { return m_encoding; }

private:
    Encoding m_encoding;
};
