// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include "core/ErrorHandler.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

namespace {

class DeleteTest : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        for (int day = 1; day <= 3; ++day)
            Add(QDate(2024, 3, day * 10), 70.0 + day);
    }

    // Every delete fails from now on, as a locked or damaged table would make it.
    void RefuseDeletes() {
        store_->ExecuteSql(QStringLiteral(
            "create trigger refuse before delete on P_DATA begin select raise(abort, 'refused'); end"));
    }

    QString LineOf(TfrmMyData* form) { return form->findChild<QLabel*>(QStringLiteral("lblMsg"))->text(); }
};

TEST_F(DeleteTest, SingleDeleteRemovesTheRowAndKeepsTheOldCount) {
    TfrmMyData* form = Open();
    ListOf(form)->selectRow(1);
    boxes_.setNextAnswer(IDOK);
    form->findChild<QPushButton*>(QStringLiteral("btnDelete"))->click();

    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].text, "SureDelete");
    EXPECT_EQ(boxes_.shown()[0].caption, "Notify");
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(Column(form, 0), QStringList({"2024-03-10", "2024-03-30"}));
    EXPECT_EQ(StoredRows(), 2);
    EXPECT_TRUE(
        store_->SelectRows(QStringLiteral("select ID from P_DATA where THE_DATE = '2024-03-20'")).empty());
    EXPECT_EQ(LineOf(form), "Records: 3");
    // the row that moved up is now row 1 and white
    EXPECT_EQ(ModelOf(form).index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
}

TEST_F(DeleteTest, SingleDeleteDoesNothingWithoutSelectionOrWithoutConsent) {
    TfrmMyData* form = Open();
    form->btnDeleteClick();
    EXPECT_TRUE(boxes_.shown().isEmpty());

    ListOf(form)->selectRow(0);
    boxes_.setNextAnswer(IDCANCEL);
    form->btnDeleteClick();
    EXPECT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(ModelOf(form).rowCount(), 3);
    EXPECT_EQ(StoredRows(), 3);
}

TEST_F(DeleteTest, FailingSingleDeleteSaysSoAndKeepsTheRow) {
    TfrmMyData* form = Open();
    RefuseDeletes();
    ListOf(form)->selectRow(0);
    boxes_.setNextAnswer(IDOK);
    form->btnDeleteClick();
    ASSERT_EQ(boxes_.shown().size(), 2);
    EXPECT_EQ(boxes_.shown()[1].text, "DeleteDataError");
    EXPECT_EQ(boxes_.shown()[1].caption, ApplicationTitle);
    EXPECT_EQ(boxes_.shown()[1].flags, MB_OK);
    EXPECT_EQ(ModelOf(form).rowCount(), 3);
    EXPECT_EQ(StoredRows(), 3);
}

TEST_F(DeleteTest, BatchDeleteRemovesTheRangeEvenOutsideTheListedDays) {
    Add(QDate(2023, 12, 31), 60.0);
    Add(QDate(2024, 1, 15), 61.0);
    Add(QDate(2024, 1, 31), 62.0);
    Add(QDate(2024, 2, 1), 63.0);
    Add(QDate(2024, 1, 15), 64.0, 20.5, 55.0, 40.2, 3.1, /*user*/ 2);
    TfrmMyData* form = Open();
    Add(QDate(2024, 3, 31), 75.0); // not listed yet: shows after the re-read

    auto seen = AnswerDateRange(std::make_pair(QDate(2024, 1, 1), QDate(2024, 1, 31)));
    boxes_.setNextAnswer(IDOK);
    form->findChild<QPushButton*>(QStringLiteral("btnDeleteBatch"))->click();

    ASSERT_TRUE(seen->Shown);
    EXPECT_EQ(seen->From, Today.addDays(-30));
    EXPECT_EQ(seen->To, Today);
    EXPECT_EQ(seen->Parent, form->window());
    EXPECT_EQ(boxes_.texts(), QStringList({"SureDelete"}));
    const TRowSet left = store_->SelectRows(QStringLiteral(
        "select THE_DATE, USER_ID from P_DATA where THE_DATE < '2024-03-01' order by THE_DATE"));
    QStringList days;
    for (const TDataRow& row : left)
        days << row.AsString(QStringLiteral("THE_DATE")) + "/" + row.AsString(QStringLiteral("USER_ID"));
    EXPECT_EQ(days, QStringList({"2023-12-31/1", "2024-01-15/2", "2024-02-01/1"}));
    // re-read for the window's own days, which the dialog did not change
    EXPECT_EQ(form->findChild<QDateEdit*>(QStringLiteral("dtpFrom"))->date(), Today.addDays(-30));
    EXPECT_EQ(Column(form, 0), QStringList({"2024-03-10", "2024-03-20", "2024-03-30", "2024-03-31"}));
    EXPECT_EQ(LineOf(form), "Records: 4");
}

