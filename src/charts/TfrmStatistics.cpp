// SPDX-License-Identifier: MIT
#include "charts/TfrmStatistics.h"

#include "charts/StatisticsTable.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "records/SheetFile.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QTreeWidget* NewTable(QWidget* parent, const QString& name) {
    auto* table = new QTreeWidget(parent);
    table->setObjectName(name);
    table->setRootIsDecorated(false);
    table->setAlternatingRowColors(true);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->header()->setDefaultAlignment(Qt::AlignCenter);
    // The names take what they need; the numbers share the rest of the width evenly.
    table->header()->setSectionResizeMode(QHeaderView::Stretch);
    table->header()->setMinimumSectionSize(60);
    return table;
}

void Fill(QTreeWidget* table, const QStringList& heading, const std::vector<QStringList>& rows) {
    table->clear();
    table->setColumnCount(static_cast<int>(heading.size()));
    table->setHeaderLabels(heading);
    QList<QTreeWidgetItem*> items;
    for (const QStringList& row : rows) {
        auto* item = new QTreeWidgetItem(row);
        for (int column = 1; column < row.size(); ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    table->addTopLevelItems(items);
    table->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
}

std::vector<QStringList> Rows(const QTreeWidget* table) {
    std::vector<QStringList> rows;
    for (int i = 0; i < table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = table->topLevelItem(i);
        QStringList row;
        for (int column = 0; column < table->columnCount(); ++column)
            row << item->text(column);
        rows.push_back(row);
    }
    return rows;
}

QStringList HeadingOf(const QTreeWidget* table) {
    QStringList heading;
    for (int column = 0; column < table->columnCount(); ++column)
        heading << table->headerItem()->text(column);
    return heading;
}

} // namespace

TfrmStatistics::TfrmStatistics(const std::vector<TDayMean>& days, const QDate& from, const QDate& to,
                               QWidget* parent)
    : QDialog(parent), days_(days), from_(from), to_(to), metric_(Globals.CurrentUnit == 0) {
    setObjectName(QStringLiteral("TfrmStatistics"));
    setWindowTitle(QStringLiteral("Statistics"));
    resize(900, 560);
    days_ = InShownUnit(days_, metric_);

    lblRange = new QLabel(this);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    lvStatistics = NewTable(this, QStringLiteral("lvStatistics"));
    lblMeans = new QLabel(QStringLiteral("Means:"), this);
    lblMeans->setObjectName(QStringLiteral("lblMeans"));
    cbbMeans = new QComboBox(this);
    cbbMeans->setObjectName(QStringLiteral("cbbMeans"));
    cbbMeans->addItems({QStringLiteral("Weeks"), QStringLiteral("Months")});
    lvMeans = NewTable(this, QStringLiteral("lvMeans"));
    btnExport = new QPushButton(QStringLiteral("Export"), this);
    btnExport->setObjectName(QStringLiteral("btnExport"));
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));

    auto* meansRow = new QHBoxLayout;
    meansRow->addWidget(lblMeans);
    meansRow->addWidget(cbbMeans);
    meansRow->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnExport);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblRange);
    layout->addWidget(lvStatistics, 0);
    layout->addLayout(meansRow);
    layout->addWidget(lvMeans, 1);
    layout->addLayout(buttons);

    // Also when the language replaces the items, the table shows the period the box names.
    connect(cbbMeans, qOverload<int>(&QComboBox::currentIndexChanged), this,
            Guarded([this] { cbbMeansChange(); }));
    connect(btnExport, &QPushButton::clicked, this, Guarded([this] { btnExportClick(); }));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    JoinWindowRegistry(this);
}

void TfrmStatistics::FormCreate() {
    LangMgr().TranslateForm(this);
    ComposeTexts();
}

void TfrmStatistics::ComposeTexts() {
    lblRange->setText(QStringLiteral("%1 – %2").arg(from_.toString(QStringLiteral("yyyy-MM-dd")),
                                                    to_.toString(QStringLiteral("yyyy-MM-dd"))));
    FillStatistics();
    FillMeans();
}

TPeriod TfrmStatistics::MeansPeriod() const {
    return cbbMeans->currentIndex() == 1 ? TPeriod::Month : TPeriod::Week;
}

void TfrmStatistics::FillStatistics() {
    const std::vector<QStringList> rows = StatisticsRows(days_, metric_);
    Fill(lvStatistics, StatisticsHeading(), rows);
    // Five rows are all there is: show them whole, each column as wide as its heading or numbers.
    lvStatistics->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvStatistics->header()->setStretchLastSection(true);
    lvStatistics->setFixedHeight(lvStatistics->header()->sizeHint().height() +
                                 lvStatistics->sizeHintForRow(0) * static_cast<int>(rows.size()) +
                                 2 * lvStatistics->frameWidth() + 2);
    // Tall enough for its five rows, so the means below get the rest of the room.
    lvStatistics->setFixedHeight(lvStatistics->header()->sizeHint().height() +
                                 5 * lvStatistics->sizeHintForRow(0) + 2 * lvStatistics->frameWidth() + 2);
}

void TfrmStatistics::FillMeans() {
    const TPeriod period = MeansPeriod();
    Fill(lvMeans, MeansHeading(metric_), MeansRows(PeriodMeans(days_, period), period));
}

void TfrmStatistics::cbbMeansChange() {
    FillMeans();
}

std::vector<QStringList> TfrmStatistics::SheetRows() const {
    std::vector<QStringList> rows{HeadingOf(lvStatistics)};
    for (const QStringList& row : Rows(lvStatistics))
        rows.push_back(row);
    rows.push_back({});
    rows.push_back(HeadingOf(lvMeans));
    for (const QStringList& row : Rows(lvMeans))
        rows.push_back(row);
    return rows;
}

void TfrmStatistics::btnExportClick() {
    QString path =
        AskSaveFileName(this, QString(), QStringLiteral("Excel Files (*.xls)"), QStringLiteral("xls"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".xls");
    WriteSheetFile(this, path, SheetRows());
}
