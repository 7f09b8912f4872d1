// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ArticleSource.h"

#include "data/AppError.h"
#include "platform/Platform.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <array>
#include <memory>

namespace ArticleSource {

std::string Gb2312Of(char32_t cp)
{
    // Every GB2312 character lies in the Basic Multilingual Plane: one table of 64 K entries.
    static const std::unique_ptr<std::array<std::uint16_t, 0x10000>> table = [] {
        auto t = std::make_unique<std::array<std::uint16_t, 0x10000>>();
        t->fill(0);
        QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
        if (!decoder.isValid())
            return t;
        // Pair by pair: the unassigned positions must not shift the ones after them.
        for (int lead = 0xA1; lead <= 0xF7; ++lead) {
            for (int trail = 0xA1; trail <= 0xFE; ++trail) {
                const char pair[2] = { char(lead), char(trail) };
                const QString c = decoder.decode(QByteArrayView(pair, 2));
                if (c.size() == 1 && c.at(0).unicode() != 0xFFFD && (*t)[c.at(0).unicode()] == 0)
                    (*t)[c.at(0).unicode()] = std::uint16_t((lead << 8) | trail);
            }
        }
        return t;
    }();
    if (cp >= 0x10000 || (*table)[cp] == 0)
        return {};
    const std::uint16_t code = (*table)[cp];
    return std::string { char(code >> 8), char(code & 0xFF) };
}

std::optional<ArticleText> FromString(
    const QString& title, const QString& text, const Lexicon& lexicon, const QString& what, QString& message)
{
    if (text.trimmed().isEmpty()) {
        message = QStringLiteral("%1是空的，没有可以跟打的文字。").arg(what);
        return std::nullopt;
    }
    ArticleText article = BuildArticle(Platform::ToGbk(title), text.toStdU32String(), &Gb2312Of, lexicon);
    if (article.TypedCount() == 0) {
        message = QStringLiteral("%1里没有一个有五笔编码的汉字，无法跟打。").arg(what);
        return std::nullopt;
    }
    return article;
}

std::optional<ArticleText> FromFile(const QString& path, const Lexicon& lexicon, QString& message)
{
    const QFileInfo info(path);
    const QString what = QStringLiteral("文件“%1”").arg(info.fileName());
    // A FIFO or device would block the program on open; only plain files are read.
    if (!info.isFile()) {
        message = QStringLiteral("%1不存在或不是普通文件。").arg(what);
        return std::nullopt;
    }
    if (std::uint64_t(info.size()) > MaxArticleBytes) {
        message = QStringLiteral("%1太大（%2 MB）：跟打的文章最多 %3 MB。")
                      .arg(what)
                      .arg(double(info.size()) / (1024.0 * 1024.0), 0, 'f', 1)
                      .arg(MaxArticleMegabytes);
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        message = QStringLiteral("%1无法打开：%2").arg(what, file.errorString());
        return std::nullopt;
    }
    // Read at most one byte past the limit: the file may have grown since it was looked at.
    const QByteArray bytes = file.read(qint64(MaxArticleBytes) + 1);
    if (std::uint64_t(bytes.size()) > MaxArticleBytes) {
        message = QStringLiteral("%1太大：跟打的文章最多 %2 MB。").arg(what).arg(MaxArticleMegabytes);
        return std::nullopt;
    }
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    if (bytes.isEmpty()) {
        message = QStringLiteral("%1是空的，没有可以跟打的文字。").arg(what);
        return std::nullopt;
    }
    if (LooksBinary(view)) {
        message = QStringLiteral("%1不是文本文件，无法跟打。").arg(what);
        return std::nullopt;
    }
    QString text;
    switch (DetectEncoding(view)) {
    case TextEncoding::Utf8:
        text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
        break;
    case TextEncoding::Gbk: {
        QStringDecoder decoder("GBK");
        if (!decoder.isValid()) {
            message = QStringLiteral("%1是 GBK 编码的，这台电脑上无法读取 GBK。").arg(what);
            return std::nullopt;
        }
        text = decoder.decode(bytes);
        break;
    }
    case TextEncoding::Neither:
        message = QStringLiteral("%1既不是 UTF-8 也不是 GBK 编码的文字，无法读取。").arg(what);
        return std::nullopt;
    }
    return FromString(info.completeBaseName(), text, lexicon, what, message);
}

std::vector<BuiltinArticle> BuiltinTexts(QString& message)
{
    const QString path = Platform::ProgramDir() + QLatin1String(BuiltinFileName);
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        message
            = QStringLiteral("找不到跟打文章“%1”，只能打开自己的文件或粘贴文字。").arg(QLatin1String(BuiltinFileName));
        return {};
    }
    const QByteArray bytes = file.readAll();
    try {
        return ParseArticleFile(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const AppError& e) {
        message = QStringLiteral("跟打文章“%1”已损坏（%2），只能打开自己的文件或粘贴文字。")
                      .arg(QLatin1String(BuiltinFileName),
                          e.encoding() == AppError::Encoding::Gbk ? Platform::FromGbk(e.what())
                                                                  : QString::fromUtf8(e.what()));
        return {};
    }
}

}
