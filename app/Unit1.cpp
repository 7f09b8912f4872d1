// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit1.h"

#include "about/HelpActions.h"
#include "app/ArticleForm.h"
#include "app/FormParts.h"
#include "app/InputBox.h"
#include "platform/Face.h"
#include "platform/FirstPaint.h"
#include "platform/Fonts.h"
#include "platform/PaintSettle.h"
#include "platform/Platform.h"
#include "presentation/Layout.h"
#include "presentation/Pictures.h"
#include "presentation/SlotGlyphs.h"
#include "session/ArticleTexts.h"
#include "session/Judge.h"
#include "session/PhraseBook.h"
#include "session/Results.h"
#include "ui_Unit1.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

TForm1* Form1 = nullptr;

using namespace FormParts;

namespace {
void setTextColour(QLabel* label, const QColor& colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}

TForm1::TForm1(QWidget* parent, SoundSystem::Seams soundSeams)
    : QWidget(parent)
    , sound(std::move(soundSeams))
    , ui(std::make_unique<Ui::TForm1>())
{
    Form1 = this;
    ui->setupUi(this);
    Label1 = ui->Label1;
    Label2 = ui->Label2;
    Label3 = ui->Label3;
    Label4 = ui->Label4;
    Label5 = ui->Label5;
    Label6 = ui->Label6;
    Label7 = ui->Label7;
    Label8 = ui->Label8;
    Image1 = ui->Image1;
    RadioGroup1 = ui->RadioGroup1;
    RadioGroup2 = ui->RadioGroup2;
    CheckBox1 = ui->CheckBox1;
    CheckBox2 = ui->CheckBox2;
    Button1 = ui->Button1;
    Button2 = ui->Button2;
    Button4 = ui->Button4;
    Button5 = ui->Button5;
    Button6 = ui->Button6;
    Button7 = ui->Button7;
    Edit1 = ui->Edit1;
    m_faceControls = { Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Image1, Button1, Edit1, Button2,
        Button4, Button5, Button6, Button7 };

    setWindowFlags(windowFaceFlags);
    HoldWindowFaceSize();
    setPalette(ButtonFacePalette());
    setAutoFillBackground(true);
    InitFonts();
    // The slots' big glyphs are drawn once and copied after; a hit's red is ready before the key.
    new SlotGlyphs({ Label1, Label2, Label3, Label4 }, { QColor(255, 0, 0) }, this);
    new PaintSettle(this);

    auto makeGroup = [this](QGroupBox* box, QButtonGroup*& group) {
        group = new QButtonGroup(this);
        int id = 0;
        for (QRadioButton* b : box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
            group->addButton(b, id++);
    };
    makeGroup(RadioGroup1, m_modeGroup);
    makeGroup(RadioGroup2, m_timeGroup);

    auto makeTimer = [this](const char* name, int interval, void (TForm1::*handler)()) {
        auto* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(interval);
        // The clock must not run early: a coarse timer may fire 5% before time.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, Guarded(handler));
        return timer;
    };
    Timer1 = makeTimer("Timer1", 1000, &TForm1::Timer1Timer);
    Timer2 = makeTimer("Timer2", 1000, &TForm1::Timer2Timer);
    Timer3 = makeTimer("Timer3", 500, &TForm1::Timer3Timer);
    Timer4 = makeTimer("Timer4", 500, &TForm1::Timer4Timer);
    Timer5 = makeTimer("Timer5", 500, &TForm1::Timer5Timer);
    Timer6 = makeTimer("Timer6", 500, &TForm1::Timer6Timer);
    Timer2->start();

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    auto addEntry = [this](const char* name, const QString& caption, void (TForm1::*handler)()) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, Guarded(handler));
        return action;
    };
    N1 = addEntry("N1", QStringLiteral("软件更新"), &TForm1::N1Click);
    N2 = addEntry("N2", QStringLiteral("关于软件说明"), &TForm1::N2Click);
    N3 = addEntry("N3", QStringLiteral("标准键盘键位图"), &TForm1::N3Click);
    N4 = addEntry("N4", QStringLiteral("数字键盘指法图"), &TForm1::N4Click);
    N861 = addEntry("N861", QStringLiteral("五笔字根图86版"), &TForm1::N861Click);
    N5 = addEntry("N5", QStringLiteral("五笔字型简述"), &TForm1::N5Click);
    N6 = addEntry("N6", QStringLiteral("练习记录"), &TForm1::N6Click);

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    N7 = PopupMenu2->addAction(QStringLiteral("词组练习"));
    N7->setObjectName(QStringLiteral("N7"));
    connect(N7, &QAction::triggered, this, Guarded(&TForm1::N7Click));
    Label9 = new QLabel(this);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->setFont(Label5->font());
    Label9->hide();
    bank.SetPhraseBook(&phraseBook);
    // Choosing a mode of the group leaves the phrase drill.
    connect(m_modeGroup, &QButtonGroup::idClicked, this, [this] { phraseDrillChosen = false; });

