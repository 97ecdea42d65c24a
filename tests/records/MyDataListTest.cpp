// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include "core/ErrorHandler.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>

namespace {

using ListTest = RecordsTest;

QString LineOf(TfrmMyData* form) {
    return form->findChild<QLabel*>(QStringLiteral("lblMsg"))->text();
}

QDateEdit* DateEdit(TfrmMyData* form, const char* name) {
    return form->findChild<QDateEdit*>(QString::fromLatin1(name));
}

TEST_F(ListTest, ListsTheUsersDaysOfTheLastThirtyDaysOldestFirstBothEndsIncluded) {
    Add(Today.addDays(-31), 60.0); // a day before the range
    Add(Today, 61.0);              // the last day of the range
    Add(Today.addDays(-30), 62.0); // the first day
    Add(Today.addDays(-10), 63.0);
    Add(Today.addDays(-10), 64.0, 20.5, 55.0, 40.2, 3.1, /*user*/ 2);
    Add(Today.addDays(1), 65.0); // tomorrow

    TfrmMyData* form = Open();
    EXPECT_EQ(DateEdit(form, "dtpFrom")->date(), Today.addDays(-30));
    EXPECT_EQ(DateEdit(form, "dtpTo")->date(), Today);
    EXPECT_EQ(Column(form, 0), QStringList({"2024-03-01", "2024-03-21", "2024-03-31"}));
    EXPECT_EQ(Column(form, 1), QStringList({"62.0 KG", "63.0 KG", "61.0 KG"}));
    EXPECT_EQ(LineOf(form), "Records: 3");
}

TEST_F(ListTest, EqualBoundsListThatOneDay) {
    Add(QDate(2024, 1, 9), 70.0);
    Add(QDate(2024, 1, 10), 71.0);
    Add(QDate(2024, 1, 11), 72.0);
    TfrmMyData* form = Open();
    DateEdit(form, "dtpFrom")->setDate(QDate(2024, 1, 10));
    DateEdit(form, "dtpTo")->setDate(QDate(2024, 1, 10));
    form->btnFilterClick();
    EXPECT_EQ(Column(form, 1), QStringList({"71.0 KG"}));
    EXPECT_EQ(LineOf(form), "Records: 1");
}

TEST_F(ListTest, CellsInBothUnits) {
    struct Case {
        int unit;
        double weight, fat, tbw, mus, bone;
        QStringList cells;
    };
    const Case cases[] = {
        {0, 70.0, 20.5, 55.0, 40.2, 3.1, {"2024-03-20", "70.0 KG", "20.5 ", "55.0 ", "40.2 ", "3.1 KG"}},
        // the pound text is padded to six characters: 154.4 has one leading blank, 6.8 three
        {1, 70.0, 20.5, 55.0, 40.2, 3.1, {"2024-03-20", " 154.4 LB", "20.5 ", "55.0 ", "40.2 ", "   6.8 LB"}},
        {1, 500.0, 5.0, 0.0, 60.0, 10.0, {"2024-03-20", "1102.2 LB", "5.0 ", "0.0 ", "60.0 ", "  22.0 LB"}},
        {0, 150.3, 45.1, 30.9, 25.0, 0.0, {"2024-03-20", "150.3 KG", "45.1 ", "30.9 ", "25.0 ", "0.0 KG"}},
    };
    for (const Case& c : cases) {
        store_->ExecuteSql(QStringLiteral("delete from P_DATA"));
        Add(QDate(2024, 3, 20), c.weight, c.fat, c.tbw, c.mus, c.bone);
        Globals.CurrentUnit = c.unit;
        TfrmMyData* form = Open();
        form->RefreshList();
        ASSERT_EQ(ModelOf(form).rowCount(), 1);
        QStringList cells;
        for (int column = 0; column < 6; ++column)
            cells << QString::fromLatin1(ModelOf(form).Cell(0, column));
        EXPECT_EQ(cells, c.cells) << "unit " << c.unit << " weight " << c.weight;
        // what the list shows is the same text
        EXPECT_EQ(ModelOf(form).index(0, 1).data().toString(), c.cells[1]);
    }
}

TEST_F(ListTest, ValuesStoredAsTextAreReadLikeNumbersAndDays) {
    // An older writer with a comma separator left text behind; days may carry blanks or be no day.
    store_->ExecuteSql(
        QStringLiteral("insert into P_DATA(ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) values "
                       "(7, 1, '2024-03-05', '70,5', '20,25', 'x', '', '3,1');"
                       "insert into P_DATA(ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) values "
                       "('8', 1, '2024-03-06 ', 71, 20, 55, 40, 3);"
                       "insert into P_DATA(ID, USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) values "
                       "(9, 1, '2024-02-30', 72, 20, 55, 40, 3);"));
    TfrmMyData* form = Open();
    ASSERT_EQ(ModelOf(form).rowCount(), 2); // 2024-02-30 sorts before the first day
    EXPECT_EQ(Column(form, 0), QStringList({"2024-03-05", "2024-03-06"}));
    EXPECT_EQ(Column(form, 1), QStringList({"70.5 KG", "71.0 KG"}));
    EXPECT_EQ(Column(form, 2), QStringList({"20.2 ", "20.0 "}));
    EXPECT_EQ(Column(form, 3), QStringList({"0.0 ", "55.0 "}));
    EXPECT_EQ(Column(form, 4), QStringList({"0.0 ", "40.0 "}));
    EXPECT_EQ(ModelOf(form).ListRow(0).Id, 7);
    EXPECT_EQ(ModelOf(form).ListRow(1).Id, 8);

    DateEdit(form, "dtpFrom")->setDate(QDate(2024, 2, 1));
    form->btnFilterClick();
    EXPECT_EQ(Column(form, 0), QStringList({"", "2024-03-05", "2024-03-06"})); // not a day of the calendar
}

TEST_F(ListTest, ColumnCaptionsAlignmentAndWidths) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    const QStringList expected = {"Measuring Date", "Weight", "FAT %", "TBW %", "MUS %", "BONE"};
    const int widths[] = {120, 100, 80, 80, 80, 90};
    QTableView* list = ListOf(form);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(ModelOf(form).headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
                  expected[column]);
        EXPECT_EQ(list->columnWidth(column), widths[column]);
        const int alignment = ModelOf(form).index(0, column).data(Qt::TextAlignmentRole).toInt();
        EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, column == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    EXPECT_EQ(
        ModelOf(form).index(0, 0).data(Qt::UserRole).toInt(),
        store_->SelectRows(QStringLiteral("select ID from P_DATA")).at(0).AsInteger(QStringLiteral("ID")));
}

