// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include <QPushButton>

namespace {

class CsvExportTest : public RecordsTest {
protected:
    QString Target(const char* name) const {
        return QDir(folder_.path()).filePath(QString::fromLatin1(name));
    }

    void ExportThroughTheButton(TfrmMyData* form, const QString& fileName) {
        SetSaveFileHook(
            [fileName](QWidget*, const QString&, const QString&, const QString&) { return fileName; });
        form->findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
    }
};

TEST_F(CsvExportTest, ACsvNameWritesTheListedRowsAsNumbersInTheUnitOfTheSetting) {
    struct Case {
        int unit;
        const char* expected;
    };
    const Case cases[] = {
        {0, "date,weight_kg,body_fat_percent,water_percent,muscle_percent,bone_kg\r\n"
            "2024-03-29,70.0,20.5,55.0,40.2,3.1\r\n"
            "2024-03-31,72.5,19.8,56.1,41.0,3.2\r\n"},
        {1, "date,weight_lb,body_fat_percent,water_percent,muscle_percent,bone_lb\r\n"
            "2024-03-29,154.4,20.5,55.0,40.2,6.8\r\n"
            "2024-03-31,159.8,19.8,56.1,41.0,7.0\r\n"},
    };
    for (const Case& c : cases) {
        store_->ExecuteSql(QStringLiteral("delete from P_DATA"));
        Add(Today.addDays(-2), 70.0);
        Add(Today.addDays(-1), 71.0);
        Add(Today, 72.5, 19.8, 56.1, 41.0, 3.2);
        Add(Today, 90.0, 1, 1, 1, 1, 2); // another user's
        Globals.CurrentUnit = c.unit;
        TfrmMyData* form = Open();
        form->RefreshList();
        // A row deleted from the list is not exported, as in the spreadsheet.
        ListOf(form)->selectRow(1);
        boxes_.setNextAnswer(IDOK);
        form->btnDeleteClick();
        const QString target = Target(c.unit ? "pounds.CSV" : "kilograms.csv");
        ExportThroughTheButton(form, target);
        EXPECT_EQ(FileBytes(target), c.expected) << c.unit;
    }
    EXPECT_EQ(QDir(folder_.path()).entryList({QStringLiteral("*.xls")}, QDir::Files), QStringList());
}

TEST_F(CsvExportTest, AnExistingFileIsReplacedOnlyAfterAsking) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    const QString target = Target("out.csv");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    boxes_.setNextAnswer(IDCANCEL);
    form->ExportToCsv(target);
    EXPECT_EQ(FileBytes(target), "old");
    boxes_.setNextAnswer(IDOK);
    form->ExportToCsv(target);
    EXPECT_TRUE(FileBytes(target).startsWith("date,weight_kg,"));
    EXPECT_EQ(boxes_.texts(), QStringList({"Replace " + target + "?", "Replace " + target + "?"}));
}

} // namespace