    N8 = PopupMenu2->addAction(QStringLiteral("文章跟打"));
    N8->setObjectName(QStringLiteral("N8"));
    connect(N8, &QAction::triggered, this, Guarded(&TForm1::N8Click));
    // Texts typed through are kept with the drill sessions.
    TArticleForm::SetRecordSink([this](const ArticleSessionRecord& done) { KeepArticleSession(done); });

    auto onClick = [this](QPushButton* button, void (TForm1::*handler)()) {
        connect(button, &QPushButton::clicked, this, Guarded(handler));
    };
    onClick(Button1, &TForm1::Button1Click);
    onClick(Button2, &TForm1::Button2Click);
    onClick(Button4, &TForm1::Button4Click);
    onClick(Button5, &TForm1::Button5Click);
    onClick(Button6, &TForm1::Button6Click);
    onClick(Button7, &TForm1::Button7Click);
    // Click handlers also run when start-up checks a box, as the settings are applied.
    connect(CheckBox1, &QCheckBox::toggled, this, Guarded(&TForm1::CheckBox1Click));
    connect(CheckBox2, &QCheckBox::toggled, this, Guarded(&TForm1::CheckBox2Click));

    // Seeing every typed character before the focused control: a filter on each child that
    // can take the focus sees each key exactly once, before the child does.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->focusPolicy() != Qt::NoFocus) {
            child->installEventFilter(this);
            m_previewedChildren.insert(child);
        }

    CentreOnDesktop();

    Platform::RunHandler([this] { FormCreate(); });
}

std::function<void()> TForm1::Guarded(void (TForm1::*handler)())
{
    // As the application's event loop does: an error ends the handler and is reported,
    // and the program goes on.
    return [this, handler] { Platform::RunHandler([&] { (this->*handler)(); }); };
}

