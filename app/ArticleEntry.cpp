// SPDX-License-Identifier: GPL-3.0-or-later
// The way from the main window to the article face: made on first use from the tables the
// window already holds, so nothing of it costs the start-up.

#include "app/ArticleForm.h"
#include "app/Unit1.h"
#include "data/Bytes.h"
#include "record/RecordStore.h"
#include "session/ArticleTexts.h"
#include "session/PhraseBook.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include <QPushButton>

namespace {
const QString captionPause = QStringLiteral("暂停");
}

void TForm1::N8Click()
{
    // A running session waits, as if paused by hand, while the learner follows a text.
    if (Button1->text() == captionPause)
        Pause();
    if (!m_articleForm) {
        auto codes = std::make_shared<ArticleCodes>();
        // The character tables give the pictures, and the codes too when the phrase book failed
        // to load (its failure was reported at start-up).
        Lexicon fromTables;
        LexiconFromTables(tables, fromTables, codes->pictures);
        codes->lexicon = phraseBook.lexicon.Empty() ? std::move(fromTables) : phraseBook.lexicon;
        for (const PhraseRecord& phrase : phraseBook.phrases)
            codes->frequentPhrases.push_back(phrase.text);
        const std::string_view wb = tables.wb.text();
        for (int r = 0; r < tables.wb.count; ++r) {
            std::string character = RecordField(wb, 28, std::uint32_t(r), 25, 26);
            if (character.size() == 2 && !codes->lexicon.CodesForText(character).empty())
                codes->frequentCharacters.push_back(std::move(character));
        }
        m_articleForm = new TArticleForm(std::move(codes), this);
        QRect place(QPoint(0, 0), m_articleForm->size());
        place.moveCenter(geometry().center());
        m_articleForm->move(place.topLeft());
    }
    m_articleForm->show();
    m_articleForm->raise();
    m_articleForm->activateWindow();
}

void TForm1::KeepArticleSession(const ArticleSessionRecord& done)
{
    const ArticleMeasures& m = done.measures;
    Record::SessionRow row;
    row.startedMs = QDateTime::currentMSecsSinceEpoch() - m.milliseconds;
    row.mode = Record::ArticleMode;
    row.seconds = int(m.milliseconds / 1000);
    row.hits = m.characters;
    row.misses = m.errors;
    row.speed = std::llround(m.Speed());
    row.timeUp = false;
    row.kind = QStringLiteral("article");
    row.title = done.title;
    QJsonObject measures { { QStringLiteral("way"), done.wubi ? QStringLiteral("wubi") : QStringLiteral("ime") },
        { QStringLiteral("keys"), m.keys }, { QStringLiteral("corrections"), m.corrections },
        { QStringLiteral("keysPerSecond"), m.KeysPerSecond() },
        { QStringLiteral("keysPerCharacter"), m.KeysPerCharacter() },
        { QStringLiteral("shortestKeysPerCharacter"), done.shortestKeysPerCharacter },
        { QStringLiteral("completed"), done.completed } };
    row.measures = QString::fromUtf8(QJsonDocument(measures).toJson(QJsonDocument::Compact));
    record.Keep(std::move(row));
}
