// SPDX-License-Identifier: MIT
#include "ReportFixture.h"

#include "core/Units.h"
#include "report/ReportCommand.h"
#include "report/ReportPdf.h"

#include "records/TfrmDateRange.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

namespace {

// Four ISO weeks of February 2026 for a woman born 15 May 1980, 168 cm (66 inches) tall: two days
// in week 6, two in week 7 (the second measured twice, 69.0 on average), one each in weeks 8 and 9.
class ReportOfAFewWeeks : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        SetProfile(QStringLiteral("Anna Berg"), 1, QDate(1980, 5, 15), 168, 66.0);
        Add({2026, 2, 2}, 70.0, 30.0, 50.0, 35.0, 2.5);
        Add({2026, 2, 4}, 69.6, 29.8, 50.2, 35.2, 2.5);
        Add({2026, 2, 9}, 69.0, 29.6, 50.5, 35.3, 2.6);
        Add({2026, 2, 12}, 68.8, 29.1, 50.6, 35.4, 2.6);
        Add({2026, 2, 12}, 69.2, 29.3, 50.8, 35.6, 2.6);
        Add({2026, 2, 16}, 68.4, 28.9, 51.0, 35.6, 2.6);
        Add({2026, 2, 23}, 68.0, 28.5, 51.2, 35.8, 2.7);
        // Outside the range: neither the latest values nor the statistics may count it.
        Add({2026, 3, 2}, 90.0, 10.0, 60.0, 50.0, 4.0);
    }

    // Makes the report of February and returns its text, each table row on a line of its own.
    QString February() {
        AnswerSave(Target());
        MakeReport(nullptr, QDate(2026, 2, 1), QDate(2026, 2, 28));
        EXPECT_EQ(boxes_.texts(),
                  QStringList{"The report has been written to " + QDir::toNativeSeparators(Target()) + "."});
        EXPECT_EQ(PdfPages(Target()), 2);
        return PdfText(Target());
    }
};

// Whether text holds a line that has each of cells in this order, separated only by blanks.
bool HasRow(const QString& text, const QStringList& cells) {
    QStringList escaped;
    for (const QString& cell : cells)
        escaped << QRegularExpression::escape(cell);
    return QRegularExpression("(^|\\s)" + escaped.join("\\s+") + "(\\s|$)",
                              QRegularExpression::MultilineOption)
        .match(text)
        .hasMatch();
}

#define EXPECT_ROW(text, ...) EXPECT_TRUE(HasRow(text, __VA_ARGS__)) << text.toStdString()

TEST_F(ReportOfAFewWeeks, NamesThePersonAndTheRange) {
    const QString text = February();
    EXPECT_TRUE(text.contains("Body Fat Scale"));
    EXPECT_TRUE(text.contains("Body composition report"));
    EXPECT_TRUE(text.contains("Period: 2026-02-01 \u2013 2026-02-28"));
    EXPECT_TRUE(text.contains("6 days with measurements"));
    EXPECT_TRUE(text.contains("Made on 2026-03-20"));
    EXPECT_ROW(text, {"Name", "Age", "Gender", "Height", "Unit"});
    EXPECT_ROW(text, {"Anna Berg", "45 years", "Female", "168 cm", "KG"});
}

TEST_F(ReportOfAFewWeeks, LatestValuesWithBmiAndBand) {
    const QString text = February();
    EXPECT_TRUE(text.contains("Measured on 2026-02-23"));
    // 68.0 kg at 1.68 m: 24.09.
    EXPECT_ROW(text, {"2026-02-23", "68.0", "28.5", "51.2", "35.8", "2.7", "24.1", "Normal range"});
    EXPECT_FALSE(text.contains("90.0"));
}

