// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Article.h"
#include "session/ArticleTexts.h"

#include <QString>
#include <optional>

// Texts for the article face, made from files, pasted text and the built-in set. Every refusal
// comes back as a message for the learner; nothing is reported here.
namespace ArticleSource {

// GB2312 bytes of a code point, from a table made once by decoding every GB2312 pair.
std::string Gb2312Of(char32_t cp);

// A text from Unicode, with the checks a learner's text must pass: not empty, and some
// character with a Wubi code. `what` names the text in the message.
std::optional<ArticleText> FromString(
    const QString& title, const QString& text, const Lexicon& lexicon, const QString& what, QString& message);

// A text from a file: a regular file, at most MaxArticleBytes, not binary, UTF-8 or GBK.
std::optional<ArticleText> FromFile(const QString& path, const Lexicon& lexicon, QString& message);

// The built-in set beside the program; empty with a message when the file is missing or damaged.
std::vector<BuiltinArticle> BuiltinTexts(QString& message);
// The name of that file.
inline constexpr const char* BuiltinFileName = "articles.dat";

}
