// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ArticleForm.h"

#include "app/ArticleSource.h"
#include "app/ArticleView.h"
#include "app/ImeBox.h"
#include "app/InputBox.h"
#include "platform/Fonts.h"
#include "platform/PaintSettle.h"
#include "platform/Platform.h"
#include "presentation/Pictures.h"
#include "ui_ArticleForm.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

std::function<void(const ArticleSessionRecord&)>& recordSink()
{
    static std::function<void(const ArticleSessionRecord&)> sink;
    return sink;
}

const QString defaultHint = QStringLiteral("按 F1 看当前字词的编码");

QString Codes(const std::vector<std::string>& codes)
{
    QStringList list;
    for (const std::string& c : codes)
        list << QString::fromStdString(c);
    return list.join(QLatin1Char(' '));
}

QString MinutesSeconds(std::int64_t ms)
{
    const std::int64_t s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

}

void TArticleForm::SetRecordSink(std::function<void(const ArticleSessionRecord&)> sink)
{
    recordSink() = std::move(sink);
}

TArticleForm::TArticleForm(std::shared_ptr<const ArticleCodes> codes, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::TArticleForm>())
    , m_codes(std::move(codes))
{
    ui->setupUi(this);
    TextList = ui->TextList;
    OpenButton = ui->OpenButton;
    PasteButton = ui->PasteButton;
    RestartButton = ui->RestartButton;
    EndButton = ui->EndButton;
    WayWubi = ui->WayWubi;
    WayIme = ui->WayIme;
    View = ui->View;
    WubiBox = ui->WubiBox;
    ImeInput = ui->ImeInput;
    HintLabel = ui->HintLabel;
    HintPicture = ui->HintPicture;
    MeasuresLabel = ui->MeasuresLabel;
    ReportText = ui->ReportText;
    setFixedSize(961, 621);
    m_elapsed.start();
    // The article view repaints on every key, as the drill's slots do.
    new PaintSettle(this);

    setFont(SongFont(14));
    for (QWidget* w : std::initializer_list<QWidget*> { TextList, OpenButton, PasteButton, RestartButton, EndButton,
             WayWubi, WayIme, ui->TextLabel, ui->WayLabel, MeasuresLabel })
        w->setFont(SongFont(17));
    for (QWidget* w : std::initializer_list<QWidget*> { WubiBox, ImeInput })
        w->setFont(SongFont(30, true));
    HintLabel->setFont(SongFont(22, true));
    ReportText->setFont(SongFont(16));

    ClockTimer = new QTimer(this);
    ClockTimer->setObjectName(QStringLiteral("ClockTimer"));
    ClockTimer->setInterval(1000);
    auto guarded
        = [this](auto handler) { return [this, handler] { Platform::RunHandler([&] { (this->*handler)(); }); }; };
    connect(ClockTimer, &QTimer::timeout, this, guarded(&TArticleForm::ClockTimerTimer));
    connect(OpenButton, &QPushButton::clicked, this, guarded(&TArticleForm::OpenButtonClick));
    connect(PasteButton, &QPushButton::clicked, this, guarded(&TArticleForm::PasteButtonClick));
    connect(RestartButton, &QPushButton::clicked, this, guarded(&TArticleForm::RestartButtonClick));
    connect(EndButton, &QPushButton::clicked, this, guarded(&TArticleForm::EndButtonClick));
    connect(WayWubi, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Platform::RunHandler([&] { WayClick(); });
    });
    connect(WayIme, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Platform::RunHandler([&] { WayClick(); });
    });
    connect(TextList, &QComboBox::activated, this,
        [this](int index) { Platform::RunHandler([&] { TextListChange(index); }); });
    connect(ImeInput, &ImeBox::committed, this,
        [this](const QString& text) { Platform::RunHandler([&] { ImeCommit(text); }); });
    connect(ImeInput, &ImeBox::backspace, this, guarded(&TArticleForm::ImeBackspace));
    connect(ImeInput, &ImeBox::keyCounted, this, guarded(&TArticleForm::ImeKey));
    connect(ImeInput, &ImeBox::hintRequested, this, guarded(&TArticleForm::ShowHint));
    WubiBox->installEventFilter(this);

    FillTextList();
    if (!m_items.empty()) {
        TextList->setCurrentIndex(0);
        TextListChange(0);
    } else {
        WayClick();
    }
}

TArticleForm::~TArticleForm() = default;

std::int64_t TArticleForm::Now() const { return m_clockFn ? m_clockFn() : m_elapsed.elapsed(); }