TEST_F(ReportOfAFewWeeks, ChangeOverTheRange) {
    const QString text = February();
    EXPECT_ROW(text, {"First", "Last", "Change", "Lowest", "Highest", "Mean", "Trend per week"});
    // The mean counts each measured day once: the two rows of 12 February are one day of 69.0.
    EXPECT_ROW(text, {"Weight (kg)", "70.0", "68.0", "-2.0", "68.0", "70.0", "69.0"});
    EXPECT_ROW(text, {"FAT (%)", "30.0", "28.5", "-1.5", "28.5", "30.0"});
    EXPECT_ROW(text, {"BONE (KG)", "2.5", "2.7", "+0.2", "2.5", "2.7"});
}

TEST_F(ReportOfAFewWeeks, WeeklyMeansRows) {
    const QString text = February();
    EXPECT_TRUE(text.contains("Weekly means"));
    EXPECT_ROW(text, {"2026-W06", "2", "69.8", "29.9", "50.1", "35.1", "2.5"});
    EXPECT_ROW(text, {"2026-W07", "2", "69.0", "29.4", "50.6", "35.4", "2.6"});
    EXPECT_ROW(text, {"2026-W08", "1", "68.4", "28.9", "51.0", "35.6", "2.6"});
    EXPECT_ROW(text, {"2026-W09", "1", "68.0", "28.5", "51.2", "35.8", "2.7"});
    EXPECT_FALSE(text.contains("2026-W10"));
}

TEST_F(ReportOfAFewWeeks, BothChartsWithTheirTexts) {
    const QString text = February();
    for (const char* expected : {"Charts", "Weight Chart", "FAT/TBW/MUS Chart", "Weight trend", "FAT trend"})
        EXPECT_TRUE(text.contains(expected)) << expected;
}

// An imperial user reads every mass in pounds: measured ones by the scale's table, computed ones
// (changes and means) by the exact factor, as the list and the statistics show them.
TEST_F(ReportOfAFewWeeks, PoundsForAnImperialUser) {
    Globals.CurrentUnit = 1;
    const QString text = February();
    const auto lb = [](double kg) { return QString::number(KgToLb(kg), 'f', 1); };
    const auto exact = [](double kg) { return QString::number(KgToLbExact(kg), 'f', 1); };
    EXPECT_ROW(text, {"Anna Berg", "45 years", "Female", "5'6.0\"", "LB"});
    EXPECT_ROW(text, {"2026-02-23", lb(68.0), "28.5", "51.2", "35.8", lb(2.7), "24.1", "Normal range"});
    EXPECT_ROW(text, {"Weight (lb)", exact(70.0), exact(68.0)});
    EXPECT_ROW(text, {"2026-W06", "2", exact(69.8), "29.9", "50.1", "35.1", exact(2.5)});
}

TEST_F(ReportOfAFewWeeks, TheDatabaseIsOnlyRead) {
    const QByteArray before = DatabaseBytes();
    February();
    EXPECT_EQ(DatabaseBytes(), before);
}

TEST_F(ReportTest, WithoutAProfileThereIsNoBmiButASentence) {
    Add({2026, 3, 1}, 70.0, 20.0, 55.0, 40.0, 3.0);
    AnswerSave(Target());
    MakeReport(nullptr, QDate(2026, 3, 1), QDate(2026, 3, 1));
    const QString text = PdfText(Target());
    EXPECT_FALSE(text.contains("BMI"));
    EXPECT_TRUE(text.simplified().contains("Save your gender, birthday and height in User Information"))
        << text.toStdString();
    EXPECT_ROW(text, {"2026-03-01", "70.0", "20.0", "55.0", "40.0", "3.0"});
}

TEST_F(ReportTest, ARangeWithoutMeasurementsSaysSoAndWritesNothing) {
    Add({2026, 3, 1}, 70.0, 20.0, 55.0, 40.0, 3.0);
    AnswerSave(Target());
    MakeReport(nullptr, QDate(2026, 1, 1), QDate(2026, 2, 28));
    EXPECT_EQ(boxes_.texts(),
              QStringList{"There are no measurements in the chosen period. No report has been written."});
    EXPECT_EQ(saveQuestions_, 0);
    EXPECT_FALSE(QFileInfo::exists(Target()));
}

