// SPDX-License-Identifier: MIT
#include "RecordsFixture.h"

#include "core/ErrorHandler.h"
#include "lang/AnsiText.h"
#include "records/TExcelExport.h"

#include <QFileInfo>
#include <QPushButton>
#include <unistd.h>

namespace {

class ExportTest : public RecordsTest {
protected:
    QString Target(const QString& name = QStringLiteral("out.xls")) const {
        return QDir(folder_.path()).filePath(name);
    }

    // The next save question is answered with fileName; the arguments it got are kept.
    void AnswerSave(const QString& fileName) {
        SetSaveFileHook(
            [this, fileName](QWidget*, const QString&, const QString& filter, const QString& suffix) {
                ++saveQuestions_;
                saveFilter_ = filter;
                saveSuffix_ = suffix;
                return fileName;
            });
    }

    void ClickExport(TfrmMyData* form) {
        form->findChild<QPushButton*>(QStringLiteral("btnExport"))->click();
    }

    // The files in the test's folder other than the database and language folders.
    QStringList LooseFiles() const {
        return QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    // The cells the list shows, as the sheet should hold them (percent columns with their sign).
    static std::vector<SheetCell> ListedCells(TfrmMyData* form) {
        std::vector<SheetCell> cells;
        for (int row = 0; row < ModelOf(form).rowCount(); ++row)
            for (int column = 0; column < 6; ++column)
                cells.push_back({row + 1, column,
                                 ModelOf(form).Cell(row, column) + (column >= 2 && column <= 4 ? "%" : "")});
        return cells;
    }

    int saveQuestions_ = 0;
    QString saveFilter_;
    QString saveSuffix_;
};

QByteArray Label(int row, int column, const QByteArray& text) {
    QByteArray record = QByteArray::fromHex("0402");
    for (int word : {8 + int(text.size()), row, column, 0, int(text.size())})
        record.append(char(word & 0xFF)).append(char(word >> 8));
    return record + text;
}

TEST_F(ExportTest, OneMeasurementGivesTheExactFile) {
    Add(Today, 70.0, 20.5, 55.0, 40.2, 3.1);
    TfrmMyData* form = Open();
    AnswerSave(Target());
    ClickExport(form);

    QByteArray expected =
        QByteArray::fromHex("090808000000100000000000") + QByteArray::fromHex("42000200e404");
    const QByteArray heading[] = {"Date", "Weight (kg)", "FAT", "TBW", "MUS", "BONE"};
    const QByteArray data[] = {"2024-03-31", "70.0 KG", "20.5 %", "55.0 %", "40.2 %", "3.1 KG"};
    for (int column = 0; column < 6; ++column)
        expected += Label(0, column, heading[column]);
    for (int column = 0; column < 6; ++column)
        expected += Label(1, column, data[column]);
    expected += QByteArray::fromHex("0a000000");

    const QByteArray written = FileBytes(Target());
    EXPECT_EQ(written.toHex(' ').toStdString(), expected.toHex(' ').toStdString());
    int texts = 0;
    for (const QByteArray& text : heading)
        texts += text.size();
    for (const QByteArray& text : data)
        texts += text.size();
    EXPECT_EQ(written.size(), 22 + 72 * 2 + texts);
    EXPECT_TRUE(boxes_.shown().isEmpty()); // no message after a successful export
    EXPECT_EQ(saveQuestions_, 1);
    EXPECT_EQ(saveFilter_, "Excel Files (*.xls);;CSV Files (*.csv)");
    EXPECT_EQ(saveSuffix_, "xls");
    EXPECT_EQ(LooseFiles(), QStringList({"out.xls"})); // no temporary file left beside it
}

TEST_F(ExportTest, PoundsHeadingAndTheLeadingBlankOfThePoundText) {
    Add(Today.addDays(-1), 70.0);
    Add(Today, 80.0);
    Globals.CurrentUnit = 1;
    TfrmMyData* form = Open();
    form->ExportToXls(Target());
    const std::vector<SheetCell> cells = ReadSheet(FileBytes(Target()));
    ASSERT_EQ(cells.size(), 18u);
    EXPECT_EQ(cells[1], (SheetCell{0, 1, "Weight (lb)"}));
    EXPECT_EQ(cells[7], (SheetCell{1, 1, " 154.4 LB"}));
    EXPECT_EQ(cells[11], (SheetCell{1, 5, "   6.8 LB"}));
    EXPECT_EQ(cells[13], (SheetCell{2, 1, " 176.4 LB"}));
    EXPECT_EQ(std::vector<SheetCell>(cells.begin() + 6, cells.end()), ListedCells(form));
}

TEST_F(ExportTest, HeadingFollowsTheUnitAtExportWhileCellsKeepTheListedTexts) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    Globals.CurrentUnit = 1;
    form->ExportToXls(Target());
    const std::vector<SheetCell> cells = ReadSheet(FileBytes(Target()));
    ASSERT_EQ(cells.size(), 12u);
    EXPECT_EQ(cells[1].Text, "Weight (lb)");
    EXPECT_EQ(cells[7].Text, "70.0 KG");
}

TEST_F(ExportTest, EmptyHeadingTextGivesALabelWithoutText) {
    UseLanguage({{"Date", ""}, {"BONE", ""}});
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    form->ExportToXls(Target());
    const QByteArray written = FileBytes(Target());
    EXPECT_EQ(written.mid(18, 12), QByteArray::fromHex("040208000000000000000000"));
    const std::vector<SheetCell> cells = ReadSheet(written);
    ASSERT_EQ(cells.size(), 12u);
    EXPECT_EQ(cells[0], (SheetCell{0, 0, ""}));
    EXPECT_EQ(cells[5], (SheetCell{0, 5, ""}));
}

TEST_F(ExportTest, ARowDeletedFromTheListIsNotExported) {
    Add(Today.addDays(-2), 70.0);
    Add(Today.addDays(-1), 71.0);
    Add(Today, 72.0);
    TfrmMyData* form = Open();
    ListOf(form)->selectRow(1);
    boxes_.setNextAnswer(IDOK);
    form->btnDeleteClick();
    form->ExportToXls(Target());
    const std::vector<SheetCell> cells = ReadSheet(FileBytes(Target()));
    ASSERT_EQ(cells.size(), 18u);
    EXPECT_EQ(cells[6].Text, "2024-03-29");
    EXPECT_EQ(cells[12], (SheetCell{2, 0, "2024-03-31"}));
}

TEST_F(ExportTest, HeadingsInTheLanguagesCodePageWithQuestionMarksForWhatItLacks) {
    UseLanguage({{"Date", "Datum"}, {"FAT", "Fett 脂"}, {"WeightKG", "Gewicht (kg) – Ø"}}, 1031);
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    form->ExportToXls(Target());
    const std::vector<SheetCell> cells = ReadSheet(FileBytes(Target()));
    ASSERT_EQ(cells.size(), 12u);
    EXPECT_EQ(cells[1].Text, QByteArray("Gewicht (kg) \x96 \xd8"));
    EXPECT_EQ(cells[2].Text, QByteArray("Fett ?"));
}

TEST_F(ExportTest, TheFileNamesTheCodePageOfTheLanguageAtExport) {
    const struct {
        int langId;
        int codePage;
    } cases[] = {{1033, 1252}, {1031, 1252}, {2052, 936}, {1041, 932}};
    Add(Today, 70.0);
    for (const auto& c : cases) {
        UseLanguage({}, c.langId);
        TfrmMyData* form = Open();
        QFile::remove(Target());
        form->ExportToXls(Target());
        int codePage = 0;
        EXPECT_EQ(ReadSheet(FileBytes(Target()), &codePage).size(), 12u) << c.langId;
        EXPECT_EQ(codePage, c.codePage) << c.langId;
    }
}

// The list is filled in one language and exported in another: headings and cells alike are
// written in the code page of the language at export, and read back as the list shows them.
TEST_F(ExportTest, CellsListedBeforeALanguageSwitchGoOutInTheCodePageOfTheExport) {
    UseLanguage({{"KG", QStringLiteral("公斤")}}, 2052);
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    UseLanguage({{"KG", QStringLiteral("公斤")}, {"Date", QStringLiteral("日付")}}, 1041);
    form->ExportToXls(Target());

    int codePage = 0;
    const std::vector<SheetCell> cells = ReadSheet(FileBytes(Target()), &codePage);
    ASSERT_EQ(cells.size(), 12u);
    EXPECT_EQ(codePage, 932);
    EXPECT_EQ(FromAnsi(cells[0].Text, 932), QStringLiteral("日付"));
    for (int column = 0; column < 6; ++column) {
        const QString shown = ModelOf(form).data(ModelOf(form).index(0, column), Qt::DisplayRole).toString();
        const QString percent = column >= 2 && column <= 4 ? QStringLiteral("%") : QString();
        EXPECT_EQ(FromAnsi(cells[6 + column].Text, 932), shown + percent) << column;
    }
    EXPECT_TRUE(FromAnsi(cells[7].Text, 932).endsWith(QStringLiteral("公斤")));
}

TEST_F(ExportTest, EmptyListSaysSoWithoutAskingForAFile) {
    TfrmMyData* form = Open();
    AnswerSave(Target());
    ClickExport(form);
    EXPECT_EQ(boxes_.texts(), QStringList({"NoDataToExport"}));
    EXPECT_EQ(boxes_.shown()[0].caption, "Notify");
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(saveQuestions_, 0);
    EXPECT_FALSE(QFile::exists(Target()));
}

TEST_F(ExportTest, CancelledSaveQuestionWritesNothing) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    AnswerSave(QString());
    ClickExport(form);
    EXPECT_EQ(saveQuestions_, 1);
    EXPECT_TRUE(boxes_.shown().isEmpty());
    EXPECT_TRUE(LooseFiles().isEmpty());
}