TEST_F(DeleteTest, BatchDeleteOfTheListedRangeEmptiesTheList) {
    TfrmMyData* form = Open();
    AnswerDateRange(std::make_pair(QDate(2024, 3, 10), QDate(2024, 3, 30))); // both ends included
    boxes_.setNextAnswer(IDOK);
    form->btnDeleteBatchClick();
    EXPECT_EQ(StoredRows(), 0);
    EXPECT_EQ(ModelOf(form).rowCount(), 0);
    EXPECT_EQ(LineOf(form), "Records: 0");
}

TEST_F(DeleteTest, ReversedRangeDeletesNothingAndSaysNothing) {
    TfrmMyData* form = Open();
    AnswerDateRange(std::make_pair(QDate(2024, 3, 30), QDate(2024, 3, 10)));
    boxes_.setNextAnswer(IDOK);
    form->btnDeleteBatchClick();
    EXPECT_EQ(boxes_.texts(), QStringList({"SureDelete"}));
    EXPECT_EQ(StoredRows(), 3);
    EXPECT_EQ(ModelOf(form).rowCount(), 3);
}

TEST_F(DeleteTest, BatchDeleteStopsWhenTheRangeOrTheQuestionIsCancelled) {
    TfrmMyData* form = Open();
    auto seen = AnswerDateRange(std::nullopt);
    form->btnDeleteBatchClick();
    EXPECT_TRUE(seen->Shown);
    EXPECT_TRUE(boxes_.shown().isEmpty());

    AnswerDateRange(std::make_pair(QDate(2024, 1, 1), QDate(2024, 12, 31)));
    boxes_.setNextAnswer(IDCANCEL);
    form->btnDeleteBatchClick();
    EXPECT_EQ(boxes_.texts(), QStringList({"SureDelete"}));
    EXPECT_EQ(StoredRows(), 3);
}

TEST_F(DeleteTest, FailingBatchDeleteSaysSoAndDoesNotReadAgain) {
    TfrmMyData* form = Open();
    RefuseDeletes();
    Add(QDate(2024, 3, 31), 75.0);
    AnswerDateRange(std::make_pair(QDate(2024, 3, 1), QDate(2024, 3, 31)));
    boxes_.setNextAnswer(IDOK);
    form->btnDeleteBatchClick();
    ASSERT_EQ(boxes_.shown().size(), 2);
    EXPECT_EQ(boxes_.shown()[1].text, "DeleteRangError");
    EXPECT_EQ(boxes_.shown()[1].caption, ApplicationTitle);
    EXPECT_EQ(boxes_.shown()[1].flags, MB_OK);
    EXPECT_EQ(ModelOf(form).rowCount(), 3);
    EXPECT_EQ(StoredRows(), 4);
}

TEST(DateRangeTest, StartsAtTheLastThirtyDaysWithFixedSize) {
    const auto previous = SetClock([] { return QDateTime(QDate(2024, 3, 1), QTime(0, 0)); });
    TfrmDateRange dialog;
    dialog.FormCreate();
    EXPECT_EQ(dialog.FromDate(), QDate(2024, 1, 31));
    EXPECT_EQ(dialog.ToDate(), QDate(2024, 3, 1));
    EXPECT_EQ(dialog.size(), QSize(292, 177));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(dialog.windowTitle(), "Select Range");
    SetClock(previous);
}

} // namespace
