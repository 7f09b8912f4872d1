// SPDX-License-Identifier: GPL-3.0-or-later
// The record library's door: the backend the program reaches through the one exported
// factory below.
#include "record/RecordBackend.h"

namespace {

class StoreBackend : public Record::Backend {
public:
    explicit StoreBackend(const QString& path)
        : m_store(Record::Store::Options { path.isEmpty() ? Record::Store::DefaultPath() : path, 1000, {} })
    {
    }
    Record::Store* store() override { return &m_store; }
    bool Save(Record::SessionRow row) override { return m_store.Save(std::move(row)); }
    void Checkpoint() override { m_store.Checkpoint(); }
    std::vector<Record::ItemStat> History(int mode) override { return m_store.History(mode); }
    QString TakeFault() override
    {
        if (m_store.fault() == Record::Fault::None)
            return QString();
        QString text = m_store.FaultMessage();
        m_store.clearFault();
        return text;
    }
    QWidget* MakeWindow(int mode, RecordWindow::Hooks hooks, QWidget* parent) override
    {
        return new RecordWindow(m_store, mode, std::move(hooks), parent);
    }
    void ShowMode(QWidget& window, int mode) override
    {
        auto& record = static_cast<RecordWindow&>(window);
        record.ShowMode(mode == Mode::None ? record.mode() : mode);
    }

private:
    Record::Store m_store;
};

} // namespace

extern "C" Q_DECL_EXPORT Record::Backend* QuilladoCreateRecordBackend(const QString& path)
{
    return new StoreBackend(path);
}