TEST_F(ExportTest, ExistingReadOnlyFileIsReplacedOnlyAfterConsent) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old content");
    }
    QFile::setPermissions(Target(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    boxes_.setNextAnswer(IDCANCEL);
    form->ExportToXls(Target());
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].text, "Replace " + Target() + "?");
    EXPECT_EQ(boxes_.shown()[0].caption, "Notify");
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(FileBytes(Target()), "old content");
    EXPECT_FALSE(QFileInfo(Target()).permissions() & QFile::WriteOwner);

    boxes_.setNextAnswer(IDOK);
    form->ExportToXls(Target());
    EXPECT_EQ(boxes_.shown().size(), 2);
    EXPECT_EQ(ReadSheet(FileBytes(Target())).size(), 12u);
    EXPECT_TRUE(QFileInfo(Target()).permissions() & QFile::WriteOwner);
    EXPECT_EQ(LooseFiles(), QStringList({"out.xls"}));
}

TEST_F(ExportTest, AnUndeletableTargetSaysFileOpenFailure) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    // A folder that is not empty cannot be deleted, whoever runs the test.
    QDir(folder_.path()).mkpath(QStringLiteral("busy.xls/inside"));
    boxes_.setNextAnswer(IDOK);
    form->ExportToXls(Target(QStringLiteral("busy.xls")));
    EXPECT_EQ(boxes_.texts(),
              QStringList({"Replace " + Target(QStringLiteral("busy.xls")) + "?", "FileOpenFailure"}));
    EXPECT_EQ(boxes_.shown()[1].caption, "Notify");
    EXPECT_EQ(boxes_.shown()[1].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(QFileInfo(Target(QStringLiteral("busy.xls"))).isDir());
}

