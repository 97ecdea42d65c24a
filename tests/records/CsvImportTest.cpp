// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include "core/OpenFileDialog.h"
#include "records/TfrmCsvImport.h"

#include <QLabel>
#include <QPushButton>

namespace {

class CsvImportTest : public RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        UseLanguage({{"ImportSaved", "Saved %d days."},
                     {"ImportSaveFailed", "Not saved."},
                     {"ImportNotCsv", "Not CSV."},
                     {"ImportNotUtf8", "Not UTF-8."},
                     {"ImportNoDateColumn", "No date column."},
                     {"ImportUnreadable", "Cannot open."},
                     {"ImportTooLarge", "Too large."},
                     {"Error", "Error"}});
    }
    void TearDown() override {
        SetOpenFileHook({});
        RecordsTest::TearDown();
    }

    QString Write(const char* name, const QByteArray& bytes) {
        const QString path = QDir(folder_.path()).filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Runs the import of path; the preview is read and then saved or cancelled.
    struct Preview {
        bool Shown = false;
        QMap<QString, QString> Values; // lblNewDays -> "1" ...
        bool SaveEnabled = false;
    };
    Preview Import(const QString& path, bool save) {
        SetOpenFileHook([path](QWidget*, const QString&, const QString&) { return path; });
        auto preview = std::make_shared<Preview>();
        // Owned here, so that an import that shows no dialog leaves no answer behind for the next one.
        QTimer answer;
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [preview, save] {
            auto* dialog = qobject_cast<TfrmCsvImport*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            preview->Shown = true;
            for (QLabel* label : dialog->findChildren<QLabel*>())
                if (label->objectName().endsWith(QStringLiteral("Value")))
                    preview->Values[label->objectName().chopped(5)] = label->text();
            auto* btnSave = dialog->findChild<QPushButton*>(QStringLiteral("btnSave"));
            preview->SaveEnabled = btnSave->isEnabled();
            if (save)
                btnSave->click();
            if (dialog->isVisible())
                dialog->reject(); // a failed save leaves the dialog open
        });
        answer.start(0);
        RunCsvImport(area_.get());
        return *preview;
    }

    QStringList StoredDays() {
        QStringList days;
        for (const TDataRow& row : store_->SelectRows(SqlListRange(1, QDate(2000, 1, 1), QDate(2100, 1, 1))))
            days << row.AsString(QStringLiteral("THE_DATE")) + QLatin1Char('=') +
                        row.AsString(QStringLiteral("WEIGHT"));
        return days;
    }
};

const QByteArray Mixed = "date,weight_kg,body_fat_percent\n"
                         "2024-03-30,71.5,20\n"
                         "2024-03-31,72.5,21\n"
                         "2024-02-30,70,20\n" // no such day
                         "2024-03-29,,20\n"   // no weight
                         "2024-03-28,900,20\n";

TEST_F(CsvImportTest, PreviewSaysWhatSavingWillDoAndSaveWritesAndRefreshesTheList) {
    Add(Today, 70.0);
    TfrmMyData* list = Open();
    ASSERT_EQ(ModelOf(list).rowCount(), 1);
    const Preview preview = Import(Write("in.csv", Mixed), true);
    ASSERT_TRUE(preview.Shown);
    EXPECT_EQ(preview.Values.value("lblNewDays"), "1");
    EXPECT_EQ(preview.Values.value("lblReplacedDays"), "1");
    EXPECT_EQ(preview.Values.value("lblSkipped"), "3");
    EXPECT_EQ(preview.Values.value("lblSkippedDate"), "1");
    EXPECT_EQ(preview.Values.value("lblSkippedRange"), "1");
    EXPECT_EQ(preview.Values.value("lblSkippedWeight"), "1");
    EXPECT_TRUE(preview.Values.value("lblDays").startsWith("2  (2024-03-30 – 2024-03-31)"));
    EXPECT_EQ(StoredDays(), QStringList({"2024-03-30=71.5", "2024-03-31=72.5"}));
    EXPECT_EQ(boxes_.texts(), QStringList({"Saved 2 days."}));
    QCoreApplication::processEvents(); // the posted WM_REFRESH_MYDATA
    EXPECT_EQ(ModelOf(list).rowCount(), 2);
}

TEST_F(CsvImportTest, CancelWritesNothing) {
    Add(Today, 70.0);
    const Preview preview = Import(Write("in.csv", Mixed), false);
    EXPECT_TRUE(preview.Shown);
    EXPECT_EQ(StoredDays(), QStringList({"2024-03-31=70"}));
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(CsvImportTest, AFileItCannotReadGetsItsMessageAndNoPreview) {
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* message;
    };
    const Case cases[] = {
        {"latin1.csv", "date,weight_kg\n2024-03-30,71.5,\"K\xf6ln\"\n", "Not UTF-8."},
        {"archive.csv", QByteArray("PK\x03\x04\x14\0\0\0\x08\0", 10), "Not CSV."},
        {"days.csv", "day,weight\n2024-03-30,71.5\n", "No date column."},
    };
    for (const Case& c : cases) {
        boxes_.clear();
        const Preview preview = Import(Write(c.name, c.bytes), true);
        EXPECT_FALSE(preview.Shown) << c.name;
        EXPECT_EQ(boxes_.texts(), QStringList({c.message})) << c.name;
    }
    boxes_.clear();
    Import(QDir(folder_.path()).filePath("missing.csv"), true);
    EXPECT_EQ(boxes_.texts(), QStringList({"Cannot open."}));
    EXPECT_TRUE(StoredDays().isEmpty());
}

TEST_F(CsvImportTest, AFileWithoutUsableRowsCannotBeSaved) {
    const Preview preview = Import(Write("in.csv", "date,weight_kg\n2024-02-30,70\n"), false);
    EXPECT_TRUE(preview.Shown) << boxes_.texts().join('|').toStdString();
    EXPECT_FALSE(preview.SaveEnabled);
}

TEST_F(CsvImportTest, AFailedSaveSaysSoAndLeavesTheStoreAsItWas) {
    Add(Today, 70.0);
    store_->ExecuteSql(QStringLiteral("create trigger refuse before insert on P_DATA when NEW.THE_DATE = "
                                      "'2024-03-31' begin select raise(abort, 'disk I/O error'); end"));
    Import(Write("in.csv", Mixed), true);
    EXPECT_EQ(boxes_.texts(), QStringList({"Not saved.\ndisk I/O error"}));
    EXPECT_EQ(StoredDays(), QStringList({"2024-03-31=70"}));
}

} // namespace