void TArticleForm::Report(const QString& message)
{
    Platform::ShowMessageBox(message, QStringLiteral("提示"), Platform::MessageIcon::Information);
}

// ---------------------------------------------------------------- texts

void TArticleForm::FillTextList()
{
    QString message;
    for (const BuiltinArticle& a : ArticleSource::BuiltinTexts(message)) {
        const QString title = Platform::FromGbk(a.title);
        const QString author = Platform::FromGbk(a.author);
        AddItem(TextItem { author.isEmpty() ? title : title + QStringLiteral(" — ") + author, title,
                    Platform::FromGbk(a.text), nullptr },
            false);
    }
    if (!message.isEmpty())
        Report(message);
    auto practice = [this](const std::vector<std::string>& items, std::size_t per, const QString& name) {
        const std::vector<std::string> texts = PracticeTexts(items, per);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const std::size_t first = i * per + 1;
            const std::size_t last = std::min(items.size(), first + per - 1);
            const QString title = QStringLiteral("%1 %2–%3").arg(name).arg(first).arg(last);
            AddItem(TextItem { title, title, Platform::FromGbk(texts[i]), nullptr }, false);
        }
    };
    practice(m_codes->frequentPhrases, 100, QStringLiteral("常用词组"));
    practice(m_codes->frequentCharacters, 200, QStringLiteral("常用字"));
}

void TArticleForm::AddItem(TextItem item, bool select)
{
    TextList->addItem(item.label);
    m_items.push_back(std::move(item));
    if (select) {
        TextList->setCurrentIndex(int(m_items.size()) - 1);
        TextListChange(int(m_items.size()) - 1);
    }
}

void TArticleForm::TextListChange(int index)
{
    if (index < 0 || std::size_t(index) >= m_items.size())
        return;
    TextItem& item = m_items[std::size_t(index)];
    if (!item.prepared) {
        QString message;
        auto text = ArticleSource::FromString(
            item.title, item.text, m_codes->lexicon, QStringLiteral("文章“%1”").arg(item.title), message);
        if (!text) {
            Report(message);
            return;
        }
        item.prepared = std::make_shared<const ArticleText>(std::move(*text));
    }
    m_article = item.prepared;
    Restart();
}

bool TArticleForm::LoadFile(const QString& path)
{
    QString message;
    std::optional<ArticleText> text = ArticleSource::FromFile(path, m_codes->lexicon, message);
    if (!text) {
        Report(message);
        return false;
    }
    const QString title = Platform::FromGbk(text->title);
    AddItem(TextItem { QStringLiteral("文件：%1").arg(title), title, QString(),
                std::make_shared<const ArticleText>(std::move(*text)) },
        true);
    return true;
}

bool TArticleForm::TakeText(const QString& pasted)
{
    QString message;
    if (std::uint64_t(pasted.size()) > MaxArticleBytes) {
        Report(QStringLiteral("粘贴的文字太长：跟打的文章最多 %1 MB。").arg(MaxArticleMegabytes));
        return false;
    }
    const QString title = QStringLiteral("粘贴的文字 %1").arg(m_items.size() + 1);
    std::optional<ArticleText> text
        = ArticleSource::FromString(title, pasted, m_codes->lexicon, QStringLiteral("粘贴的文字"), message);
    if (!text) {
        Report(message);
        return false;
    }
    AddItem(TextItem { title, title, QString(), std::make_shared<const ArticleText>(std::move(*text)) }, true);
    return true;
}

void TArticleForm::OpenButtonClick()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("打开要跟打的文章"), QString(), QStringLiteral("文本文件 (*.txt);;所有文件 (*)"));
    if (!path.isEmpty())
        LoadFile(path);
}

void TArticleForm::PasteButtonClick() { TakeText(QApplication::clipboard()->text()); }

// ---------------------------------------------------------------- one session

void TArticleForm::WayClick() { Restart(); }

void TArticleForm::RestartButtonClick() { Restart(); }

void TArticleForm::Restart()
{
    ClockTimer->stop();
    m_wubi.reset();
    m_ime.reset();
    m_finished = false;
    m_started = false;
    WubiBox->clear();
    WubiBox->setPalette(QPalette());
    ImeInput->clear();
    SetHint(defaultHint);
    HintPicture->clear();
    ReportText->clear();
    WubiBox->setVisible(WayWubi->isChecked());
    ImeInput->setVisible(!WayWubi->isChecked());
    if (!m_article) {
        View->setArticle(nullptr);
        return;
    }
    const ArticleText& text = *m_article;
    View->setArticle(&text);
    if (WayWubi->isChecked()) {
        m_wubi = std::make_unique<WubiFollow>(text, m_codes->lexicon);
        for (std::size_t i = 0; i < text.chars.size(); ++i) {
            const ArticleChar::Kind kind = text.chars[i].kind;
            if (kind == ArticleChar::Kind::Passed)
                View->setState(i, ArticleView::State::Passed);
            else if (kind != ArticleChar::Kind::Typed)
                View->setState(i, ArticleView::State::Uncoded);
        }
        View->setCurrent(m_wubi->Position());
        WubiBox->setFocus();
    } else {
        m_ime = std::make_unique<ImeFollow>(text);
        View->setCurrent(m_ime->Targets().empty() ? text.chars.size() : m_ime->Targets().front());
        ImeInput->setFocus();
    }
    ShowMeasures();
}