TEST_F(ExportTest, AFolderThatCannotTakeTheFileReachesTheErrorHandlerAndLeavesNoFile) {
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    const QString missingFolder = Target(QStringLiteral("missing/out.xls"));
    AnswerSave(missingFolder);
    ClickExport(form);
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].caption, ApplicationTitle);
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(boxes_.shown()[0].text.contains(QDir::toNativeSeparators(missingFolder)))
        << boxes_.shown()[0].text.toStdString();
    EXPECT_TRUE(LooseFiles().isEmpty());
}

TEST_F(ExportTest, AReadOnlyFolderReachesTheErrorHandlerAndLeavesNoFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    Add(Today, 70.0);
    TfrmMyData* form = Open();
    const QString closed = Target(QStringLiteral("closed"));
    QDir().mkpath(closed);
    QFile::setPermissions(closed, QFile::ReadOwner | QFile::ExeOwner);
    AnswerSave(closed + QStringLiteral("/out.xls"));
    ClickExport(form);
    QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(QDir(closed).isEmpty());
}

TEST_F(ExportTest, MostRowsAFileCanHold) {
    AddMany(TExcelExport::MaxDataRows, Today);
    TfrmMyData* form = Open();
    ASSERT_EQ(ModelOf(form).rowCount(), 65535);
    form->ExportToXls(Target());
    const QByteArray written = FileBytes(Target());
    // each data row holds 10 + 7 + 6 + 6 + 6 + 6 text bytes: 2024-03-31, "70.5 KG", "20.5 %" ...
    const int headingTexts = 4 + 11 + 3 + 3 + 3 + 4;
    EXPECT_EQ(written.size(), 22 + 72 * (65535 + 1) + headingTexts + 65535 * (10 + 7 + 6 + 6 + 6 + 6));
    const std::vector<SheetCell> cells = ReadSheet(written);
    ASSERT_EQ(cells.size(), 6u * 65536u);
    EXPECT_EQ(cells.back(), (SheetCell{65535, 5, "3.1 KG"}));
}

