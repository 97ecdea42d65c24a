// SPDX-License-Identifier: MIT
// The exported sheet read back by a real spreadsheet program (LibreOffice, converting to CSV), in
// each shipped language: it must give back the texts the list shows.
#include "RecordsFixture.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// The fields of one CSV line as LibreOffice writes them: comma-separated, quoted when needed,
// with doubled quotes inside quotes.
QStringList CsvFields(const QString& line) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

class ExportReadBackTest : public RecordsTest {};

TEST_F(ExportReadBackTest, EveryShippedLanguageReadsBackAsTheListShowsIt) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";

    Add(Today.addDays(-1), 70.0, 20.5, 55.0, 40.2, 3.1);
    Add(Today, 71.3, 19.8, 56.1, 41.0, 3.2);
    LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_FOLDER), false);
    const QStringList languages = LangMgr().Languages();
    ASSERT_EQ(languages.size(), 6);

    QTemporaryDir sheets;
    QStringList files;
    std::vector<QStringList> expected; // per file: the heading line, then each row, cells joined by '|'
    for (const QString& language : languages) {
        LangMgr().SetLanguage(language);
        ASSERT_EQ(LangMgr().CurrentLanguage(), language);
        Globals.CurrentUnit = files.size() % 2; // kilograms and pounds, alternately
        TfrmMyData* form = Open();
        form->RefreshList();
        const QString file = sheets.filePath(QStringLiteral("sheet%1.xls").arg(files.size()));
        form->ExportToXls(file);
        ASSERT_TRUE(QFile::exists(file)) << language.toStdString();
        files << file;

        QStringList lines;
        lines << QStringList{GetText("Date"), GetText(Globals.CurrentUnit ? "WeightLB" : "WeightKG"),
                             GetText("FAT"),  GetText("TBW"),
                             GetText("MUS"),  GetText("BONE")}
                     .join(QLatin1Char('|'));
        const TMeasurementListModel& model = ModelOf(form);
        for (int row = 0; row < model.rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < 6; ++column)
                cells << model.data(model.index(row, column), Qt::DisplayRole).toString() +
                             (column >= 2 && column <= 4 ? QStringLiteral("%") : QString());
            lines << cells.join(QLatin1Char('|'));
        }
        expected.push_back(lines);
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // One run for all six files: LibreOffice takes seconds to start. Its own profile lives in a
    // folder of this test, so that neither a running copy nor the user's settings interfere.
    QTemporaryDir profile;
    QProcess office;
    office.setWorkingDirectory(sheets.path());
    QStringList arguments{QStringLiteral("-env:UserInstallation=") +
                              QUrl::fromLocalFile(profile.path()).toString(),
                          QStringLiteral("--headless"),
                          QStringLiteral("--convert-to"),
                          QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76"),
                          QStringLiteral("--outdir"),
                          sheets.path()};
    office.start(soffice, arguments + files);
    ASSERT_TRUE(office.waitForFinished(180000)) << "LibreOffice did not finish";
    ASSERT_EQ(office.exitCode(), 0) << office.readAllStandardError().toStdString();

    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QString csvPath =
            QString(files[int(i)]).replace(QStringLiteral(".xls"), QStringLiteral(".csv"));
        QFile csv(csvPath);
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << csvPath.toStdString();
        const QStringList lines =
            QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), expected[i].size()) << languages[int(i)].toStdString();
        for (int line = 0; line < lines.size(); ++line) {
            QString text = lines[line];
            if (text.endsWith(QLatin1Char('\r')))
                text.chop(1);
            EXPECT_EQ(CsvFields(text).join(QLatin1Char('|')).toStdString(), expected[i][line].toStdString())
                << languages[int(i)].toStdString() << ", line " << line;
        }
    }
}

} // namespace