// A file where the folder should be: nothing can be created there, not even by the superuser.
TEST_F(ReportTest, AnUnwritableFolderGetsAMessageAndLeavesNoFile) {
    Add({2026, 3, 1}, 70.0, 20.0, 55.0, 40.0, 3.0);
    QFile blocker(Target("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray before = DatabaseBytes();
    const QString target = Target("blocker/report.pdf");
    AnswerSave(target);
    MakeReport(nullptr, QDate(2026, 3, 1), QDate(2026, 3, 1));
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_EQ(boxes_.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(boxes_.shown()[0].text.startsWith("The report could not be written to " +
                                                  QDir::toNativeSeparators(target)))
        << boxes_.shown()[0].text.toStdString();
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({"blocker"}));
    EXPECT_EQ(DatabaseBytes(), before);
}

TEST_F(ReportTest, AnExistingFileIsReplacedOnlyAfterConsentAndTheSuffixIsAdded) {
    Add({2026, 3, 1}, 70.0, 20.0, 55.0, 40.0, 3.0);
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    AnswerSave(Target("report"));
    boxes_.setNextAnswer(IDCANCEL);
    MakeReport(nullptr, QDate(2026, 3, 1), QDate(2026, 3, 1));
    ASSERT_EQ(boxes_.shown().size(), 1);
    EXPECT_TRUE(boxes_.shown()[0].text.contains("already exists"));
    QFile kept(Target());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    kept.close();

    boxes_.clear();
    MakeReport(nullptr, QDate(2026, 3, 1), QDate(2026, 3, 1));
    EXPECT_EQ(boxes_.shown().size(), 2);
    EXPECT_EQ(PdfPages(Target()), 2);
}

// Glyphs that Noto CJK shares with the Kangxi radicals come back from the PDF as the radicals, so
// the texts checked here are made of others.
TEST_F(ReportOfAFewWeeks, ChineseTextsComeBackFromThePdf) {
    LangMgr().SetLanguage(QStringLiteral("\u7b80\u4f53\u4e2d\u6587"));
    AnswerSave(Target());
    MakeReport(nullptr, QDate(2026, 2, 1), QDate(2026, 2, 28));
    const QString text = PdfText(Target());
    EXPECT_EQ(PdfPages(Target()), 2);
    for (const char* expected : {"\u6700\u65b0\u6570\u503c",             // the latest values
                                 "\u671f\u95f4\u5185\u7684\u53d8\u5316", // the change over the period
                                 "\u6bcf\u5468\u5e73\u5747",             // weekly means
                                 "\u6b63\u5e38\u8303\u56f4"})            // normal range
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_ROW(text, {"2026-W07", "2", "69.0", "29.4", "50.6", "35.4", "2.6"});
}

// Daily measurements from the first day of first up to the day before Today.
class ReportOfALongRange : public ReportTest {
protected:
    void MeasureDailySince(const QDate& first) {
        QStringList script;
        for (QDate day = first; day < Today; day = day.addDays(1))
            script << SqlInsertMeasurement(1, day, 80.0 - first.daysTo(day) * 0.01, 25.0, 52.0, 38.0, 3.0);
        store_->ExecuteSql(script.join(QStringLiteral(";")));
    }
};

TEST_F(ReportOfALongRange, AYearIsTabledByMonthsAndSaysSo) {
    MeasureDailySince(Today.addYears(-1));
    AnswerSave(Target());
    MakeReport(nullptr, Today.addYears(-1), Today);
    EXPECT_EQ(PdfPages(Target()), 2);
    const QString text = PdfText(Target());
    EXPECT_TRUE(text.contains("Monthly means"));
    EXPECT_TRUE(text.contains("so the means are of months")) << text.toStdString();
    EXPECT_FALSE(text.contains("-W"));
    EXPECT_ROW(text, {"2025-03", "12"});
    EXPECT_ROW(text, {"2025-04", "30"});
    EXPECT_ROW(text, {"2026-03", "19"});
}

TEST_F(ReportOfALongRange, YearsKeepTheLatestMonthsThatFitAndSaySo) {
    MeasureDailySince(QDate(2020, 1, 1));
    AnswerSave(Target());
    MakeReport(nullptr, QDate(2020, 1, 1), Today);
    EXPECT_EQ(PdfPages(Target()), 2);
    const QString text = PdfText(Target());
    const QRegularExpressionMatch note =
        QRegularExpression("Only the last (\\d+) months fit on the page").match(text);
    ASSERT_TRUE(note.hasMatch()) << text.toStdString();
    const int shown = note.captured(1).toInt();
    EXPECT_GT(shown, 12);
    const QDate firstShown = QDate(2026, 3, 1).addMonths(1 - shown);
    EXPECT_ROW(text, {firstShown.toString("yyyy-MM")});
    EXPECT_FALSE(HasRow(text, {firstShown.addMonths(-1).toString("yyyy-MM")}));
    EXPECT_ROW(text, {"2026-03", "19"});
    // The change still covers the whole range.
    EXPECT_ROW(text, {"Weight (kg)", "80.0"});
}

TEST_F(ReportOfAFewWeeks, TheMenuCommandProposesTheLastMeasuredDaysAndReportsTheChosenOnes) {
    QDate proposedFrom, proposedTo;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmDateRange*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        proposedFrom = dialog->FromDate();
        proposedTo = dialog->ToDate();
        caption = dialog->windowTitle();
        dialog->SetDates(QDate(2026, 2, 9), QDate(2026, 2, 16));
        dialog->accept();
    });
    AnswerSave(Target());
    RunReport(nullptr);
    // The latest measurement is that of 2 March; the first lies less than 90 days before it.
    EXPECT_EQ(proposedFrom, QDate(2026, 2, 2));
    EXPECT_EQ(proposedTo, QDate(2026, 3, 2));
    EXPECT_EQ(caption, "Report");
    const QString text = PdfText(Target());
    EXPECT_TRUE(text.contains("Period: 2026-02-09 \u2013 2026-02-16"));
    EXPECT_ROW(text, {"2026-02-16", "68.4", "28.9", "51.0", "35.6", "2.6"});
}

