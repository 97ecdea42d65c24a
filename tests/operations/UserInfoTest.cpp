// SPDX-License-Identifier: MIT
#include "OperationsFixture.h"

#include "core/ErrorHandler.h"
#include "core/Units.h"
#include "operations/TfrmUserInfo.h"
#include "scale/ScaleProtocol.h"
#include "store/Statements.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

class UserInfoTest : public OperationsTest {
protected:
    static inline const QDate Today{2024, 3, 31};

    void SetUp() override {
        OperationsTest::SetUp();
        now = QDateTime(Today, QTime(10, 0));
    }

    void StoreProfile(const QString& assignments) {
        store->ExecuteSql(QStringLiteral("update P_USERS set %1 where USER_ID = 1").arg(assignments));
    }
    TDataRow StoredUser() { return store->SelectRows(SqlSelectUser(1)).front(); }

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
    static QString Text(QWidget& dialog, const char* name) { return Child<QLineEdit>(dialog, name)->text(); }
    static QString Unit(QWidget& dialog) { return Child<QLabel>(dialog, "lblUnit")->text(); }
    static void Confirm(QWidget& dialog) { Child<QPushButton>(dialog, "btnOk")->click(); }
    static bool ConfirmEnabled(QWidget& dialog) { return Child<QPushButton>(dialog, "btnOk")->isEnabled(); }
    // A birthday that makes the scale count age years today.
    static QDate BirthdayForAge(int age) { return Today.addDays(-365 * age - 10); }
};