void TArticleForm::SetHint(const QString& text) { HintLabel->setText(text); }

void TArticleForm::WubiKey(char key)
{
    if (!m_wubi || m_finished)
        return;
    const std::size_t from = m_wubi->Position();
    const WubiFollow::Outcome outcome = m_wubi->Key(key, Now());
    if (!m_started) {
        m_started = true;
        ClockTimer->start();
    }
    WubiBox->setText(QString::fromLatin1(m_wubi->Box()));
    QPalette palette;
    if (outcome == WubiFollow::Outcome::Wrong)
        palette.setColor(QPalette::Base, QColor(0xff, 0xd0, 0xd0));
    WubiBox->setPalette(palette);
    if (outcome == WubiFollow::Outcome::Entered) {
        ShowProgress(from);
        ShowMeasures();
        if (m_wubi->Finished())
            EndSession(true);
    }
}

void TArticleForm::ImeKey()
{
    if (!m_ime || m_finished)
        return;
    m_ime->Key(Now());
    if (!m_started) {
        m_started = true;
        ClockTimer->start();
    }
}

void TArticleForm::ImeCommit(const QString& committed)
{
    if (!m_ime || m_finished)
        return;
    const std::size_t from = m_ime->Typed();
    m_ime->Commit(committed.toStdU32String(), Now());
    if (!m_started) {
        m_started = true;
        ClockTimer->start();
    }
    ShowProgress(from);
    ShowMeasures();
    if (m_ime->Finished())
        EndSession(true);
}

void TArticleForm::ImeBackspace()
{
    if (!m_ime || m_finished)
        return;
    const std::size_t from = m_ime->Typed();
    m_ime->Backspace(Now());
    ShowProgress(from);
    ShowMeasures();
}

// Marks what the last step changed: the characters from `from` (a position in the text in the
// Wubi way, a count of committed characters in the input-method way) to where the learner is now.
void TArticleForm::ShowProgress(std::size_t from)
{
    if (m_wubi) {
        const std::size_t to = m_wubi->Position();
        for (std::size_t i = from; i < to; ++i)
            if (m_article->chars[i].kind == ArticleChar::Kind::Typed)
                View->setState(i, ArticleView::State::Done);
        View->setCurrent(to);
    } else if (m_ime) {
        const auto& targets = m_ime->Targets();
        const std::size_t typed = m_ime->Typed();
        for (std::size_t k = std::min(from, typed); k < std::max(from, typed); ++k) {
            const ArticleView::State state = k >= typed ? ArticleView::State::Pending
                : m_ime->WrongAt(k)                     ? ArticleView::State::Wrong
                                                        : ArticleView::State::Done;
            View->setState(targets[k], state);
        }
        View->setCurrent(typed < targets.size() ? targets[typed] : m_article->chars.size());
    }
    if (HintLabel->text() != defaultHint) {
        SetHint(defaultHint);
        HintPicture->clear();
    }
}

QString TArticleForm::measuresText() const
{
    if (!m_wubi && !m_ime)
        return QString();
    // Once ended, the time stops at the last key: waiting before pressing 结束 is no typing.
    const std::int64_t now = m_finished ? 0 : Now();
    const ArticleMeasures m = m_wubi ? m_wubi->Measures(now) : m_ime->Measures(now);
    QString text = QStringLiteral("速度 %1 字/分　击键 %2 键/秒　码长 %3　错误 %4　回改 %5　用时 %6")
                       .arg(m.Speed(), 0, 'f', 1)
                       .arg(m.KeysPerSecond(), 0, 'f', 2)
                       .arg(m.KeysPerCharacter(), 0, 'f', 2)
                       .arg(m.errors)
                       .arg(m.corrections)
                       .arg(MinutesSeconds(m.milliseconds));
    if (m_wubi)
        text += QStringLiteral("　最短码长 %1").arg(m_wubi->ShortestKeysPerCharacterSoFar(), 0, 'f', 2);
    return text;
}