TForm1::~TForm1()
{
    FormDestroy();
    // The sink reaches this window's record: no text may be kept through it any more.
    TArticleForm::SetRecordSink({});
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::InitFonts()
{
    setFont(SongFont(14));
    for (QLabel* slot : { Label1, Label2, Label3, Label4 })
        slot->setFont(SongFont(200));
    for (QWidget* w : std::initializer_list<QWidget*> { RadioGroup1, RadioGroup2, Label6, Label7 })
        w->setFont(SongFont(17));
    for (QWidget* w : std::initializer_list<QWidget*> { CheckBox1, CheckBox2 })
        w->setFont(SongFont(14));
    for (QWidget* w : std::initializer_list<QWidget*> { Label5, Label8, Edit1 })
        w->setFont(SongFont(hintPixels, true));
    // The hint line holds codes and pinyin only; set wide, a four-letter code would run under
    // the split picture beside it.
    QFont hintFont = Label5->font();
    hintFont.setStretch(QFont::Condensed);
    Label5->setFont(hintFont);
    for (QWidget* w : std::initializer_list<QWidget*> { Button1, Button2, Button4, Button5, Button6, Button7 })
        w->setFont(SongFont(17, true));
}

int TForm1::ItemIndex(QGroupBox* group) const
{
    return (group == RadioGroup1 ? m_modeGroup : m_timeGroup)->checkedId();
}

void TForm1::SetItemIndex(QGroupBox* group, int index)
{
    QButtonGroup* buttons = group == RadioGroup1 ? m_modeGroup : m_timeGroup;
    if (QAbstractButton* b = buttons->button(index)) {
        b->setChecked(true);
    } else if (QAbstractButton* checked = buttons->checkedButton()) {
        buttons->setExclusive(false);
        checked->setChecked(false);
        buttons->setExclusive(true);
    }
}

QString TForm1::ItemCaption(QGroupBox* group, int index) const
{
    QAbstractButton* b = (group == RadioGroup1 ? m_modeGroup : m_timeGroup)->button(index);
    return b ? b->text() : QString();
}

QLabel* TForm1::SlotLabel(int slot) const
{
    switch (slot) {
    case 1:
        return Label1;
    case 2:
        return Label2;
    case 3:
        return Label3;
    default:
        return Label4;
    }
}

QTimer* TForm1::EffectTimer(int slot) const
{
    switch (slot) {
    case 1:
        return Timer3;
    case 2:
        return Timer4;
    case 3:
        return Timer5;
    default:
        return Timer6;
    }
}

QString TForm1::SlotText(int mode, int k) const
{
    if (mode == Mode::None)
        return SlotLabel(k)->text();
    return Platform::FromGbk(bank.ShownText(mode, k));
}

void TForm1::SetCaption(QLabel* label, const QString& text)
{
    label->setText(text);
    if (label == Label5)
        FitHintLine(text);
    // Labels size themselves to their text; their height is the font's character height.
    const QFontMetrics metrics(label->font());
    const int height = label == Label5  ? hintPixels
        : label->font().pixelSize() > 0 ? label->font().pixelSize()
                                        : metrics.height();
    label->resize(text.isEmpty() ? 0 : metrics.horizontalAdvance(text), height);
    if (label == Label6) {
        // A long result line (four-digit speeds) would run past the window's edge: it moves
        // left just as far as it must.
        const int room = width() - 4 - label->width();
        label->move(qMax(0, qMin(m_label6Left, room)), label->y());
    }
}

// The hint line ends where the split picture begins: a code too wide for that room at the
// full size (W and M are wide in every Latin face we may get) is set smaller until it fits.
void TForm1::FitHintLine(const QString& text)
{
    QFont font = Label5->font();
    font.setPixelSize(hintPixels);
    const int room = Image1->x() - Label5->x() - 1;
    while (font.pixelSize() > 12 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPixelSize(font.pixelSize() - 1);
    if (font != Label5->font())
        Label5->setFont(font);
}

// ---------------------------------------------------------------- start-up and shut-down

void TForm1::FormCreate()
{
    m_label6Left = Label6->x();
    for (QLabel* label : { Label5, Label6, Label7, Label8 })
        SetCaption(label, label->text());

    LoadOutcome outcome = LoadOutcome::Loaded;
    std::string refusal;
    try {
        outcome = LoadDataTables(Platform::ProgramDirPath(), tables, &refusal);
    } catch (const AppError& e) {
        // The failing table and the ones after it stay empty; the program runs on. The sound
        // switches are still read, so the check boxes never contradict what is heard.
        Platform::ReportError(e);
    }
    if (outcome == LoadOutcome::PlainTableMissing) {
        // A plain table that is there but unfit (a pipe, a folder, gigabytes) is named first;
        // the program then ends as it does without the table.
        if (!refusal.empty())
            Platform::ReportError(QStringLiteral("Cannot open file %1").arg(QString::fromStdString(refusal)));
        Platform::ShowMessageBox(QStringLiteral("打开字库失败！"), QStringLiteral("失败"), Platform::MessageIcon::None);
        m_terminateRequested = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }
    const SoundSystem::Switches switches = sound.ReadSwitches();
    // Checking a box runs its click handler, which finds the value already stored.
    if (switches.playMp3 == 0)
        CheckBox1->setChecked(true);
    if (switches.playWav == 0)
        CheckBox2->setChecked(true);
    // The media libraries, the settings writes and the font check cost time the learner
    // would see as a slower start: they wait until the window is on the screen.
    RunAfterFirstPaint(this, [this] { AfterFirstPaint(); });
}

void TForm1::AfterFirstPaint()
{
    // The phrase book serves only the further practice, so it never delays the window.
    LoadPhraseBookReported();
    sound.Begin();
    static bool fontChecked = false;
    if (!fontChecked && !ChineseFontInstalled())
        Platform::ReportError(QStringLiteral(
            "No font with Chinese characters is installed, so the captions and practice items show as empty boxes. "
            "Install one (for example fonts-arphic-uming or fonts-noto-cjk) and start the program again."));
    fontChecked = true;
}

void TForm1::FormClose()
{
    tables.freeAll();
    // While the event loop still runs, so that the media framework's threads wind down
    // before the program ends.
    sound.Release();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    Platform::RunHandler([this] { FormClose(); });
    QWidget::closeEvent(event);
    // Closing the main window ends the program, even with About boxes still open.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TForm1::Button4Click() { close(); }

// ---------------------------------------------------------------- session control

void TForm1::BringToFront()
{
    raise();
    activateWindow();
}

void TForm1::PlayMusicReported(const QString& fileName)
{
    Platform::RunHandler([&] { PlayMusic(fileName); });
}

void TForm1::Button1Click()
{
    const QString caption = Button1->text();
    if (caption == captionPause)
        Pause();
    else if (caption == captionContinue)
        Continue();
    else
        Start();
}

void TForm1::Start()
{
    BringToFront();
    const int mode = CurrentMode();
    if (mode == Mode::None) {
        Platform::ShowMessageBox(
            QStringLiteral("请选择打字类型"), QStringLiteral("提示"), Platform::MessageIcon::Information);
        return;
    }
    const int time = ItemIndex(RadioGroup2);
    if (time < 0) {
        Platform::ShowMessageBox(
            QStringLiteral("请选择测试时间"), QStringLiteral("提示"), Platform::MessageIcon::Information);
        return;
    }
    if (const char* file = bank.EmptyTableFile(mode)) {
        Platform::ShowMessageBox(
            QStringLiteral("练习数据“%1”没有可用的内容，无法开始这项练习。").arg(QLatin1String(file)),
            QStringLiteral("提示"), Platform::MessageIcon::Information);
        return;
    }
    // The drill's weak items are chosen before the first draw; off, the draw is untouched.
    record.PrepareDrill(mode, tables, bank.drill);
    // Draw the four items before anything changes, so a damaged record leaves the session
    // idle instead of half-started (the error leaves this handler here).
    bank.Fill(mode);

    SetCaption(Label5, QString());
    SetCaption(Label6, ModeCaption(mode));
    EndPhraseDisplay();
    Image1->clear();
    testSeconds = TestTimeSeconds[size_t(time)];
    for (QWidget* w : std::initializer_list<QWidget*> { RadioGroup1, RadioGroup2, CheckBox1, CheckBox2 })
        w->hide();
    Timer1->start();
    elapsedSeconds = 0;
    keyHitCount = 0;
    PlayMusicReported(QLatin1String(SoundSystem::SessionMusic));
    if (Mode::IsSingleKey(mode)) {
        KeyPreview = true;
    } else {
        inputHitCount = 0;
        Edit1->setFocus();
    }
    for (int k = 1; k <= 4; ++k)
        ShowSlot(mode, k);
    if (ModeOf(mode).follow == Follow::Target) {
        Label8->setEnabled(true);
        Label8->show();
    }
    ShowHint(bank.Guide(mode, 1));
    Button1->setText(captionPause);
    sessionMode = mode;
    Button2->setEnabled(true);
    Label6->setToolTip(QString());
    record.Started(mode, testSeconds);
}

void TForm1::Pause()
{
    sessionMode = CurrentMode();
    Timer1->stop();
    KeyPreview = false;
    Edit1->setEnabled(false);
    Button1->setText(captionContinue);
    sound.PauseMusic();
    record.Paused();
}

void TForm1::Continue()
{
    BringToFront();
    Edit1->setEnabled(true);
    if (Mode::IsSingleKey(sessionMode))
        KeyPreview = true;
    else
        Edit1->setFocus();
    Timer1->start();
    Button1->setText(captionPause);
    sound.ResumeMusic();
    record.Resumed();
}

void TForm1::Button2Click() { EndSession(false); }

void TForm1::Timer1Timer()
{
    ++elapsedSeconds;
    SetCaption(Label7, QString::fromStdString(ClockText(elapsedSeconds)));
    if (elapsedSeconds >= testSeconds)
        EndSession(true);
}

void TForm1::EndSession(bool timeUp)
{
    PlayMusicReported(QLatin1String(SoundSystem::IdleMusic));
    if (!timeUp)
        BringToFront();
    const int mode = CurrentMode();
    const int count = Mode::IsSingleKey(mode) ? keyHitCount : inputHitCount;
    SetCaption(Label6, QString::fromStdString(ResultLine(mode, timeUp, count, elapsedSeconds)));
    // The accuracy stands beside the result line, never in it: the line's words stay as they are.
    Label6->setToolTip(record.Ended(mode, timeUp, count, elapsedSeconds, SpeedPerMinute(count, elapsedSeconds)));
    if (ModeOf(mode).follow == Follow::Target) {
        Label8->hide();
        Label8->setEnabled(false);
    }
    KeyPreview = false;
    for (QWidget* w : std::initializer_list<QWidget*> { RadioGroup1, RadioGroup2, CheckBox1, CheckBox2 })
        w->show();
    Timer1->stop();
    Button1->setEnabled(true);
    Button1->setText(captionStart);
    Button2->setEnabled(false);
    Edit1->setEnabled(true);
    Edit1->clear();
    EndPhraseDisplay();
    for (int k = 1; k <= 4; ++k)
        SlotLabel(k)->setText(captionFinished);
    // Time-up leaves the clock where it stopped, so the last tick stays readable.
    if (!timeUp)
        elapsedSeconds = 0;
    SetCaption(Label5, QString());
    Image1->clear();
}

// ---------------------------------------------------------------- keys

void TForm1::FormKeyPress(char& key)
{
    const int mode = ItemIndex(RadioGroup1);
    if (!Mode::IsSingleKey(mode))
        return;
    key = FoldKey(mode, key);
    const Judgement judged = bank.JudgeKey(mode, key);
    if (!judged.hit()) {
        // Which of the four slots the key was meant for is not known: counted, not attributed.
        if (IsLetterOrDigit(key))
            record.Miss();
        return;
    }
    Edit1->clear();
    Hit(mode, judged.slot, key);
}

void TForm1::Edit1KeyPress(char& key)
{
    const int mode = CurrentMode();
    if (!Mode::IsInputBox(mode))
        return;
    if (!KeptByFilter(key))
        key = 0;
    const QString box = Edit1->text();
    // A phrase code is four letters and submits itself at the fourth, as a character's does.
    const AttemptForm form = FormAttempt(mode, Platform::ToGbk(box), int(box.size()), key);
    if (!form.made)
        return;
    if (form.box == AttemptForm::Box::SetToKey)
        Edit1->setText(uchar(key) >= 32 ? QString(QChar(uchar(key))) : QString());
    else if (form.box == AttemptForm::Box::Emptied)
        Edit1->clear();
    const std::string target = AsciiUpper(Platform::ToGbk(Label5->text()));
    const Judgement judged = bank.JudgeAttempt(mode, form.attempt, target);
    if (!judged.hit()) {
        if (!form.attempt.empty())
            RecordMiss(mode, target);
        return;
    }
    if (!ModeOf(mode).boxKeepsKeyOnHit)
        Edit1->clear();
    key = 0;
    Hit(mode, judged.slot, key);
}

// A slot typed correctly: sound, a new item, the red flash, the follow-typing guide moved on
// to the slot to its right, and the count. A refill that fails (a damaged record) ends the
// hit before it is counted.
void TForm1::Hit(int mode, int k, char typed)
{
    const ModeInfo& info = ModeOf(mode);
    if (info.hitSound)
        PlayHitSound();
    const ItemKey item = bank.Item(mode, k);
    bank.Refill(mode, k, typed);
    StartEffect(k);
    ShowHint(bank.Guide(mode, NextSlot(k)));
    ++(Mode::IsSingleKey(mode) ? keyHitCount : inputHitCount);
    record.Hit(k, item);
}

// An attempt that hit nothing. Only pinyin follow-typing names the item it was meant for:
// the target, the slot whose pinyin the hint line shows.
void TForm1::RecordMiss(int mode, const std::string& target)
{
    const Judgement meant = ModeOf(mode).follow == Follow::Target && !target.empty()
        ? bank.JudgeAttempt(mode, target, target)
        : Judgement {};
    if (meant.hit())
        record.MissOn(meant.slot, bank.Item(mode, meant.slot));
    else
        record.Miss();
}

// ---------------------------------------------------------------- hit effects

void TForm1::StartEffect(int k)
{
    setTextColour(SlotLabel(k), QColor(255, 0, 0));
    // A second hit while the label is still red must not push the tick back.
    if (!EffectTimer(k)->isActive())
        EffectTimer(k)->start();
}

void TForm1::EffectTick(int k)
{
    QLabel* label = SlotLabel(k);
    setTextColour(label, QColor(0, 0, 0));
    const int mode = CurrentMode();
    if (mode != Mode::None)
        ShowSlot(mode, k);
    EffectTimer(k)->stop();
}

// ---------------------------------------------------------------- hints

void TForm1::Edit1KeyDown(quint16 key)
{
    if (key < VK_F1 || key > VK_F4)
        return;
    ShowHint(bank.Hint(CurrentMode(), int(key - VK_F1) + 1));
}

// The hint line first, then the character beside it or the picture.
void TForm1::ShowHint(const SlotHint& hint)
{
    if (hint.showsLine)
        SetCaption(Label5, Platform::FromGbk(hint.line));
    if (hint.character)
        SetCaption(Label8, Platform::FromGbk(*hint.character));
    if (hint.phrase)
        ShowPhraseHint(*hint.phrase);
    // A missing picture is reported; the hint, the start or the hit it belongs to stands.
    if (hint.picture)
        Platform::RunHandler([&] { ShowDecompositionPicture(*hint.picture); });
    else if (hint.clearsPicture)
        Image1->clear();
}

void TForm1::ShowSlot(int mode, int k)
{
    QLabel* label = SlotLabel(k);
    label->setText(SlotText(mode, k));
    if (ModeOf(mode).slotKind == SlotKind::Phrase)
        FitPhraseSlot(label);
}

void TForm1::ShowDecompositionPicture(int n)
{
    const QImage picture = LoadDecompositionPicture(n);
    Image1->resize(Image1->width(), picture.height());
    Image1->resize(picture.width(), picture.height());
    Image1->setPixmap(QPixmap::fromImage(picture));
}

// ---------------------------------------------------------------- sound switches

void TForm1::Timer2Timer() { sound.Timer2Timer(); }

void TForm1::CheckBox1Click() { sound.CheckBox1Click(CheckBox1->isChecked()); }

void TForm1::CheckBox2Click() { sound.CheckBox2Click(CheckBox2->isChecked()); }

// ---------------------------------------------------------------- help menu

void TForm1::Button5Click() { PopupMenu1->popup(QCursor::pos()); }

void TForm1::N1Click() { HelpActions::OpenProductPage(); }
void TForm1::N2Click() { HelpActions::ShowAboutBox(this); }
void TForm1::N3Click() { HelpActions::OpenReferenceFile(QString::fromUtf16(HelpActions::keyboardChart)); }
void TForm1::N4Click() { HelpActions::OpenReferenceFile(QString::fromUtf16(HelpActions::keypadChart)); }
void TForm1::N861Click() { HelpActions::OpenReferenceFile(QString::fromUtf16(HelpActions::rootChart)); }
void TForm1::N5Click() { HelpActions::OpenReferenceFile(QString::fromUtf16(HelpActions::wubiDocument)); }
void TForm1::N6Click() { record.OpenWindow(this, ItemIndex(RadioGroup1)); }
