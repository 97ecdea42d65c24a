// SPDX-License-Identifier: MIT
#include "ExchangeFixture.h"

#include "exchange/MeasurementImport.h"

namespace {

using MeasurementImport = StoreTest;

TEST_F(MeasurementImport, PreviewCountsNewAndReplacedDaysOfTheUserOnly) {
    Store(1, Day("2026-03-01", 70));
    Store(2, Day("2026-03-02", 80)); // another user's day is no day of user 1
    const std::vector<TDayMean> days = {Day("2026-03-01", 71), Day("2026-03-02", 72), Day("2026-03-03", 73)};
    const TImportPreview preview = PreviewImport(*store_, 1, days);
    EXPECT_EQ(preview.NewDays, 2);
    EXPECT_EQ(preview.ReplacedDays, 1);
    EXPECT_EQ(Stored(1).size(), 1u) << "a preview writes nothing";
}

TEST_F(MeasurementImport, SaveReplacesEachDayAndKeepsTheOthers) {
    Store(1, Day("2026-02-28", 69, 1, 2, 3, 4));
    Store(1, Day("2026-03-01", 70));
    Store(1, Day("2026-03-01", 70.5)); // an older writer left two rows of one day
    Store(2, Day("2026-03-01", 80));
    SaveImportedDays(*store_, 1, {Day("2026-03-01", 71, 20.1, 55.2, 38.3, 3.4), Day("2026-03-02", 72)});
    EXPECT_EQ(Stored(1),
              (std::vector<TDayMean>{Day("2026-02-28", 69, 1, 2, 3, 4),
                                     Day("2026-03-01", 71, 20.1, 55.2, 38.3, 3.4), Day("2026-03-02", 72)}));
    EXPECT_EQ(Stored(2), std::vector<TDayMean>{Day("2026-03-01", 80)});
}

TEST_F(MeasurementImport, AFailingSaveLeavesTheStoreAsItWas) {
    Store(1, Day("2026-03-01", 70));
    // The engine refuses the second day, as a full disk would refuse a page.
    store_->ExecuteSql(
        QStringLiteral("create trigger refuse before insert on P_DATA when NEW.THE_DATE = "
                       "'2026-03-02' begin select raise(abort, 'database or disk is full'); end"));
    try {
        SaveImportedDays(*store_, 1, {Day("2026-03-01", 71), Day("2026-03-02", 72)});
        ADD_FAILURE() << "the save reported success";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("database or disk is full"));
    }
    EXPECT_EQ(Stored(1), std::vector<TDayMean>{Day("2026-03-01", 70)});
    // And the store is usable afterwards: no transaction was left open.
    store_->ExecuteSql(QStringLiteral("drop trigger refuse"));
    SaveImportedDays(*store_, 1, {Day("2026-03-02", 72)});
    EXPECT_EQ(Stored(1).size(), 2u);
}

TEST_F(MeasurementImport, ADayThatDoesNotReadBackAsWrittenUndoesTheSave) {
    // Something between the program and the file changes what was written.
    store_->ExecuteSql(
        QStringLiteral("create trigger alter_weight after insert on P_DATA begin update P_DATA "
                       "set WEIGHT = WEIGHT + 1 where ID = NEW.ID; end"));
    const QString message = [&] {
        try {
            SaveImportedDays(*store_, 1, {Day("2026-03-01", 71)});
        } catch (const AppError& error) {
            return error.message();
        }
        return QString();
    }();
    EXPECT_TRUE(message.contains(QStringLiteral("2026-03-01"))) << message.toStdString();
    EXPECT_TRUE(Stored(1).empty());
}

} // namespace