TEST_F(ListTest, ListTextsAreTheCodePageTextOfTheLanguage) {
    // Russian: code page 1251 has the Cyrillic letters but no Chinese ones.
    UseLanguage({{"KG", "кг"}, {"FAT", "Жир"}, {"LB", "磅"}}, 1049);
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    EXPECT_EQ(ModelOf(form).Cell(0, 1), QByteArray("70.0 \xea\xe3"));
    EXPECT_EQ(ModelOf(form).Caption(2), QByteArray("\xc6\xe8\xf0 %"));
    EXPECT_EQ(ModelOf(form).index(0, 1).data().toString(), QString::fromUtf8("70.0 кг"));
    EXPECT_EQ(ModelOf(form).headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("Жир %"));

    Globals.CurrentUnit = 1;
    form->RefreshList();
    EXPECT_EQ(ModelOf(form).Cell(0, 1), QByteArray(" 154.4 ?"));
}

TEST_F(ListTest, ALanguageSwitchComposesCaptionsCellsAndTheCountAgainKeepingTheSelection) {
    for (int day = 1; day <= 40; ++day)
        Add(Today.addDays(-day + 1), 60.0 + day);
    TfrmMyData* form = Open();
    QTableView* list = ListOf(form);
    list->resize(list->width(), 200);
    list->selectRow(25);
    list->scrollTo(ModelOf(form).index(25, 0));
    const int scrolled = list->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    const int selectedId = ModelOf(form).ListRow(25).Id;

    // Japanese: the texts go into the list in code page 932.
    UseLanguage({{"MeasuringDate", "測定日"}, {"FAT", "体脂肪"}, {"KG", "キロ"}, {"FmtRecordCnt", "%d 件"}},
                1041);
    EXPECT_EQ(ModelOf(form).headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("測定日"));
    EXPECT_EQ(ModelOf(form).headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QString::fromUtf8("体脂肪 %"));
    EXPECT_EQ(ModelOf(form).index(0, 1).data().toString(), QString::fromUtf8("91.0 キロ"));
    EXPECT_EQ(LineOf(form), QString::fromUtf8("31 件"));
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(ModelOf(form).ListRow(selected.first().row()).Id, selectedId);
    EXPECT_EQ(list->verticalScrollBar()->value(), scrolled);
}

TEST_F(ListTest, EmptyRangeShowsZeroAndAnUnfitCountTextKeepsTheOldLine) {
    TfrmMyData* form = Open();
    EXPECT_EQ(ModelOf(form).rowCount(), 0);
    EXPECT_EQ(LineOf(form), "Records: 0");

    Add(Today, 70.0);
    for (const char* unfit : {"%s records", "%d of %d", "%f"}) {
        UseLanguage({{"FmtRecordCnt", unfit}});
        form->RefreshList();
        EXPECT_EQ(ModelOf(form).rowCount(), 1);
        EXPECT_EQ(LineOf(form), "Records: 0") << unfit;
    }
    EXPECT_TRUE(boxes_.shown().isEmpty());
}

