// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/LearningRecord.h"
#include "data/Tables.h"
#include "presentation/Layout.h"
#include "session/Drawing.h"
#include "session/PhraseBook.h"
#include "session/SlotBank.h"
#include "sound/Sound.h"

#include <QSet>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class InputBox;
class TArticleForm;
struct ArticleSessionRecord;

namespace Ui {
class TForm1;
}

// The trainer's one working window. Every practice control, display and timer lives here;
// the session state is plain members read and written by the handlers, and the session
// phase is held by Button1's caption alone.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Window system commands the full-screen switch travels as.
    static constexpr quint32 SC_MAXIMIZE = 0xF030;
    static constexpr quint32 SC_RESTORE = 0xF120;
    // Client size of the window face.
    static constexpr QSize WindowFaceClientSize { WindowFaceWidth, WindowFaceHeight };

    // `sound` carries the sound system's seams: tests put a fake machine and their own
    // settings store in; the program passes none.
    explicit TForm1(QWidget* parent = nullptr, SoundSystem::Seams sound = {});
    ~TForm1() override;

    // True when start-up hit the fatal data failure and the program is to end.
    bool terminateRequested() const { return m_terminateRequested; }

    // --- controls (object names as the window definition gives them)
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Image1;
    QGroupBox *RadioGroup1, *RadioGroup2;
    QCheckBox *CheckBox1, *CheckBox2;
    QPushButton *Button1, *Button2, *Button4, *Button5, *Button6;
    QPushButton* Button7; // further practice: opens PopupMenu2
    InputBox* Edit1;
    QTimer *Timer1, *Timer2, *Timer3, *Timer4, *Timer5, *Timer6;
    QMenu* PopupMenu1;
    QAction *N1, *N2, *N3, *N4, *N861, *N5, *N6;
    QMenu* PopupMenu2;
    QAction* N7; // 词组练习
    QAction* N8; // 文章跟打
    QLabel* Label9; // the phrase drill's hint: which letters each character gives
    bool KeyPreview = true;

    // --- data tables and session state
    DataTables tables;
    RandomSource random;
    SlotBank bank { tables, random };
    // The phrase drill: its tables (loaded after the first paint; the bank draws its slots),
    // and whether it is the chosen practice (the mode group then has nothing selected).
    PhraseBook phraseBook;
    bool phraseDrillChosen = false;
    std::int32_t keyHitCount = 0;
    std::int32_t inputHitCount = 0;
    std::int32_t elapsedSeconds = 0;
    std::int32_t testSeconds = 0;
    std::int32_t sessionMode = 0;
    SoundSystem sound;
    LearningRecord record;

    // --- radio groups: item index, -1 when nothing is selected
    int ItemIndex(QGroupBox* group) const;
    // The chosen practice: the mode group's index, or Mode::Phrases for the phrase drill.
    int CurrentMode() const;
    void SetItemIndex(QGroupBox* group, int index);
    QString ItemCaption(QGroupBox* group, int index) const;

    // --- handlers
    void FormCreate();
    void FormClose();
    void FormDestroy() { }
    void FormKeyPress(char& key);
    void Edit1KeyPress(char& key);
    void Edit1KeyDown(quint16 key);
    void Button1Click();
    void Button2Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer() { EffectTick(1); }
    void Timer4Timer() { EffectTick(2); }
    void Timer5Timer() { EffectTick(3); }
    void Timer6Timer() { EffectTick(4); }
    void CheckBox1Click();
    void CheckBox2Click();
    void N1Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N861Click();
    void N5Click();
    void N6Click();
    void Button7Click();
    void N7Click();
    void N8Click();
    // The follow-typing window, made the first time it is asked for.
    TArticleForm* ArticleForm() const { return m_articleForm; }
    // Stores a text typed through in the learning record.
    void KeepArticleSession(const ArticleSessionRecord& done);
    void HandleSysCommand(quint32 command);

    void ShowDecompositionPicture(int n);
    void PlayMusic(const QString& fileName) { sound.PlayMusic(fileName); }
    void PlayHitSound() { sound.PlayHitSound(); }

    QLabel* SlotLabel(int slot) const;
    QTimer* EffectTimer(int slot) const;
    // What slot k shows in the given mode.
    QString SlotText(int mode, int k) const;
    // The caption of a practice: the mode group's, or the further-practice menu's.
    QString ModeCaption(int mode) const;

    void ApplyWindowLayout();
    void ApplyFullScreenLayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Start();
    void Pause();
    void Continue();
    void EndSession(bool timeUp);
    void StartEffect(int k);
    void EffectTick(int k);
    void Hit(int mode, int k, char typed);
    void RecordMiss(int mode, const std::string& target);
    void ShowHint(const SlotHint& hint);
    void ShowSlot(int mode, int k);
    // The phrase drill's own display (PhraseDrill.cpp): phrases take their font from the
    // slot's size, and their hint a line of its own.
    void LoadPhraseBookReported();
    void FitPhraseSlot(QLabel* label);
    void ShowPhraseHint(const std::string& gbk);
    void PlacePhraseHint();
    void EndPhraseDisplay();
    // Music must never stop a session step: a failure is reported and the step goes on.
    void PlayMusicReported(const QString& fileName);
    std::function<void()> Guarded(void (TForm1::*handler)());
    void BringToFront();
    void CentreOnDesktop();
    void AfterFirstPaint();
    void SetCaption(QLabel* label, const QString& text);
    void FitHintLine(const QString& text);
    static constexpr int hintPixels = 35; // the hint line, the input box and the target character
    bool DeliverCharacter(QObject* receiver, QKeyEvent* event);
    bool KeyPreviewedByChild() const;
    void PostSysCommand(quint32 command);
    void HoldWindowFaceSize();
    void SnapBackToWindowFace();
    void ActivateAfterSwitch();
    void InitFonts();
    void PlaceControls(const struct FaceLayout& layout);

    std::unique_ptr<Ui::TForm1> ui;
    QButtonGroup* m_modeGroup = nullptr;
    QButtonGroup* m_timeGroup = nullptr;
    bool m_terminateRequested = false;
    bool m_resending = false;
    // Children whose typed keys the window sees first, through its filter.
    QSet<const QObject*> m_previewedChildren;
    bool m_applyingLayout = false;
    int m_label6Left = 0; // where the layout puts Label6; a long line moves it left from here
    TArticleForm* m_articleForm = nullptr;
    // The controls the faces place, in FaceControl's order.
    std::array<QWidget*, std::size_t(FaceControl::Count)> m_faceControls {};
};

// The main window, set before its construction runs so start-up code can reach it.
extern TForm1* Form1;
