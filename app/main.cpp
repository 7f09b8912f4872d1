#include "app/Unit1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pelunor"));
    QCoreApplication::setApplicationName(QStringLiteral("Quillado"));

    auto* form = new TForm1;
    if (form->terminateRequested()) {
        delete form;
        return 1;
    }
    form->show();
    const int result = app.exec();
    delete form;
    return result;
}