TEST_F(ListTest, RowsAreTintedAlternatelyAndTheSelectedRowInSelectionColours) {
    for (int day = 1; day <= 4; ++day)
        Add(QDate(2024, 3, day), 70.0 + day);
    TfrmMyData* form = Open();
    const QColor tint(235, 230, 251);
    const QColor white(255, 255, 255);
    EXPECT_EQ(TMeasurementListModel::RowColoursOf(0).Background, tint);
    EXPECT_EQ(TMeasurementListModel::RowColoursOf(0).Pen, QColor(217, 220, 240));
    EXPECT_EQ(TMeasurementListModel::RowColoursOf(1).Background, white);
    EXPECT_EQ(TMeasurementListModel::RowColoursOf(1).Pen, white);

    QTableView* list = ListOf(form);
    list->selectRow(2);
    QCoreApplication::processEvents();
    const QImage image = list->viewport()->grab().toImage();
    auto colourOfRow = [&](int row) {
        const QRect cell = list->visualRect(ModelOf(form).index(row, 0));
        return image.pixelColor(cell.right() - 4, cell.center().y());
    };
    EXPECT_EQ(colourOfRow(0), tint);
    EXPECT_EQ(colourOfRow(1), white);
    EXPECT_EQ(colourOfRow(3), white);
    const QColor selected = colourOfRow(2);
    EXPECT_NE(selected, tint);
    EXPECT_NE(selected, white);
    EXPECT_TRUE(selected == list->palette().color(QPalette::Active, QPalette::Highlight) ||
                selected == list->palette().color(QPalette::Inactive, QPalette::Highlight))
        << selected.name().toStdString();
}

TEST_F(ListTest, OneWindowOnlyMaximisedAndFreshAfterClosing) {
    TfrmMyData* first = Open();
    EXPECT_EQ(GetMyDataHandle(), first);
    EXPECT_TRUE(RegisteredWindows().contains(first));
    QMdiSubWindow* frame = area_->subWindowList().value(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(frame->windowTitle(), "User Data");

    DateEdit(first, "dtpFrom")->setDate(QDate(2020, 1, 1));
    EXPECT_EQ(Open(), first);
    EXPECT_EQ(area_->subWindowList().size(), 1);
    EXPECT_EQ(DateEdit(first, "dtpFrom")->date(), QDate(2020, 1, 1)); // brought forward, not re-created

    frame->close();
    EXPECT_EQ(GetMyDataHandle(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area_->subWindowList().isEmpty());

    SetClock([] { return QDateTime(QDate(2024, 6, 15), QTime(8, 0)); });
    TfrmMyData* second = Open();
    EXPECT_EQ(area_->subWindowList().size(), 1);
    EXPECT_EQ(GetMyDataHandle(), second);
    EXPECT_EQ(DateEdit(second, "dtpFrom")->date(), QDate(2024, 5, 16));
    EXPECT_EQ(DateEdit(second, "dtpTo")->date(), QDate(2024, 6, 15));
}

TEST_F(ListTest, ClosingTheListItselfTakesItsFrameAlong) {
    TfrmMyData* form = Open();
    form->close();
    EXPECT_EQ(GetMyDataHandle(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area_->subWindowList().isEmpty());
    Open();
    EXPECT_EQ(area_->subWindowList().size(), 1);
}

TEST_F(ListTest, MaximisedAgainWhenActivated) {
    TfrmMyData* form = Open();
    QMdiSubWindow* frame = area_->subWindowList().value(0);
    QMdiSubWindow* other = area_->addSubWindow(new QWidget);
    other->show();
    frame->showNormal();
    area_->setActiveSubWindow(other);
    QCoreApplication::processEvents();
    EXPECT_FALSE(frame->isMaximized());
    ShowMyData(area_.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->isMaximized());
    EXPECT_EQ(area_->activeSubWindow(), frame);
    EXPECT_EQ(GetMyDataHandle(), form);
}

TEST_F(ListTest, RefreshMessageReadsTheTableAgain) {
    TfrmMyData* form = Open();
    Add(Today, 70.0);
    EXPECT_EQ(ModelOf(form).rowCount(), 0);
    PostWindowMessage(GetMyDataHandle(), WM_REFRESH_MYDATA);
    QCoreApplication::processEvents();
    EXPECT_EQ(ModelOf(form).rowCount(), 1);
    EXPECT_EQ(LineOf(form), "Records: 1");
}

TEST_F(ListTest, ListFollowsTheWindowSize) {
    TfrmMyData* form = Open();
    form->resize(800, 500);
    QTableView* list = ListOf(form);
    EXPECT_EQ(list->geometry(), QRect(16, 40, 800 - 52, 500 - 95));
    EXPECT_EQ(form->findChild<QLabel*>(QStringLiteral("lblMsg"))->y(), 460);
    EXPECT_EQ(form->findChild<QWidget*>(QStringLiteral("pnlTop"))->geometry(), QRect(0, 0, 800, 30));
}

TEST_F(ListTest, AFailingReadReachesTheErrorHandlerAndTheWindowStillOpens) {
    store_->ExecuteSql(QStringLiteral("drop table P_DATA"));
    TfrmMyData* form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(area_->subWindowList().size(), 1);
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_TRUE(boxes_.shown()[0].text.contains("no such table")) << boxes_.shown()[0].text.toStdString();
    EXPECT_EQ(boxes_.shown()[0].caption, ApplicationTitle);
    EXPECT_EQ(ModelOf(form).rowCount(), 0);
}

} // namespace
