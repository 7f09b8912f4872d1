// SPDX-License-Identifier: GPL-3.0-or-later
#include "record/RecordWindow.h"

#include <QAbstractTableModel>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {
QString accuracyText(double accuracy)
{
    return accuracy < 0 ? QStringLiteral("—") : QString::number(accuracy * 100.0, 'f', 1) + QLatin1Char('%');
}

QString durationText(qint64 seconds)
{
    const qint64 h = seconds / 3600, m = seconds % 3600 / 60, s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1小时%2分").arg(h).arg(m);
    if (m > 0)
        return QStringLiteral("%1分%2秒").arg(m).arg(s);
    return QStringLiteral("%1秒").arg(s);
}

// Ten thousand sessions are one vector; a view over it costs nothing per row until shown.
class SessionModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void set(std::vector<Record::SessionRow> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 8; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)
            return {};
        // Newest first: the session just typed is at the top.
        const Record::SessionRow& s = m_rows[m_rows.size() - 1 - size_t(index.row())];
        if (role == Qt::TextAlignmentRole)
            return index.column() >= 2 && index.column() <= 6 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                              : QVariant();
        switch (index.column()) {
        case 0:
            return s.started().toString(QStringLiteral("yyyy-MM-dd"));
        case 1:
            return s.started().toString(QStringLiteral("HH:mm"));
        case 2:
            return durationText(s.seconds);
        case 3:
            return s.speed;
        case 4:
            return s.hits;
        case 5:
            return s.misses;
        case 6:
            return accuracyText(s.accuracy());
        default:
            return s.title;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const char* const titles[] = { "日期", "时间", "用时", "速度(字/分)", "总数", "失误", "正确率", "标题" };
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 8)
            return QString::fromUtf8(titles[section]);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    std::vector<Record::SessionRow> m_rows;
};
}

QString DrillOnNote()
{
    return QStringLiteral("弱项强化已开启：拼音、字根、简码和五笔练习中，约一半的字取自本模式最弱的 %1 个。").arg(50);
}