TEST_F(UserInfoTest, OpensWithDefaultsForAnEmptyProfile) {
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    EXPECT_EQ(Text(*dialog, "edtUserID"), QStringLiteral("1"));
    EXPECT_EQ(Text(*dialog, "edtUserName"), QStringLiteral("USER 1"));
    EXPECT_EQ(Child<QComboBox>(*dialog, "cbbSex")->currentIndex(), 0);
    EXPECT_EQ(Child<QComboBox>(*dialog, "cbbSex")->currentText(), QStringLiteral("Male"));
    EXPECT_EQ(Child<QDateEdit>(*dialog, "dtpBirthday")->date(), QDate(1980, 1, 1));
    EXPECT_EQ(Child<QComboBox>(*dialog, "cbbUntSet")->currentIndex(), 0);
    EXPECT_EQ(dialog->HeightCm(), 170);
    EXPECT_EQ(dialog->HeightInches(), 67.0);
    EXPECT_EQ(Text(*dialog, "edtHeight"), QStringLiteral("170"));
    EXPECT_EQ(Unit(*dialog), GetText("UnitCM"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("User Information"));
}

TEST_F(UserInfoTest, ShowsTheStoredProfileInItsUnit) {
    struct Case {
        const char* stored;
        int unitIndex;
        const char* height;
        const char* unitKey;
    };
    const Case cases[] = {
        {"SEX = 3, BIRTHDAY = '1990-05-06', HEIGHT = 170, HEIGHT_EN = 67, THE_UNIT = 1", 1, "5'7.0\"",
         "UnitInch"},
        {"SEX = 3, BIRTHDAY = '1990-05-06', HEIGHT = 181, HEIGHT_EN = 71.5, THE_UNIT = 0", 0, "181",
         "UnitCM"},
        {"SEX = 3, BIRTHDAY = '1990-05-06', HEIGHT = 181, HEIGHT_EN = 71.5, THE_UNIT = 2", 0, "181",
         "UnitCM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        StoreProfile(QLatin1String(c.stored) + QStringLiteral(", BLOOD = 'AB', COMMENT = 'runs'"));
        std::unique_ptr<TfrmUserInfo> dialog = Open();
        EXPECT_EQ(Child<QComboBox>(*dialog, "cbbSex")->currentIndex(), 3);
        EXPECT_EQ(Child<QDateEdit>(*dialog, "dtpBirthday")->date(), QDate(1990, 5, 6));
        EXPECT_EQ(Child<QComboBox>(*dialog, "cbbUntSet")->currentIndex(), c.unitIndex);
        EXPECT_EQ(Text(*dialog, "edtHeight"), QLatin1String(c.height));
        EXPECT_EQ(Unit(*dialog), GetText(c.unitKey));
        EXPECT_EQ(Child<QComboBox>(*dialog, "cbbBlood")->currentText(), QStringLiteral("AB"));
        EXPECT_EQ(Child<QPlainTextEdit>(*dialog, "DBMemo1")->toPlainText(), QStringLiteral("runs"));
    }
}

TEST_F(UserInfoTest, TheSpinButtonStepsInTheChosenUnit) {
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    auto* up = Child<QToolButton>(*dialog, "btnSpinUp");
    auto* down = Child<QToolButton>(*dialog, "btnSpinDown");
    up->click();
    EXPECT_EQ(Text(*dialog, "edtHeight"), QStringLiteral("171"));
    EXPECT_EQ(dialog->HeightInches(), CmToInch(171));
    down->click();
    down->click();
    EXPECT_EQ(dialog->HeightCm(), 169);
    EXPECT_EQ(dialog->HeightInches(), CmToInch(169));

    Child<QComboBox>(*dialog, "cbbUntSet")->setCurrentIndex(1);
    EXPECT_EQ(Text(*dialog, "edtHeight"), InchToFeetText(CmToInch(169)));
    EXPECT_EQ(Unit(*dialog), GetText("UnitInch"));
    EXPECT_EQ(dialog->HeightCm(), 169) << "changing the unit changes no height";
    const double inches = dialog->HeightInches();
    up->click();
    EXPECT_EQ(dialog->HeightInches(), inches + 0.5);
    EXPECT_EQ(dialog->HeightCm(), InchToCm(inches + 0.5));
    EXPECT_EQ(Text(*dialog, "edtHeight"), InchToFeetText(inches + 0.5));

    Child<QComboBox>(*dialog, "cbbUntSet")->setCurrentIndex(0);
    EXPECT_EQ(Text(*dialog, "edtHeight"), QString::number(InchToCm(inches + 0.5)));
}

TEST_F(UserInfoTest, ConfirmChecksTheHeightInCentimetresInEitherUnit) {
    struct Case {
        const char* stored;
        int spins;
        int expectedCm;
        const char* refusal; // nullptr: accepted
    };
    const Case cases[] = {
        {"HEIGHT = 100, HEIGHT_EN = 39.5, THE_UNIT = 1", 0, 100, nullptr},
        {"HEIGHT = 100, HEIGHT_EN = 39.5, THE_UNIT = 1", -1, 99, "HeightInchOutOfRange"},
        {"HEIGHT = 240, HEIGHT_EN = 94.5, THE_UNIT = 1", 0, 240, nullptr},
        {"HEIGHT = 240, HEIGHT_EN = 94.5, THE_UNIT = 1", +1, 241, "HeightInchOutOfRange"},
        {"HEIGHT = 100, HEIGHT_EN = 39.5, THE_UNIT = 0", -1, 99, "HeightCMOutOfRange"},
        {"HEIGHT = 240, HEIGHT_EN = 94.5, THE_UNIT = 0", +1, 241, "HeightCMOutOfRange"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.stored << " spun " << c.spins);
        StoreProfile(QLatin1String(c.stored) + QStringLiteral(", BIRTHDAY = '1990-01-01'"));
        boxes.clear();
        std::unique_ptr<TfrmUserInfo> dialog = Open();
        for (int i = 0; i < std::abs(c.spins); ++i)
            Child<QToolButton>(*dialog, c.spins > 0 ? "btnSpinUp" : "btnSpinDown")->click();
        EXPECT_EQ(dialog->HeightCm(), c.expectedCm);
        Confirm(*dialog);
        if (c.refusal) {
            ExpectBox(c.refusal, "Error", MB_OK | MB_ICONINFORMATION);
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(ConfirmEnabled(*dialog));
            EXPECT_NE(StoredUser().AsInteger(QStringLiteral("HEIGHT")), c.expectedCm) << "nothing saved";
        } else {
            EXPECT_TRUE(boxes.shown().isEmpty());
            EXPECT_EQ(dialog->result(), QDialog::Accepted);
            EXPECT_EQ(StoredUser().AsInteger(QStringLiteral("HEIGHT")), c.expectedCm);
        }
    }
}

TEST_F(UserInfoTest, ConfirmChecksNameAndAgeFirst) {
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QLineEdit>(*dialog, "edtUserName")->setText(QStringLiteral("   "));
    Confirm(*dialog);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(Text(*dialog, "edtUserName"), QString()) << "blanks are removed";
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(*dialog, "edtUserName"));
    EXPECT_TRUE(ConfirmEnabled(*dialog));

    Child<QLineEdit>(*dialog, "edtUserName")->setText(QStringLiteral("  Bea  "));
    for (const QDate& birthday : {BirthdayForAge(9), Today.addDays(-365 * 81), Today.addDays(3)}) {
        SCOPED_TRACE(birthday.toString(Qt::ISODate).toStdString());
        boxes.clear();
        Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(birthday);
        Confirm(*dialog);
        ExpectBox("AgeOutOfRange", "Error", MB_OK | MB_ICONINFORMATION);
        EXPECT_EQ(Text(*dialog, "edtUserName"), QStringLiteral("Bea"));
        EXPECT_TRUE(ConfirmEnabled(*dialog));
    }
    EXPECT_TRUE(StoredUser().IsNull(QStringLiteral("SEX"))) << "nothing saved";
    EXPECT_EQ(StoredUser().AsString(QStringLiteral("USER_NAME")), QStringLiteral("USER 1"));

    // 365-day years: 40 calendar years less a few days already count as 40.
    boxes.clear();
    Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(Today.addYears(-40).addDays(5));
    Confirm(*dialog);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(UserInfoTest, SavesTheProfileAndPushesItToTheScale) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QLineEdit>(*dialog, "edtUserName")->setText(QStringLiteral(" Zoë "));
    Child<QComboBox>(*dialog, "cbbSex")->setCurrentIndex(1);
    Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(BirthdayForAge(30));
    Child<QComboBox>(*dialog, "cbbBlood")->setCurrentText(QStringLiteral("O"));
    Child<QPlainTextEdit>(*dialog, "DBMemo1")->setPlainText(QStringLiteral("line 1\nline 2"));
    Confirm(*dialog);
    ExpectBox("SynchronizeDataToProduct", "Notify", MB_OKCANCEL | MB_ICONINFORMATION);
    EXPECT_EQ(Requests(), std::vector<Bytes>{HexBytes("00 FF 01 05 AA 86 1E 2E 88")});
    EXPECT_FALSE(ConfirmEnabled(*dialog)) << "while waiting";
    ASSERT_TRUE(WaitUntil([&] { return !dialog->isVisible(); }));
    ExpectBox("SaveSuccess", "Notify", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    const TDataRow user = StoredUser();
    EXPECT_EQ(user.AsString(QStringLiteral("USER_NAME")), QStringLiteral("Zoë"));
    EXPECT_EQ(user.AsInteger(QStringLiteral("SEX")), 1);
    EXPECT_EQ(user.AsDate(QStringLiteral("BIRTHDAY")), BirthdayForAge(30));
    EXPECT_EQ(user.AsInteger(QStringLiteral("HEIGHT")), 170);
    EXPECT_EQ(user.AsFloat(QStringLiteral("HEIGHT_EN")), 67.0);
    EXPECT_EQ(user.AsInteger(QStringLiteral("THE_UNIT")), 0);
    EXPECT_EQ(user.AsString(QStringLiteral("BLOOD")), QStringLiteral("O"));
    EXPECT_EQ(user.AsString(QStringLiteral("COMMENT")), QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(Globals.CurrentUserName, QStringLiteral("Zoë"));
    EXPECT_EQ(Globals.CurrentUnit, 0);
    ASSERT_TRUE(scale.profile(1).has_value());
    EXPECT_EQ(scale.profile(1)->Gender, 1);
    EXPECT_EQ(scale.profile(1)->HeightHalfInches, 134);
    EXPECT_EQ(scale.profile(1)->Age, 30);
}

TEST_F(UserInfoTest, EveryAttemptOfThePushSendsTheSavedProfile) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QComboBox>(*dialog, "cbbSex")->setCurrentIndex(1);
    Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(BirthdayForAge(30));
    const ScaleRequest saved = SetUserInfoRequest(1, 1, 170, 67.0, 30);
    Filter().DropNext(saved); // the first attempt gets no answer
    Confirm(*dialog);

    // Edits made while the push waits are not saved, so the retry must not send them either.
    Child<QComboBox>(*dialog, "cbbSex")->setCurrentIndex(2);
    Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(BirthdayForAge(50));
    Child<QToolButton>(*dialog, "btnSpinUp")->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialog->isVisible(); }, 3000));
    ExpectBox("SaveSuccess", "Notify", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(Requests(), (std::vector<Bytes>{RequestBytes(saved), RequestBytes(saved)}));
    ASSERT_TRUE(scale.profile(1).has_value());
    EXPECT_EQ(scale.profile(1)->Gender, 1);
    EXPECT_EQ(scale.profile(1)->HeightCm, 170);
    EXPECT_EQ(scale.profile(1)->Age, 30);
    EXPECT_EQ(StoredUser().AsInteger(QStringLiteral("SEX")), 1);
}

