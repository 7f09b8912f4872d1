// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/Article.h"
#include "session/ArticleTexts.h"

#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>

class ArticleView;
class ImeBox;
class InputBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace Ui {
class TArticleForm;
}

// What the learning record keeps of one follow-typing session.
struct ArticleSessionRecord {
    QString title;
    bool wubi = true; // the Wubi way, else the input-method way
    ArticleMeasures measures;
    double shortestKeysPerCharacter = 0; // Wubi way only: the best for the part typed
    bool completed = false; // the whole text was typed
};

// What the article face types with: the codes, each character's decomposition picture, and
// frequent characters and phrases (most frequent first, GBK) for the practice texts.
struct ArticleCodes {
    Lexicon lexicon;
    std::unordered_map<std::string, int> pictures;
    std::vector<std::string> frequentCharacters;
    std::vector<std::string> frequentPhrases;
};

// The follow-typing window: a text, the current position, the learner's typing in one of two
// ways, and the measures live and at the end. It lives beside the practice window and leaves
// it as it was.
class TArticleForm : public QWidget {
    Q_OBJECT
public:
    explicit TArticleForm(std::shared_ptr<const ArticleCodes> codes, QWidget* parent = nullptr);
    ~TArticleForm() override;

    // Where finished sessions go (the learning record); none by default.
    static void SetRecordSink(std::function<void(const ArticleSessionRecord&)> sink);

    // --- controls
    QComboBox* TextList;
    QPushButton *OpenButton, *PasteButton, *RestartButton, *EndButton;
    QRadioButton *WayWubi, *WayIme;
    ArticleView* View;
    InputBox* WubiBox;
    ImeBox* ImeInput;
    QLabel *HintLabel, *HintPicture, *MeasuresLabel;
    QPlainTextEdit* ReportText;
    QTimer* ClockTimer;

    // --- handlers
    void TextListChange(int index);
    void OpenButtonClick();
    void PasteButtonClick();
    void WayClick();
    void RestartButtonClick();
    void EndButtonClick();
    void ClockTimerTimer();
    void WubiKey(char key);
    void ImeCommit(const QString& committed);
    void ImeBackspace();
    void ImeKey();
    void ShowHint();

    // Loads a learner's file / takes pasted text; on refusal the message is reported and
    // nothing changes. Returns whether the text was taken.
    bool LoadFile(const QString& path);
    bool TakeText(const QString& pasted);

    // The text and session now under way (for tests and the benchmark).
    const ArticleText* article() const { return m_article.get(); }
    const WubiFollow* wubi() const { return m_wubi.get(); }
    const ImeFollow* ime() const { return m_ime.get(); }
    bool finished() const { return m_finished; }
    QString measuresText() const;
    // A clock the tests can drive; milliseconds since the face opened by default.
    void SetClockForTesting(std::function<std::int64_t()> clock) { m_clockFn = std::move(clock); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct TextItem {
        QString label;
        QString title;
        QString text; // empty when `prepared` holds the text
        std::shared_ptr<const ArticleText> prepared; // a learner's text, checked when it came
    };
    void FillTextList();
    void AddItem(TextItem item, bool select);
    void Restart();
    void EndSession(bool completed);
    void ShowProgress(std::size_t from);
    void ShowMeasures();
    void Report(const QString& message);
    void SetHint(const QString& text);
    std::int64_t Now() const;

    std::unique_ptr<Ui::TArticleForm> ui;
    std::shared_ptr<const ArticleCodes> m_codes;
    std::vector<TextItem> m_items;
    std::shared_ptr<const ArticleText> m_article;
    std::unique_ptr<WubiFollow> m_wubi;
    std::unique_ptr<ImeFollow> m_ime;
    bool m_finished = false;
    bool m_started = false;
    QElapsedTimer m_elapsed;
    std::function<std::int64_t()> m_clockFn;
};