RecordWindow::RecordWindow(Record::Store& store, int mode, Hooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_store(store)
    , m_hooks(std::move(hooks))
{
    setObjectName(QStringLiteral("RecordWindow"));
    setWindowTitle(QStringLiteral("练习记录"));
    resize(960, 680);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("打字类型："), this));
    ModeBox = new QComboBox(this);
    ModeBox->setObjectName(QStringLiteral("ModeBox"));
    for (int m = 0; m < Record::ModeCount; ++m)
        ModeBox->addItem(Record::ModeCaption(m), m);
    top->addWidget(ModeBox);
    TotalsLabel = new QLabel(this);
    TotalsLabel->setObjectName(QStringLiteral("TotalsLabel"));
    top->addWidget(TotalsLabel, 1);
    ExportButton = new QPushButton(QStringLiteral("导出CSV…"), this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    top->addWidget(ExportButton);

    auto* drillRow = new QHBoxLayout;
    DrillBox = new QCheckBox(QStringLiteral("弱项强化练习"), this);
    DrillBox->setObjectName(QStringLiteral("DrillBox"));
    DrillBox->setToolTip(QStringLiteral("开启后，拼音、字根、简码和五笔练习会更多地出现你最慢、最常打错的字。"));
    DrillNote = new QLabel(this);
    DrillNote->setObjectName(QStringLiteral("DrillNote"));
    drillRow->addWidget(DrillBox);
    drillRow->addWidget(DrillNote, 1);

    EmptyNote = new QLabel(QStringLiteral("这一类型还没有练习记录。练完一次后，成绩会记在这里。"), this);
    EmptyNote->setObjectName(QStringLiteral("EmptyNote"));

    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    SpeedSeries = new QLineSeries(chart);
    SpeedSeries->setName(QStringLiteral("速度(字/分)"));
    SpeedSeries->setPointsVisible(true);
    AccuracySeries = new QLineSeries(chart);
    AccuracySeries->setName(QStringLiteral("正确率(%)"));
    AccuracySeries->setPointsVisible(true);
    chart->addSeries(SpeedSeries);
    chart->addSeries(AccuracySeries);
    auto* timeAxis = new QDateTimeAxis(chart);
    timeAxis->setFormat(QStringLiteral("MM-dd HH:mm"));
    auto* speedAxis = new QValueAxis(chart);
    speedAxis->setLabelFormat(QStringLiteral("%d"));
    speedAxis->setTitleText(QStringLiteral("字/分"));
    auto* accuracyAxis = new QValueAxis(chart);
    accuracyAxis->setRange(0, 100);
    accuracyAxis->setLabelFormat(QStringLiteral("%d%%"));
    chart->addAxis(timeAxis, Qt::AlignBottom);
    chart->addAxis(speedAxis, Qt::AlignLeft);
    chart->addAxis(accuracyAxis, Qt::AlignRight);
    SpeedSeries->attachAxis(timeAxis);
    SpeedSeries->attachAxis(speedAxis);
    AccuracySeries->attachAxis(timeAxis);
    AccuracySeries->attachAxis(accuracyAxis);
    ChartView = new QChartView(chart, this);
    ChartView->setObjectName(QStringLiteral("ChartView"));
    ChartView->setRenderHint(QPainter::Antialiasing);
    ChartView->setMinimumHeight(220);

    SessionTable = new QTableView(this);
    SessionTable->setObjectName(QStringLiteral("SessionTable"));
    m_sessions = new SessionModel(this);
    SessionTable->setModel(m_sessions);
    SessionTable->verticalHeader()->hide();
    SessionTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    SessionTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SessionTable->horizontalHeader()->setStretchLastSection(true);
    // Fixed widths: measuring ten thousand rows for their contents would cost the opening.
    SessionTable->horizontalHeader()->setDefaultSectionSize(62);
    SessionTable->setColumnWidth(0, 90);
    SessionTable->setColumnWidth(1, 56);
    SessionTable->setColumnWidth(3, 88);

    auto makeWeak = [this](const char* name, const QStringList& headers) {
        auto* table = new QTableWidget(0, int(headers.size()), this);
        table->setObjectName(QString::fromLatin1(name));
        table->setHorizontalHeaderLabels(headers);
        table->verticalHeader()->hide();
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setIconSize(QSize(220, 56));
        table->horizontalHeader()->setStretchLastSection(true);
        table->setColumnWidth(0, 40);
        table->setColumnWidth(1, 72);
        table->setColumnWidth(2, 72);
        return table;
    };
    SlowTable = makeWeak("SlowTable",
        { QStringLiteral("字"), QStringLiteral("编码/拼音"), QStringLiteral("平均用时"), QStringLiteral("拆分") });
    MissedTable = makeWeak("MissedTable",
        { QStringLiteral("字"), QStringLiteral("编码/拼音"), QStringLiteral("打错次数"), QStringLiteral("拆分") });
    MissedNote = new QLabel(this);
    MissedNote->setObjectName(QStringLiteral("MissedNote"));
    MissedNote->setWordWrap(true);

    auto* weak = new QWidget(this);
    auto* weakLayout = new QVBoxLayout(weak);
    weakLayout->setContentsMargins(0, 0, 0, 0);
    weakLayout->addWidget(new QLabel(QStringLiteral("最慢的字"), weak));
    weakLayout->addWidget(SlowTable);
    weakLayout->addWidget(new QLabel(QStringLiteral("最常打错的字"), weak));
    weakLayout->addWidget(MissedNote);
    weakLayout->addWidget(MissedTable);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(SessionTable);
    lower->addWidget(weak);
    lower->setStretchFactor(0, 1);
    lower->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(drillRow);
    layout->addWidget(EmptyNote);
    layout->addWidget(ChartView, 2);
    layout->addWidget(lower, 3);

    DrillBox->setChecked(m_hooks.drillOn && m_hooks.drillOn());
    updateDrillNote();
    connect(DrillBox, &QCheckBox::toggled, this, [this](bool on) {
        if (m_hooks.setDrill)
            m_hooks.setDrill(on);
        updateDrillNote();
    });
    connect(ModeBox, &QComboBox::currentIndexChanged, this,
        [this](int index) { ShowMode(ModeBox->itemData(index).toInt()); });
    connect(ExportButton, &QPushButton::clicked, this, &RecordWindow::exportClicked);

    ShowMode(mode < 0 || mode >= Record::ModeCount ? 0 : mode);
}

RecordWindow::~RecordWindow() = default;

void RecordWindow::updateDrillNote() { DrillNote->setText(DrillBox->isChecked() ? DrillOnNote() : QString()); }

