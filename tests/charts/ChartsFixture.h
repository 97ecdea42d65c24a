// SPDX-License-Identifier: MIT
#pragma once

#include "support/MessageBoxRecorder.h"
#include "support/TestLanguage.h"

#include "charts/TChart.h"
#include "charts/TPdfPrinters.h"
#include "charts/TPrinter.h"
#include "charts/TfrmChat.h"
#include "core/Clock.h"
#include "core/Globals.h"
#include "core/SaveFileDialog.h"
#include "lang/LangMgr.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineSeries>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// Found by the tests' messages through argument-dependent lookup.
inline void PrintTo(const TPrintMargins& m, std::ostream* out) {
    *out << "{" << m.Left << ", " << m.Top << ", " << m.Right << ", " << m.Bottom << "}";
}

// A fresh folder, language, database, printers and MDI area per test; message boxes are recorded
// and the clock stands at Today.
class ChartsTest : public ::testing::Test {
protected:
    static inline const QDate Today{2024, 3, 31};

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        UseLanguage({});
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
        Globals.CurrentUserId = 1;
        Globals.CurrentUnit = 0;
        previousClock_ = SetClock([] { return QDateTime(Today, QTime(9, 30)); });
        UsePrinters({{QStringLiteral("PDF A"), QPageLayout::Portrait},
                     {QStringLiteral("PDF B"), QPageLayout::Portrait}});
        area_ = std::make_unique<QMdiArea>();
        area_->resize(1000, 700);
        area_->show();
    }

    void TearDown() override {
        SetSaveFileHook({});
        area_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Printer().SetBackend(std::move(previousPrinters_));
        SetClock(previousClock_);
        SetDataModule(nullptr);
    }

    // Makes a new language current that holds the chart texts, with overrides; an override with a
    // null text leaves the key out.
    void UseLanguage(const QMap<QString, QString>& overrides) {
        QMap<QString, QString> texts = {
            {"WeightUnitKG", "Weight  Unit:KG"},
            {"WeightUnitLB", "Weight  Unit:LB"},
            {"ChatTitleWeight", "Weight Chart"},
            {"ChatTitleBMI", "FAT/TBW/MUS Chart"},
            {"ChatWeightLeftAxis", "Weight axis"},
            {"ChatBMILeftAxis", "FAT/TBW/MUS"},
            {"ChatSeriesWeight", "Weight"},
            {"ChatSeriesBone", "Bone"},
            {"ChatSeriesFat", "FAT"},
            {"ChatSeriesTBW", "TBW"},
            {"ChatSeriesMus", "Mus"},
            {"BoneUnitKG", "Bone  Unit:KG"},
            {"BoneUnitLB", "Bone  Unit:LB"},
            {"ChatTrendWeight", "Weight trend"},
            {"ChatTrendFat", "FAT trend"},
            {"ChatGoal", "Goal"},
            {"StatFirst", "First"},
            {"StatLast", "Last"},
            {"StatChange", "Change"},
            {"StatLowest", "Lowest"},
            {"StatHighest", "Highest"},
            {"StatMean", "Mean"},
            {"StatTrendWeek", "Trend per week"},
            {"StatPeriod", "Period"},
            {"StatDays", "Days"},
            {"WeightKG", "Weight (kg)"},
            {"WeightLB", "Weight (lb)"},
            {"FAT", "FAT"},
            {"TBW", "TBW"},
            {"MUS", "MUS"},
            {"BONE", "BONE"},
            {"KG", "KG"},
            {"LB", "LB"},
            {"Notify", "Notify"},
            {"FileExistsSureOverwrite", "%s exists"},
            {"PdfFile", "PDF file"},
        };
        for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
            texts[it.key()] = it.value();
        ASSERT_FALSE(UseTestLanguage(folder_.path(), texts).isEmpty());
    }

    // PDF printers writing into the test folder's "print" subfolder (created here).
    TPdfPrinters* UsePrinters(QVector<TPdfPrinters::Entry> printers, const QString& subfolder = "print",
                              bool createFolder = true) {
        const QString folder = folder_.filePath(subfolder);
        if (createFolder)
            QDir().mkpath(folder);
        auto backend = std::make_unique<TPdfPrinters>(std::move(printers), folder, 150);
        TPdfPrinters* result = backend.get();
        std::unique_ptr<TPrinterBackend> previous = Printer().SetBackend(std::move(backend));
        if (!previousPrinters_)
            previousPrinters_ = std::move(previous);
        return result;
    }

    void Add(const QDate& day, double weight, double fat = 20.5, double tbw = 55.0, double mus = 40.2,
             double bone = 3.1, int user = 1) {
        store_->ExecuteSql(SqlInsertMeasurement(user, day, weight, fat, tbw, mus, bone));
    }

    TfrmChat* Open() {
        ShowChartView(area_.get());
        QCoreApplication::processEvents();
        return ChartView();
    }

    static QList<QPointF> Points(QLineSeries* series) { return series->points(); }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
    std::unique_ptr<QMdiArea> area_;
    MessageBoxRecorder boxes_;
    std::function<QDateTime()> previousClock_;
    std::unique_ptr<TPrinterBackend> previousPrinters_;
};
