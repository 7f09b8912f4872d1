// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Translations.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QtTest>

class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void dialogButtonsReadChinese();
};

// Every message box's button reads 确定, whatever the desktop's language.
void TestTranslations::dialogButtonsReadChinese()
{
    QDialogButtonBox before(QDialogButtonBox::Ok);
    QCOMPARE(before.button(QDialogButtonBox::Ok)->text(), QStringLiteral("OK"));
    QVERIFY2(InstallQtChineseTranslations(), "qtbase_zh_CN.qm is missing (scripts/setup installs it)");
    QDialogButtonBox after(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(after.button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(after.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
