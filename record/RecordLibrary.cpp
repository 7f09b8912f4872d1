// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordBackend.h"

#include <QLibrary>

namespace Record {
namespace {

    // Without the library nothing is kept and the drill has no history; practice goes on, and
    // the caller tells the learner why (once, or whenever they ask for the record).
    class MissingBackend : public Backend {
    public:
        explicit MissingBackend(QString why)
            : m_why(std::move(why))
        {
        }
        Store* store() override { return nullptr; }
        bool Save(SessionRow) override { return false; }
        void Checkpoint() override { }
        std::vector<ItemStat> History(int) override { return {}; }
        QString TakeFault() override
        {
            return QStringLiteral(
                "练习记录无法使用：程序库 quillado_record 没有找到或无法载入（%1）。练习照常进行，但不会记入记录。")
                .arg(m_why);
        }
        QWidget* MakeWindow(int, RecordWindow::Hooks, QWidget*) override { return nullptr; }
        void ShowMode(QWidget&, int) override { }

    private:
        QString m_why;
    };

} // namespace

std::unique_ptr<Backend> LoadRecordLibrary(const QString& dir, const QString& path)
{
    // Never unloaded: Qt's SQL drivers and chart classes keep state for the whole process.
    QLibrary library(dir + QStringLiteral("quillado_record"));
    using Factory = Backend* (*)(const QString&);
    const auto factory = reinterpret_cast<Factory>(library.resolve(QUILLADO_RECORD_FACTORY));
    if (!factory)
        return std::make_unique<MissingBackend>(library.errorString());
    return std::unique_ptr<Backend>(factory(path));
}

} // namespace Record
