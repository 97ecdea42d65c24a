// SPDX-License-Identifier: MIT
#pragma once

#include "support/MessageBoxRecorder.h"

#include "core/Clock.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "lang/LangMgr.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A fresh folder, database and clock per test, with the shipped English texts; message boxes are
// recorded and save questions answered with a path of the test's choosing.
class ReportTest : public ::testing::Test {
protected:
    static inline const QDate Today{2026, 3, 20};

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        Globals = TGlobals{};
        Globals.CurrentUserId = 1;
        Globals.SettingsPath = folder_.filePath(QStringLiteral("my.ini"));
        LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_FOLDER), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        previousClock_ = SetClock([] { return QDateTime(Today, QTime(8, 0)); });
    }

    void TearDown() override {
        SetSaveFileHook({});
        SetClock(previousClock_);
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    void Add(const QDate& day, double weight, double fat, double tbw, double mus, double bone) {
        store_->ExecuteSql(SqlInsertMeasurement(1, day, weight, fat, tbw, mus, bone));
    }

    void SetProfile(const QString& name, int gender, const QDate& birthday, int heightCm,
                    double heightInches) {
        store_->ExecuteSql(
            QStringLiteral("update P_USERS set USER_NAME = %1, SEX = %2, BIRTHDAY = '%3', HEIGHT = "
                           "%4, HEIGHT_EN = %5 where USER_ID = 1")
                .arg(QuotedSql(name))
                .arg(gender)
                .arg(birthday.toString(Qt::ISODate))
                .arg(heightCm)
                .arg(heightInches));
    }

    // Every save question is answered with path; the questions are counted.
    void AnswerSave(const QString& path) {
        SetSaveFileHook([this, path](QWidget*, const QString&, const QString&, const QString&) {
            ++saveQuestions_;
            return path;
        });
    }

    QString Target(const QString& name = QStringLiteral("report.pdf")) const {
        return folder_.filePath(name);
    }

    static QString Run(const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(60000) || process.exitCode() != 0)
            return QString();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // The text of a PDF file with its columns kept on their lines.
    static QString PdfText(const QString& path) { return Run("pdftotext", {"-layout", path, "-"}); }
    static int PdfPages(const QString& path) {
        for (const QString& line : Run("pdfinfo", {path}).split('\n'))
            if (line.startsWith("Pages:"))
                return line.mid(6).trimmed().toInt();
        return 0;
    }

    QByteArray DatabaseBytes() const {
        QFile file(folder_.filePath(QStringLiteral("db/MainDB.DB")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    MessageBoxRecorder boxes_;
    std::function<QDateTime()> previousClock_;
    int saveQuestions_ = 0;
};
