// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase drill inside the main window: chosen from the further-practice menu, it runs in
// the four slots like 五笔练习, with phrases instead of characters.

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

namespace {

const QString captionStart = QStringLiteral("开始");
// The slot labels' alignment as the window definition gives it.
constexpr Qt::Alignment slotAlignment = Qt::AlignLeading | Qt::AlignLeft | Qt::AlignTop;

}

int TForm1::CurrentMode() const
{
    const int index = ItemIndex(RadioGroup1);
    return phraseDrillChosen && index < 0 ? Mode::Phrases : index;
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
    SetCaption(Label6, N7->text());
    Button1Click();
}

void TForm1::PhraseHit(int k)
{
    PlayHitSound();
    DrawPhraseSlot(phraseBook, random, phraseSlots[size_t(k)]);
    StartEffect(k);
    ++inputHitCount;
}

void TForm1::ShowPhraseSlot(int k)
{
    int perLine = 1;
    SlotLabel(k)->setText(Platform::FromGbk(PhraseSlotText(phraseSlots[size_t(k)].text, perLine)));
    FitPhraseSlot(SlotLabel(k));
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

int TForm1::PictureOfCharacter(const std::string& gbk)
{
    if (m_pictureOf.empty()) {
        // The character table's record r has picture r + 1; the level-2 table names the
        // pictures of the characters outside it.
        for (int r = 0; r < tables.wb.count; ++r)
            m_pictureOf.emplace(RecordField(tables.wb.text(), 28, std::uint32_t(r), 25, 26), r + 1);
        for (int r = 0; r < tables.wb2.count; ++r) {
            const std::string field = RecordField(tables.wb2.text(), 14, std::uint32_t(r), 9, 12);
            try {
                m_pictureOf.emplace(
                    RecordField(tables.wb2.text(), 14, std::uint32_t(r), 1, 2), ParsePictureNumber(field));
            } catch (const AppError&) {
                // A damaged record only loses its picture here.
            }
        }
    }
    const auto it = m_pictureOf.find(gbk);
    return it == m_pictureOf.end() ? 0 : it->second;
}

void TForm1::ShowPhraseHint(int k)
{
    tavphrase& slot = phraseSlots[size_t(k)];
    if (slot.text.empty())
        return;
    SetCaption(Label5, Platform::FromGbk(slot.code));
    SetCaption(Label9, Platform::FromGbk(PhraseHint(slot)));
    PlacePhraseHint();
    Label9->show();
    // Each press shows the next character that has a picture, round the phrase.
    const int n = slot.characters;
    for (int step = 0; step < n; ++step) {
        const int i = (int(slot.hintStep) - 1 + step) % n;
        const int picture = PictureOfCharacter(slot.text.substr(size_t(i) * 2, 2));
        if (picture > 0) {
            slot.hintStep = std::uint16_t((i + 1) % n + 1);
            ShowDecompositionPicture(picture);
            return;
        }
    }
    Image1->clear();
}

void TForm1::PlacePhraseHint()
{
    // Centred in the band between the slots and the bottom row, in either face.
    const int slotsBottom = Label1->y() + Label1->height();
    const int rowTop = std::min({ Image1->y(), Edit1->y(), Button1->y() });
    Label9->move(
        (width() - Label9->width()) / 2, slotsBottom + std::max(0, (rowTop - slotsBottom - Label9->height()) / 2));
}
