// SPDX-License-Identifier: MIT
#pragma once

#include "core/AppError.h"
#include "core/DayMean.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "store/ValueFormats.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

inline bool operator==(const TDayMean& a, const TDayMean& b) {
    return a.Day == b.Day && a.Weight == b.Weight && a.Fat == b.Fat && a.Tbw == b.Tbw && a.Mus == b.Mus &&
           a.Bone == b.Bone;
}

inline void PrintTo(const TDayMean& day, std::ostream* out) {
    *out << DateText(day.Day).toStdString() << " " << day.Weight << "/" << day.Fat << "/" << day.Tbw << "/"
         << day.Mus << "/" << day.Bone;
}

inline TDayMean Day(const char* date, double weight, double fat = 0, double tbw = 0, double mus = 0,
                    double bone = 0) {
    return {DateFromText(QString::fromLatin1(date)), weight, fat, tbw, mus, bone};
}

inline QString FixturePath(const char* name) {
    return QStringLiteral(BFS_EXCHANGE_FILES) + QString::fromLatin1(name);
}

// A fresh database in a temporary folder, registered as the program's data module.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
    }
    void TearDown() override { SetDataModule(nullptr); }

    void Store(int userId, const TDayMean& day) {
        store_->ExecuteSql(
            SqlInsertMeasurement(userId, day.Day, day.Weight, day.Fat, day.Tbw, day.Mus, day.Bone));
    }

    // The user's stored days, oldest first.
    std::vector<TDayMean> Stored(int userId, TdmMain* store = nullptr) {
        std::vector<TDayMean> days;
        for (const TDataRow& row :
             (store ? *store : *store_).SelectRows(SqlSelectUserMeasurements(), {userId}))
            days.push_back({row.AsDate(QStringLiteral("THE_DATE")), row.AsFloat(QStringLiteral("WEIGHT")),
                            row.AsFloat(QStringLiteral("FAT")), row.AsFloat(QStringLiteral("TBW")),
                            row.AsFloat(QStringLiteral("MUS")), row.AsFloat(QStringLiteral("BONE"))});
        return days;
    }

    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
};