TEST_F(UserInfoTest, CancelToThePushStillEndsWithOk) {
    PlugScale();
    boxes.setNextAnswer(IDCANCEL);
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QComboBox>(*dialog, "cbbUntSet")->setCurrentIndex(1);
    Confirm(*dialog);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(Requests().empty());
    EXPECT_EQ(Globals.CurrentUnit, 1);
    EXPECT_EQ(StoredUser().AsInteger(QStringLiteral("THE_UNIT")), 1);
}

TEST_F(UserInfoTest, AFailedPushKeepsTheProfileSavedAndTheDialogOpen) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QDateEdit>(*dialog, "dtpBirthday")->setDate(BirthdayForAge(30));
    const std::vector<std::tuple<const char*, std::function<void()>, const char*>> cases = {
        {"8 bytes, damaged", [&] { scale.damageNextChecksums(1); }, "SaveError"},
        {"7 bytes", [&] { scale.setNextReplyLength(7); }, "ResponseError"},
        {"write fails", [&] { backend->virtualBackend.unplug(scale); }, "SetUserInfoError"},
    };
    for (const auto& [name, inject, key] : cases) {
        SCOPED_TRACE(name);
        boxes.clear();
        inject();
        Confirm(*dialog);
        ASSERT_TRUE(WaitForBox(key));
        ExpectBox(key, "Notify", MB_OK | MB_ICONINFORMATION);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(ConfirmEnabled(*dialog));
        EXPECT_EQ(StoredUser().AsInteger(QStringLiteral("SEX")), 0) << "saved all the same";
    }
}

