// SPDX-License-Identifier: MIT
#include "ChartsFixture.h"

#include "charts/TfrmStatistics.h"
#include "core/Units.h"
#include "records/RecordsFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

using StatisticsDialogTest = ChartsTest;

QStringList RowOf(QTreeWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column)
        cells << table->topLevelItem(row)->text(column);
    return cells;
}

QTreeWidget* Table(QWidget* dialog, const char* name) {
    return dialog->findChild<QTreeWidget*>(QString::fromLatin1(name));
}

const QDate Jan1(2026, 1, 1);

// Weights 80, 78 and 79 on 1, 3 and 8 January: the trend goes 80, 79.62, 79.366, −0.63 in the week;
// FAT 25, 24, 26.5: 25, 24.81, 25.502, +0.50.
std::vector<TDayMean> ThreeDays() {
    return {{Jan1, 80.0, 25.0, 50.0, 40.0, 3.0},
            {Jan1.addDays(2), 78.0, 24.0, 51.0, 41.0, 3.1},
            {Jan1.addDays(7), 79.0, 26.5, 52.0, 40.0, 3.2}};
}

TEST_F(StatisticsDialogTest, EachValueWithItsChangeExtremesMeanAndTrend) {
    TfrmStatistics dialog(ThreeDays(), Jan1, Jan1.addDays(9));
    dialog.FormCreate();
    QTreeWidget* table = Table(&dialog, "lvStatistics");
    ASSERT_EQ(table->topLevelItemCount(), 5);
    EXPECT_EQ(table->headerItem()->text(7), "Trend per week");
    EXPECT_EQ(RowOf(table, 0),
              QStringList({"Weight (kg)", "80.0", "79.0", "-1.0", "78.0", "80.0", "79.0", "-0.6"}));
    EXPECT_EQ(RowOf(table, 1),
              QStringList({"FAT (%)", "25.0", "26.5", "+1.5", "24.0", "26.5", "25.2", "+0.5"}));
    EXPECT_EQ(RowOf(table, 4).first(), "BONE (KG)");
    EXPECT_EQ(RowOf(table, 4)[3], "+0.2");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblRange"))->text(), "2026-01-01 – 2026-01-10");

    Globals.CurrentUnit = 1;
    TfrmStatistics pounds(ThreeDays(), Jan1, Jan1.addDays(9));
    pounds.FormCreate();
    const QStringList weight = RowOf(Table(&pounds, "lvStatistics"), 0);
    EXPECT_EQ(weight[0], "Weight (lb)");
    EXPECT_EQ(weight[1], QString::number(KgToLbExact(80.0), 'f', 1));
    EXPECT_EQ(RowOf(Table(&pounds, "lvStatistics"), 1)[1], "25.0"); // percentages stay
}

TEST_F(StatisticsDialogTest, OneDayHasNoTrendAndNoDaysLeaveTheRowsEmpty) {
    TfrmStatistics one({{Jan1, 70.0, 20.0, 55.0, 40.0, 3.0}}, Jan1, Jan1);
    one.FormCreate();
    EXPECT_EQ(RowOf(Table(&one, "lvStatistics"), 0),
              QStringList({"Weight (kg)", "70.0", "70.0", "0.0", "70.0", "70.0", "70.0", ""}));

    TfrmStatistics none({}, Jan1, Jan1);
    none.FormCreate();
    EXPECT_EQ(Table(&none, "lvStatistics")->topLevelItemCount(), 5);
    EXPECT_EQ(RowOf(Table(&none, "lvStatistics"), 2)[1], "");
    EXPECT_EQ(Table(&none, "lvMeans")->topLevelItemCount(), 0);
}