// The longest name a user slot holds gets a line of its own rather than being cut.
TEST_F(ReportOfAFewWeeks, ALongNameIsPrintedWhole) {
    const QString name = QStringLiteral("Maximiliane Wilhelmine Konstanze von Hohenberg-Ast");
    ASSERT_EQ(name.size(), 50);
    SetProfile(name, 1, QDate(1980, 5, 15), 168, 66.0);
    const QString text = February();
    EXPECT_TRUE(text.contains(name)) << text.toStdString();
    EXPECT_ROW(text, {"45 years", "Female", "168 cm", "KG"});
}

// While the process may not write more than a few kilobytes into a file, writing the report fails
// part of the way through, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST_F(ReportOfAFewWeeks, AFullDiskGetsAMessageAndKeepsTheOldFile) {
    {
        QFile old(Target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    const QByteArray before = DatabaseBytes();
    AnswerSave(Target());
    {
        const FileSizeLimit limit(8192);
        MakeReport(nullptr, QDate(2026, 2, 1), QDate(2026, 2, 28));
    }
    ASSERT_EQ(boxes_.shown().size(), 2); // replace the file?, then the failure
    EXPECT_EQ(boxes_.shown()[1].flags, MB_OK | MB_ICONERROR);
    EXPECT_TRUE(boxes_.shown()[1].text.startsWith("The report could not be written"))
        << boxes_.shown()[1].text.toStdString();
    QFile kept(Target());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList({"report.pdf"}));
    EXPECT_EQ(DatabaseBytes(), before);
}

} // namespace
