// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/HelpActions.h"

#include "about/Unit2.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QUrl>
#include <vector>

namespace {

// The About boxes have no parent window; they are released together when the application
// object goes away, before the windowing system is shut down.
std::vector<QPointer<TForm2>>& aboutBoxes()
{
    static std::vector<QPointer<TForm2>> boxes;
    return boxes;
}

void releaseAboutBoxes()
{
    auto& boxes = aboutBoxes();
    for (const QPointer<TForm2>& box : boxes)
        delete box.data();
    boxes.clear();
}

}

namespace HelpActions {

void OpenReferenceFile(const QString& fileName)
{
    Platform::OpenWithDesktop(QUrl::fromLocalFile(Platform::ProgramDir() + fileName));
}

void OpenProductPage() { Platform::OpenWithDesktop(QUrl(QString::fromLatin1(productPageUrl))); }

QWidget* ShowAboutBox(QWidget* mainWindow)
{
    if (aboutBoxes().empty())
        qAddPostRoutine(releaseAboutBoxes);

    auto* box = new TForm2(nullptr);
    aboutBoxes().emplace_back(box);

    QRect area;
    if (mainWindow)
        area = mainWindow->geometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    QRect client(QPoint(0, 0), box->size());
    client.moveCenter(area.center());
    box->setGeometry(client);

    box->show();
    box->activateWindow();
    return box;
}

}