// 27 December 2020 closes week 52; 28 December to 3 January form week 53; 4 January opens 2021-W01.
TEST_F(StatisticsDialogTest, WeeklyAndMonthlyMeansByTheirNames) {
    const std::vector<TDayMean> days = {{QDate(2020, 12, 27), 80, 20, 50, 40, 3},
                                        {QDate(2020, 12, 28), 81, 21, 51, 41, 3},
                                        {QDate(2021, 1, 3), 83, 23, 53, 43, 3},
                                        {QDate(2021, 1, 4), 85, 25, 55, 45, 3}};
    TfrmStatistics dialog(days, days.front().Day, days.back().Day);
    dialog.FormCreate();
    QTreeWidget* means = Table(&dialog, "lvMeans");
    EXPECT_EQ(dialog.MeansPeriod(), TPeriod::Week);
    ASSERT_EQ(means->topLevelItemCount(), 3);
    EXPECT_EQ(RowOf(means, 0), QStringList({"2020-W52", "1", "80.0", "20.0", "50.0", "40.0", "3.0"}));
    EXPECT_EQ(RowOf(means, 1), QStringList({"2020-W53", "2", "82.0", "22.0", "52.0", "42.0", "3.0"}));
    EXPECT_EQ(RowOf(means, 2)[0], "2021-W01");

    dialog.findChild<QComboBox*>(QStringLiteral("cbbMeans"))->setCurrentIndex(1);
    ASSERT_EQ(means->topLevelItemCount(), 2);
    EXPECT_EQ(RowOf(means, 0).mid(0, 3), QStringList({"2020-12", "2", "80.5"}));
    EXPECT_EQ(RowOf(means, 1).mid(0, 3), QStringList({"2021-01", "2", "84.0"}));
}

// The sheet holds the statistics, an empty row, then the means, each table under its headings.
TEST_F(StatisticsDialogTest, ExportWritesBothTablesAsOneSheet) {
    TfrmStatistics dialog(ThreeDays(), Jan1, Jan1.addDays(9));
    dialog.FormCreate();
    const QString path = folder_.filePath(QStringLiteral("stats"));
    SetSaveFileHook([&](QWidget*, const QString&, const QString&, const QString&) { return path; });
    dialog.findChild<QPushButton*>(QStringLiteral("btnExport"))->click();

    const std::vector<SheetCell> cells = ReadSheet(FileBytes(path + QStringLiteral(".xls")));
    const std::vector<QStringList> rows = dialog.SheetRows();
    ASSERT_EQ(rows.size(), 1u + 5 + 1 + 1 + 2); // two weeks: W01 (1 and 3 January) and W02 (8 January)
    std::vector<SheetCell> expected;
    for (size_t row = 0; row < rows.size(); ++row)
        for (int column = 0; column < rows[row].size(); ++column)
            expected.push_back({static_cast<int>(row), column, rows[row][column].toLatin1()});
    EXPECT_EQ(cells, expected);
    EXPECT_EQ(rows[1][0], "Weight (kg)");
    EXPECT_TRUE(rows[6].isEmpty());
    EXPECT_EQ(rows[7][0], "Period");
    EXPECT_EQ(rows[8][0], "2026-W01");

    // An existing file stays as it is unless the person agrees to replace it.
    QFile::remove(path + QStringLiteral(".xls"));
    QFile old(path + QStringLiteral(".xls"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    boxes_.setNextAnswer(IDCANCEL);
    dialog.findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
    EXPECT_EQ(FileBytes(path + QStringLiteral(".xls")), "old");
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_TRUE(boxes_.shown()[0].text.endsWith("exists"));
}

TEST_F(StatisticsDialogTest, TheChartViewOpensItForTheLoadedDays) {
    Add(Today.addDays(-3), 70.0);
    Add(Today, 69.0);
    Add(Today.addDays(-100), 90.0); // outside the range
    TfrmChat* form = Open();
    QStringList weight;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmStatistics*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        weight = RowOf(Table(dialog, "lvStatistics"), 0);
        dialog->reject();
    });
    form->findChild<QPushButton*>(QStringLiteral("btnStatistics"))->click();
    EXPECT_EQ(weight.mid(0, 4), QStringList({"Weight (kg)", "70.0", "69.0", "-1.0"}));
}

} // namespace
