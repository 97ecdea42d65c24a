// SPDX-License-Identifier: MIT
// A user's goal in P_GOALS: saved, replaced, removed, and read from files older than the table.
#include "StoreFixture.h"

#include "store/Goals.h"

#include <QFile>

TEST_F(StoreTest, AGoalIsSavedReplacedAndRemovedPerUser) {
    TdmMain& store = Store();
    EXPECT_FALSE(ReadGoal(store, 1).has_value());

    SaveGoal(store, 1, TGoal{68.0388, QDate(2027, 3, 1)});
    SaveGoal(store, 2, TGoal{80.5, QDate()});
    std::optional<TGoal> first = ReadGoal(store, 1);
    ASSERT_TRUE(first.has_value());
    EXPECT_DOUBLE_EQ(first->WeightKg, 68.0388) << "kept unrounded, as typed in pounds";
    EXPECT_EQ(first->TargetDate, QDate(2027, 3, 1));
    const std::optional<TGoal> second = ReadGoal(store, 2);
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(second->TargetDate.isValid()) << "no target date";

    SaveGoal(store, 1, TGoal{66, QDate()});
    first = ReadGoal(store, 1);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->WeightKg, 66);
    EXPECT_FALSE(first->TargetDate.isValid());
    EXPECT_EQ(Count(QStringLiteral("select count(*) as N from P_GOALS where USER_ID = 1")), 1);

    SaveGoal(store, 1, std::nullopt);
    EXPECT_FALSE(ReadGoal(store, 1).has_value());
    EXPECT_TRUE(ReadGoal(store, 2).has_value()) << "only that user's goal goes";

    RawConnection raw(DbPath());
    EXPECT_EQ(raw.Text("select typeof(GOAL_WEIGHT) || typeof(TARGET_DATE) from P_GOALS where USER_ID = 2"),
              QStringLiteral("realnull"));
}

TEST_F(StoreTest, AGoalLeavesTheGoalColumnOfTheUserAsItWas) {
    TdmMain& store = Store();
    const QByteArray bytes("\x01\x02'\x00", 4);
    {
        RawConnection raw(DbPath());
        raw.SetUserBlob(1, "GOAL", bytes);
    }
    SaveGoal(store, 1, TGoal{70, QDate()});
    RawConnection raw(DbPath());
    EXPECT_EQ(raw.Column("select GOAL from P_USERS where USER_ID = 1"), bytes);
}

// A file written before the goal table existed: no goal to read, and the first save makes the table.
TEST_F(StoreTest, AFileWithoutTheGoalTableHasNoGoalsUntilOneIsSaved) {
    Store();
    module_.reset();
    {
        RawConnection raw(DbPath());
        raw.Exec("drop table if exists P_GOALS");
    }
    TdmMain& store = Store();
    store.ExecuteSql(QStringLiteral("drop table if exists P_GOALS")); // whatever opening added
    EXPECT_FALSE(ReadGoal(store, 1).has_value());
    SaveGoal(store, 1, TGoal{70, QDate(2027, 1, 31)});
    ASSERT_TRUE(ReadGoal(store, 1).has_value());
    EXPECT_EQ(ReadGoal(store, 1)->TargetDate, QDate(2027, 1, 31));
}

TEST_F(StoreTest, AReadOnlyFileWithoutTheGoalTableReadsNoGoalAndRefusesToSaveOne) {
    Store().ExecuteSql(QStringLiteral("drop table if exists P_GOALS"));
    module_.reset();
    ASSERT_TRUE(QFile::setPermissions(DbPath(), QFile::ReadOwner | QFile::ReadUser));
    if (QFile(DbPath()).open(QIODevice::ReadWrite))
        GTEST_SKIP() << "running with rights that ignore file permissions";

    TdmMain& store = Store();
    EXPECT_FALSE(ReadGoal(store, 1).has_value());
    EXPECT_EQ(ErrorOf([&] {
                  SaveGoal(store, 1, TGoal{70, QDate()});
              }),
              QStringLiteral("attempt to write a readonly database"));
}

// Stored values a person cannot have meant as a goal are no goal.
TEST_F(StoreTest, AStoredGoalWeightThatIsNoWeightReadsAsNoGoal) {
    TdmMain& store = Store();
    SaveGoal(store, 1, TGoal{70, QDate()});
    for (const char* weight : {"NULL", "0", "-5", "'heavy'"}) {
        store.ExecuteSql(QStringLiteral("update P_GOALS set GOAL_WEIGHT = %1 where USER_ID = 1")
                             .arg(QString::fromLatin1(weight)));
        EXPECT_FALSE(ReadGoal(store, 1).has_value()) << weight;
    }
}