void TArticleForm::ShowMeasures() { MeasuresLabel->setText(measuresText()); }

void TArticleForm::ClockTimerTimer() { ShowMeasures(); }

void TArticleForm::EndButtonClick()
{
    if (!m_finished && (m_wubi || m_ime))
        EndSession(false);
}

void TArticleForm::EndSession(bool completed)
{
    m_finished = true;
    ClockTimer->stop();
    ShowMeasures();
    const QString title = Platform::FromGbk(m_article->title);
    QStringList report;
    report << (completed ? QStringLiteral("打完《%1》：").arg(title) : QStringLiteral("结束《%1》：").arg(title))
            + MeasuresLabel->text();
    if (m_wubi) {
        QStringList longer;
        for (const LongerCode& l : m_wubi->LongerCodes())
            longer << QStringLiteral("%1 打了 %2，可用 %3")
                          .arg(Platform::FromGbk(l.text), QString::fromStdString(l.used),
                              QString::fromStdString(l.shortest));
        report << (longer.isEmpty() ? QStringLiteral("没有多用按键的地方。")
                                    : QStringLiteral("可以少按键的地方：") + longer.join(QStringLiteral("；")));
        const std::vector<char32_t> uncoded = m_article->Uncoded();
        if (!uncoded.empty()) {
            QString chars;
            for (char32_t cp : uncoded)
                chars += QString::fromUcs4(&cp, 1);
            report << QStringLiteral("跳过的字（不在 GB2312 里或没有五笔编码）：") + chars;
        }
    }
    ReportText->setPlainText(report.join(QLatin1Char('\n')));
    if (m_started && recordSink()) {
        ArticleSessionRecord record;
        record.title = title;
        record.wubi = m_wubi != nullptr;
        record.measures = m_wubi ? m_wubi->Measures(0) : m_ime->Measures(0);
        record.shortestKeysPerCharacter = m_wubi ? m_wubi->ShortestKeysPerCharacterSoFar() : 0.0;
        record.completed = completed;
        recordSink()(record);
    }
}

// ---------------------------------------------------------------- hints and keys

void TArticleForm::ShowHint()
{
    if (!m_article)
        return;
    std::size_t at = m_article->chars.size();
    QStringList parts;
    if (m_wubi) {
        at = m_wubi->Position();
        for (const WubiFollow::Hint& h : m_wubi->HintsAtPosition())
            parts << Platform::FromGbk(h.text) + QLatin1Char(' ') + Codes(h.codes);
    } else if (m_ime && m_ime->Typed() < m_ime->Targets().size()) {
        at = m_ime->Targets()[m_ime->Typed()];
        const std::vector<std::string> codes = m_codes->lexicon.CodesForText(m_article->chars[at].gbk);
        if (!codes.empty())
            parts << Platform::FromGbk(m_article->chars[at].gbk) + QLatin1Char(' ') + Codes(codes);
    }
    SetHint(parts.isEmpty() ? QStringLiteral("这个字没有五笔编码") : parts.join(QStringLiteral("　")));
    HintPicture->clear();
    if (at >= m_article->chars.size())
        return;
    const auto picture = m_codes->pictures.find(m_article->chars[at].gbk);
    if (picture == m_codes->pictures.end())
        return;
    const QImage image = LoadDecompositionPicture(picture->second);
    HintPicture->setPixmap(QPixmap::fromImage(image));
}

bool TArticleForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != WubiBox || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
        Platform::RunHandler([&] { ShowHint(); });
        return true;
    }
    if (key->key() == Qt::Key_Backspace) {
        Platform::RunHandler([&] { WubiKey('\b'); });
        return true;
    }
    const QString text = key->text();
    if (text.size() == 1 && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = text.at(0);
        if (c == QLatin1Char(' ') || (c.unicode() < 0x80 && c.isLetter()))
            Platform::RunHandler([&] { WubiKey(char(c.unicode())); });
        // Digits and punctuation are no part of a code: the box never shows them.
        if (c.isPrint())
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TArticleForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The learner types at once: the box of the way chosen takes the keys.
    (WayWubi->isChecked() ? static_cast<QWidget*>(WubiBox) : ImeInput)->setFocus();
}

void TArticleForm::closeEvent(QCloseEvent* event)
{
    if (m_started && !m_finished)
        Platform::RunHandler([&] { EndSession(false); });
    ClockTimer->stop();
    QWidget::closeEvent(event);
    if (QWidget* practice = parentWidget()) {
        practice->raise();
        practice->activateWindow();
    }
}
