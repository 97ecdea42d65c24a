// SPDX-License-Identifier: MIT
// The goal weight and target date of the user information dialog: shown and saved in the user's
// unit, kept in kilograms, saved together with the profile.
#include "OperationsFixture.h"

#include "core/Units.h"
#include "operations/TfrmUserInfo.h"
#include "store/Goals.h"
#include "store/Statements.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

class UserInfoGoalTest : public OperationsTest {
protected:
    static inline const QDate Today{2024, 3, 31};

    void SetUp() override {
        OperationsTest::SetUp();
        now = QDateTime(Today, QTime(10, 0));
    }

    std::unique_ptr<TfrmUserInfo> Open() {
        auto dialog = std::make_unique<TfrmUserInfo>();
        dialog->FormCreate();
        dialog->show();
        return dialog;
    }
    template <typename T> static T* Child(QWidget& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QDoubleSpinBox* GoalBox(QWidget& dialog) { return Child<QDoubleSpinBox>(dialog, "edtGoalWeight"); }
    static void SetUnit(QWidget& dialog, int unit) {
        Child<QComboBox>(dialog, "cbbUntSet")->setCurrentIndex(unit);
    }
    static void TypeGoal(QWidget& dialog, double value) { GoalBox(dialog)->setValue(value); }
    void Confirm(TfrmUserInfo& dialog) {
        Child<QPushButton>(dialog, "btnOk")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
};

TEST_F(UserInfoGoalTest, AGoalTypedInEitherUnitReadsBackAsTyped) {
    struct Case {
        int unit;
        double typed;
        double storedKg;
        const char* otherUnitShows; // the same goal in the other unit
    };
    const Case cases[] = {
        {0, 68.5, 68.5, "151.0"},
        {1, 150.1, LbToKg(150.1), "68.1"},
        {1, 151.0, LbToKg(151.0), "68.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::unique_ptr<TfrmUserInfo> dialog = Open();
        SetUnit(*dialog, c.unit);
        Child<QCheckBox>(*dialog, "chkGoal")->setChecked(true);
        TypeGoal(*dialog, c.typed);
        Confirm(*dialog);

        const std::optional<TGoal> goal = ReadGoal(*store, 1);
        ASSERT_TRUE(goal.has_value());
        EXPECT_NEAR(goal->WeightKg, c.storedKg, 1e-9);
        EXPECT_FALSE(goal->TargetDate.isValid());

        std::unique_ptr<TfrmUserInfo> again = Open();
        EXPECT_TRUE(Child<QCheckBox>(*again, "chkGoal")->isChecked());
        EXPECT_EQ(GoalBox(*again)->text(), QString::number(c.typed, 'f', 1));
        EXPECT_EQ(Child<QLabel>(*again, "lblGoalUnit")->text(), GetText(c.unit == 1 ? "LB" : "KG"));
        SetUnit(*again, 1 - c.unit);
        EXPECT_EQ(GoalBox(*again)->text(), QLatin1String(c.otherUnitShows));
        EXPECT_EQ(Child<QLabel>(*again, "lblGoalUnit")->text(), GetText(c.unit == 1 ? "KG" : "LB"));
        SetUnit(*again, c.unit);
        EXPECT_EQ(GoalBox(*again)->text(), QString::number(c.typed, 'f', 1))
            << "switching back loses nothing";
    }
}

TEST_F(UserInfoGoalTest, TheTargetDateIsOptionalAndUntickingTheGoalRemovesIt) {
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    auto* goal = Child<QCheckBox>(*dialog, "chkGoal");
    auto* target = Child<QCheckBox>(*dialog, "chkTargetDate");
    EXPECT_FALSE(GoalBox(*dialog)->isEnabled());
    EXPECT_FALSE(target->isEnabled());
    goal->setChecked(true);
    EXPECT_TRUE(GoalBox(*dialog)->isEnabled());
    EXPECT_TRUE(target->isEnabled());
    EXPECT_FALSE(Child<QDateEdit>(*dialog, "dtpTargetDate")->isEnabled());
    target->setChecked(true);
    Child<QDateEdit>(*dialog, "dtpTargetDate")->setDate(QDate(2024, 9, 30));
    Confirm(*dialog);
    ASSERT_TRUE(ReadGoal(*store, 1).has_value());
    EXPECT_EQ(ReadGoal(*store, 1)->TargetDate, QDate(2024, 9, 30));

    dialog = Open();
    EXPECT_EQ(Child<QDateEdit>(*dialog, "dtpTargetDate")->date(), QDate(2024, 9, 30));
    Child<QCheckBox>(*dialog, "chkTargetDate")->setChecked(false);
    Confirm(*dialog);
    ASSERT_TRUE(ReadGoal(*store, 1).has_value());
    EXPECT_FALSE(ReadGoal(*store, 1)->TargetDate.isValid());

    dialog = Open();
    Child<QCheckBox>(*dialog, "chkGoal")->setChecked(false);
    Confirm(*dialog);
    EXPECT_FALSE(ReadGoal(*store, 1).has_value());
}

TEST_F(UserInfoGoalTest, ANewGoalStartsAtTheLatestWeight) {
    EXPECT_EQ(GoalBox(*Open())->value(), 70.0) << "nothing measured yet";
    store->ExecuteSql(SqlInsertMeasurement(1, Today.addDays(-3), 82.4, 20, 50, 40, 3));
    store->ExecuteSql(SqlInsertMeasurement(1, Today.addDays(-1), 81.9, 20, 50, 40, 3));
    store->ExecuteSql(SqlInsertMeasurement(2, Today, 55.0, 20, 50, 40, 3));
    EXPECT_EQ(GoalBox(*Open())->value(), 81.9);
}

// Profile and goal are one save: when the goal cannot be written, the profile is not changed either.
TEST_F(UserInfoGoalTest, AGoalThatCannotBeSavedLeavesTheProfileUnsaved) {
    store->ExecuteSql(SqlCreateGoalsTable());
    store->ExecuteSql(QStringLiteral("create trigger refuse before insert on P_GOALS "
                                     "begin select raise(abort, 'disk full'); end"));
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QLineEdit>(*dialog, "edtUserName")->setText(QStringLiteral("Bea"));
    Child<QCheckBox>(*dialog, "chkGoal")->setChecked(true);
    Child<QPushButton>(*dialog, "btnOk")->click();

    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("disk full."));
    EXPECT_EQ(store->SelectRows(SqlSelectUser(1)).front().AsString(QStringLiteral("USER_NAME")),
              QStringLiteral("USER 1"));
    EXPECT_EQ(Globals.CurrentUserName, QStringLiteral("Alice"));
    EXPECT_FALSE(ReadGoal(*store, 1).has_value());
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
