// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppInfo.h"
#include "app/Unit1.h"
#include "platform/Translations.h"
#include "sound/SoundLibrary.h"

#include <QApplication>
#include <QGroupBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include <cstdio>
#include <cstdlib>

namespace {
// The default style draws a group box frame from a PNG, and Qt's first image read loads
// every image-format plugin (and libjpeg) just to ask whether one of them reads PNG: some
// 15 ms before the window's first paint. The two radio groups get the same frame drawn
// directly instead.
class DirectGroupFrameStyle : public QProxyStyle {
public:
    void drawPrimitive(
        PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const override
    {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // The frame starts below the title, where the default style puts it.
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        const int top = box && !box->isCheckable() && box->title().isEmpty()
            ? 3
            : qMax(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) + 3;
        const QRectF frame = QRectF(option->rect.adjusted(0, top, 0, 0)).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(option->palette.window().color().darker(130));
        painter->setBrush(option->palette.window().color().darker(102));
        painter->drawRoundedRect(frame, 2, 2);
        painter->restore();
    }
};

}

int main(int argc, char* argv[])
{
    if (const auto status = AppInfo::AnswerCommandLine(argc, argv, stdout))
        return *status;
    QApplication app(argc, argv);
    app.setStyle(new DirectGroupFrameStyle);
    InstallQtChineseTranslations();
    AppInfo::SetApplicationIdentity(app);

    auto* form = new TForm1;
    if (form->terminateRequested()) {
        delete form;
        return 1;
    }
    form->show();
    const int result = app.exec();
    // Our own state is saved and closed with the window.
    delete form;
    if (SoundLibraryLoaded()) {
        // Qt 6.4's multimedia statics tear PulseAudio down after main has returned, while
        // libpulse's own thread may still be working, and now and then that aborts the
        // process. Nothing of ours is left to save, so end without those destructors.
        std::fflush(nullptr);
        std::_Exit(result);
    }
    return result;
}
