// SPDX-License-Identifier: MIT
#include "lang/LangMgr.h"

#include "MessageKeys.h"
#include "QStringPrinter.h"
#include <QDir>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString SourceDir() {
    const QByteArray fromEnvironment = qgetenv("BFS_SOURCE_DIR");
    return fromEnvironment.isEmpty() ? QStringLiteral(BFS_SOURCE_DIR_AT_BUILD)
                                     : QString::fromLocal8Bit(fromEnvironment);
}

TEST(EnglishFileTest, HasATextForEveryKeyWithTheRightPlaceholders) {
    TLangMgr manager;
    manager.SetSystemLanguageIdSource([] { return 1049; });
    manager.LoadLanguageList(SourceDir() + QStringLiteral("/resources/Lang/"), true);
    ASSERT_TRUE(manager.Languages().contains(QStringLiteral("English")));
    EXPECT_EQ(manager.CurrentLanguage(), QStringLiteral("English")); // the English fallback
    EXPECT_EQ(manager.CurrentLanguageId(), 1033);

    int keys = 0;
    for (const char* key : MessageKeys) {
        ++keys;
        EXPECT_FALSE(manager.GetText(key).isEmpty()) << key;
    }
    EXPECT_EQ(keys, 149);

    // The overview fills a date, a mass or a number into these.
    const auto TakesOneText = [](const QString& key) {
        return QStringList{"OverviewMeasuredOn", "OverviewKcalPerDay", "OverviewToLose", "OverviewToGain",
                           "OverviewPerWeek"}
            .contains(key);
    };
    static const QRegularExpression placeholder(QStringLiteral("%[a-z]"));
    const auto placeholders = [&](const char* key) {
        QStringList found;
        for (const auto& match : placeholder.globalMatch(manager.GetText(key)))
            found << match.captured();
        return found;
    };
    for (const char* key : MessageKeys) {
        const QString k = QLatin1String(key);
        // The texts the program fills in with one number or one text (a file name, a date, a mass).
        static const QStringList withNumber = {
            "FmtRecordCnt",   "UserNameFmt",        "MeasurementsStayOnScale", "ImportSaved",
            "ReportAgeYears", "ReportMeasuredDays", "ReportRecentMonths"};
        static const QStringList withText = {"FileExistsSureOverwrite",
                                             "BackupSaved",
                                             "RestoreDone",
                                             "ReportSaved",
                                             "ReportMadeOn",
                                             "ReportPeriod",
                                             "ReportWriteFailed"};
        const QStringList expected = withNumber.contains(k) ? QStringList{QStringLiteral("%d")}
                                     : withText.contains(k) || TakesOneText(k)
                                         ? QStringList{QStringLiteral("%s")}
                                         : QStringList();
        EXPECT_EQ(placeholders(key), expected) << key;
    }
    EXPECT_EQ(QString::asprintf(manager.GetText("UserNameFmt").toUtf8().constData(), 3),
              QStringLiteral("USER 3"));
}

} // namespace