TEST_F(UserInfoTest, ADatabaseErrorWhileSavingChangesNothingElse) {
    PlugScale();
    store->ExecuteSql(QStringLiteral("create trigger refuse before update on P_USERS "
                                     "begin select raise(abort, 'database is read-only'); end"));
    std::unique_ptr<TfrmUserInfo> dialog = Open();
    Child<QLineEdit>(*dialog, "edtUserName")->setText(QStringLiteral("Bea"));
    Child<QComboBox>(*dialog, "cbbUntSet")->setCurrentIndex(1);
    Confirm(*dialog);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("database is read-only."));
    EXPECT_EQ(boxes.shown()[0].caption, ApplicationTitle);
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(Globals.CurrentUserName, QStringLiteral("Alice"));
    EXPECT_EQ(Globals.CurrentUnit, 0);
    EXPECT_TRUE(Requests().empty());
    EXPECT_FALSE(ConfirmEnabled(*dialog));
}

TEST_F(UserInfoTest, TheOpenRoutineTellsWhetherTheProfileWasSaved) {
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm ? "Confirm" : "Cancel");
        QTimer::singleShot(0, [confirm] {
            auto* dialog = qobject_cast<TfrmUserInfo*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QPushButton*>(QLatin1String(confirm ? "btnOk" : "btnCancel"))->click();
        });
        EXPECT_EQ(RunUserInfoDialog(nullptr), confirm);
    }
}

} // namespace