void RecordWindow::ShowMode(int mode)
{
    m_mode = mode;
    if (ModeBox->currentIndex() != mode) {
        const QSignalBlocker block(ModeBox);
        ModeBox->setCurrentIndex(mode);
    }
    std::vector<Record::SessionRow> sessions = m_store.Sessions(mode);
    const Record::Totals totals = m_store.TotalsOf(mode);
    EmptyNote->setVisible(sessions.empty());
    TotalsLabel->setText(
        QStringLiteral("共练习%1次，用时%2，打对%3个，正确率%4")
            .arg(totals.sessions)
            .arg(durationText(totals.seconds))
            .arg(totals.hits)
            .arg(accuracyText(
                totals.hits + totals.misses > 0 ? double(totals.hits) / double(totals.hits + totals.misses) : -1.0)));
    fillChart(sessions);
    static_cast<SessionModel*>(m_sessions)->set(std::move(sessions));
    fillWeak(SlowTable, m_store.Slowest(mode, WeakestShown), false);
    fillWeak(MissedTable, m_store.MostMissed(mode, WeakestShown), true);
    // Only pinyin follow-typing names the item a wrong attempt was meant for.
    MissedNote->setText(mode == Mode::PinyinFollow
            ? QString()
            : QStringLiteral("这一类型打错时无法确定本想打哪个字，所以只计总失误，不按字统计。"));
    MissedNote->setVisible(mode != Mode::PinyinFollow);
    MissedTable->setVisible(mode == Mode::PinyinFollow);
}

void RecordWindow::fillChart(const std::vector<Record::SessionRow>& sessions)
{
    // Years of practice are more sessions than a chart has pixels: beyond a few hundred,
    // each point is the average of a run of neighbouring sessions.
    constexpr size_t maxPoints = 400;
    const size_t n = sessions.size();
    const size_t per = std::max<size_t>(1, (n + maxPoints - 1) / maxPoints);
    QList<QPointF> speed, accuracy;
    speed.reserve(qsizetype(n / per) + 1);
    accuracy.reserve(qsizetype(n / per) + 1);
    qint64 maxSpeed = 10;
    for (size_t b = 0; b < n; b += per) {
        const size_t e = std::min(n, b + per);
        double x = 0, v = 0, a = 0;
        int withAccuracy = 0;
        for (size_t i = b; i < e; ++i) {
            x += double(sessions[i].startedMs);
            v += double(sessions[i].speed);
            if (sessions[i].accuracy() >= 0)
                a += sessions[i].accuracy() * 100.0, ++withAccuracy;
            maxSpeed = std::max(maxSpeed, sessions[i].speed);
        }
        x /= double(e - b);
        speed.append(QPointF(x, v / double(e - b)));
        if (withAccuracy > 0)
            accuracy.append(QPointF(x, a / withAccuracy));
    }
    SpeedSeries->setPointsVisible(speed.size() <= 60);
    AccuracySeries->setPointsVisible(speed.size() <= 60);
    SpeedSeries->replace(speed);
    AccuracySeries->replace(accuracy);
    const auto axes = ChartView->chart()->axes();
    for (QAbstractAxis* axis : axes) {
        if (auto* time = qobject_cast<QDateTimeAxis*>(axis)) {
            QDateTime first = sessions.empty() ? QDateTime::currentDateTime() : sessions.front().started();
            QDateTime last = sessions.empty() ? first : sessions.back().started();
            if (first.secsTo(last) < 3600)
                first = first.addSecs(-1800), last = last.addSecs(1800);
            time->setRange(first, last);
        } else if (auto* value = qobject_cast<QValueAxis*>(axis); value && axis->alignment() == Qt::AlignLeft) {
            value->setRange(0, double(maxSpeed) * 1.1);
        }
    }
}

void RecordWindow::fillWeak(QTableWidget* table, const std::vector<Record::ItemStat>& items, bool showMisses)
{
    table->setRowCount(int(items.size()));
    bool anyPicture = false;
    for (int row = 0; row < int(items.size()); ++row) {
        const Record::ItemStat& item = items[size_t(row)];
        table->setItem(row, 0, new QTableWidgetItem(item.text));
        table->setItem(row, 1, new QTableWidgetItem(item.code.toLower()));
        table->setItem(row, 2,
            new QTableWidgetItem(showMisses ? QString::number(item.misses)
                                            : QStringLiteral("%1秒").arg(item.averageMs() / 1000.0, 0, 'f', 1)));
        auto* picture = new QTableWidgetItem;
        if (item.pictureNo > 0 && m_hooks.picture) {
            const QImage image = m_hooks.picture(item.pictureNo);
            if (!image.isNull()) {
                picture->setData(Qt::DecorationRole, QPixmap::fromImage(image));
                anyPicture = true;
            }
        }
        table->setItem(row, 3, picture);
    }
    table->setColumnHidden(3, !anyPicture);
    if (anyPicture)
        table->resizeRowsToContents();
}

bool RecordWindow::ExportTo(const QString& file, QString* error) { return m_store.ExportCsv(file, error); }

void RecordWindow::exportClicked()
{
    const QString file = m_hooks.askExportFile ? m_hooks.askExportFile(this) : QString();
    if (file.isEmpty())
        return;
    QString error;
    if (!ExportTo(file, &error) && m_hooks.report)
        m_hooks.report(QStringLiteral("练习记录无法导出到“%1”：%2").arg(file, error));
}
