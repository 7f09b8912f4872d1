// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "record/RecordStore.h"

#include <QImage>
#include <QWidget>
#include <functional>

class QAbstractTableModel;
class QChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableView;
class QTableWidget;

// The learner's record, one practice mode at a time: the sessions with their speed and
// accuracy, a chart of both over time, the totals, the weakest items, and the weak-items
// drill switch. It only reads the record; a missing record shows as an empty one.
class QUILLADO_RECORD_EXPORT RecordWindow : public QWidget {
    Q_OBJECT
public:
    struct Hooks {
        std::function<bool()> drillOn;
        std::function<void(bool)> setDrill;
        // The decomposition picture n, or a null image when there is none.
        std::function<QImage(int)> picture;
        // Where to write the export; an empty answer cancels it.
        std::function<QString(QWidget*)> askExportFile;
        std::function<void(const QString&)> report;
    };

    RecordWindow(Record::Store& store, int mode, Hooks hooks, QWidget* parent = nullptr);
    ~RecordWindow() override;

    void ShowMode(int mode);
    int mode() const { return m_mode; }
    bool ExportTo(const QString& file, QString* error = nullptr);

    QComboBox* ModeBox = nullptr;
    QCheckBox* DrillBox = nullptr;
    QLabel* DrillNote = nullptr;
    QLabel* TotalsLabel = nullptr;
    QLabel* EmptyNote = nullptr;
    QTableView* SessionTable = nullptr;
    QChartView* ChartView = nullptr;
    QLineSeries* SpeedSeries = nullptr;
    QLineSeries* AccuracySeries = nullptr;
    QTableWidget* SlowTable = nullptr;
    QTableWidget* MissedTable = nullptr;
    QLabel* MissedNote = nullptr;
    QPushButton* ExportButton = nullptr;

    static constexpr int WeakestShown = 10;

private:
    void fillChart(const std::vector<Record::SessionRow>& sessions);
    void fillWeak(QTableWidget* table, const std::vector<Record::ItemStat>& items, bool showMisses);
    void updateDrillNote();
    void exportClicked();

    Record::Store& m_store;
    Hooks m_hooks;
    int m_mode = 0;
    QAbstractTableModel* m_sessions = nullptr;
};

// The drill's wording, shared by the window and its tests.
QUILLADO_RECORD_EXPORT QString DrillOnNote();
