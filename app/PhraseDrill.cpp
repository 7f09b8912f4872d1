// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase drill inside the main window: chosen from the further-practice menu, it runs in
// the four slots like 五笔练习, with phrases instead of characters.

#include "app/FormParts.h"
#include "app/InputBox.h"
#include "app/Unit1.h"
#include "platform/Platform.h"
#include "session/PhraseBook.h"

#include <QCursor>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <algorithm>

using namespace FormParts;

namespace {

// The slot labels' alignment as the window definition gives it.
constexpr Qt::Alignment slotAlignment = Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop;

}

int TForm1::CurrentMode() const
{
    const int index = ItemIndex(RadioGroup1);
    return phraseDrillChosen && index < 0 ? Mode::Phrases : index;
}

QString TForm1::ModeCaption(int mode) const
{
    return mode == Mode::Phrases ? N7->text() : ItemCaption(RadioGroup1, mode);
}

void TForm1::LoadPhraseBookReported()
{
    const std::vector<AppError> errors
        = LoadPhraseBook(std::filesystem::path(Platform::ProgramDir().toStdU16String()), phraseBook);
    if (errors.empty())
        return;
    // One report for both tables; every other practice goes on without them.
    std::string text;
    for (const AppError& e : errors)
        text += (text.empty() ? "" : "\n") + std::string(e.what());
    Platform::ReportError(AppError(text));
}

void TForm1::Button7Click()
{
    // The drill can only be chosen between sessions.
    N7->setEnabled(Button1->text() == captionStart);
    PopupMenu2->popup(QCursor::pos());
}

void TForm1::N7Click()
{
    if (Button1->text() != captionStart)
        return;
    phraseDrillChosen = true;
    SetItemIndex(RadioGroup1, -1);
    SetCaption(Label6, ModeCaption(Mode::Phrases));
    Button1Click();
}

void TForm1::FitPhraseSlot(QLabel* label)
{
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    qsizetype perLine = 1;
    for (const QString& line : lines)
        perLine = std::max(perLine, line.size());
    // The largest font at which every line fits the slot's square, so two to eight
    // characters stay readable in either face.
    const int cell = label->height();
    QFont font = label->font();
    for (int size = std::max(cell / int(perLine), 1);; size -= std::max(size / 20, 1)) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (size <= 8 || (widest <= label->width() && metrics.height() * int(lines.size()) <= cell))
            break;
    }
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
}

void TForm1::EndPhraseDisplay()
{
    for (int k = 1; k <= 4; ++k) {
        QLabel* label = SlotLabel(k);
        if (label->alignment() == slotAlignment)
            continue;
        QFont font = label->font();
        font.setPixelSize(label->height());
        label->setFont(font);
        label->setAlignment(slotAlignment);
    }
    Label9->hide();
}

void TForm1::ShowPhraseHint(const std::string& gbk)
{
    SetCaption(Label9, Platform::FromGbk(gbk));
    PlacePhraseHint();
    Label9->show();
}

void TForm1::PlacePhraseHint()
{
    // Centred in the band between the slots and the bottom row, in either face.
    const int slotsBottom = Label1->y() + Label1->height();
    const int rowTop = std::min({ Image1->y(), Edit1->y(), Button1->y() });
    Label9->move(
        (width() - Label9->width()) / 2, slotsBottom + std::max(0, (rowTop - slotsBottom - Label9->height()) / 2));
}