TEST_F(ExportTest, OneRowTooManyIsRefusedAndTheOldFileStays) {
    AddMany(TExcelExport::MaxDataRows + 1, Today);
    TfrmMyData* form = Open();
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old content");
    }
    AnswerSave(Target());
    ClickExport(form);
    EXPECT_EQ(boxes_.texts(), QStringList({"ExportTooLarge"}));
    EXPECT_EQ(boxes_.shown()[0].caption, "Notify");
    EXPECT_EQ(FileBytes(Target()), "old content");
    EXPECT_EQ(LooseFiles(), QStringList({"out.xls"}));
}

TEST_F(ExportTest, CellTextsUpToTheLimitAndOneByteOver) {
    const int limit = TExcelExport::MaxCellTextBytes;
    struct Case {
        const char* what;
        QMap<QString, QString> texts;
        bool written;
    };
    // "70.0 " is five bytes ahead of the unit text in the weight cell
    const Case cases[] = {
        {"heading at the limit", {{"Date", QString(limit, 'd')}}, true},
        {"heading one byte over", {{"Date", QString(limit + 1, 'd')}}, false},
        {"heading counted in code page bytes, not UTF-8", {{"BONE", QString(limit, QChar(0x00E9))}}, true},
        {"weight cell at the limit", {{"KG", QString(limit - 5, 'k')}}, true},
        {"weight cell one byte over", {{"KG", QString(limit - 4, 'k')}}, false},
    };
    for (const Case& c : cases) {
        UseLanguage(c.texts);
        store_->ExecuteSql(QStringLiteral("delete from P_DATA"));
        Add(Today, 70.0);
        TfrmMyData* form = Open();
        form->RefreshList();
        QFile::remove(Target());
        boxes_.clear();
        form->ExportToXls(Target());
        EXPECT_EQ(QFile::exists(Target()), c.written) << c.what;
        if (c.written) {
            EXPECT_TRUE(boxes_.shown().isEmpty()) << c.what;
            EXPECT_EQ(ReadSheet(FileBytes(Target())).size(), 12u) << c.what;
        } else {
            EXPECT_EQ(boxes_.texts(), QStringList({"ExportTooLarge"})) << c.what;
        }
    }
}

} // namespace
