// SPDX-License-Identifier: MIT
#include "users/TfrmLogin.h"
#include "users/PasswordHash.h"
#include "users/UsersFixture.h"

#include "core/ErrorHandler.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <iostream>
#include <sqlite3.h>
#include <unistd.h>

namespace {

class LoginTest : public UsersFixture {
protected:
    void SetUp() override {
        UsersFixture::SetUp();
        dialog = std::make_unique<TfrmLogin>();
        dialog->FormCreate();
    }
    void Login(int index, const QString& password) {
        dialog->findChild<QComboBox*>(QStringLiteral("cbbUser"))->setCurrentIndex(index);
        dialog->findChild<QLineEdit*>(QStringLiteral("edtPasswd"))->setText(password);
        dialog->btnOKClick();
    }
    // A new connection of the data module, for a file whose permissions changed.
    void ReopenStore() {
        dataModule = std::make_unique<TdmMain>(folder.filePath(QStringLiteral("db")), QString());
        dataModule->DataModuleCreate();
        SetDataModule(dataModule.get());
    }
    void TearDown() override {
        sqlite3_close_v2(other);
        UsersFixture::TearDown();
    }
    std::unique_ptr<TfrmLogin> dialog;
    sqlite3* other = nullptr; // another program's connection
};

} // namespace

TEST_F(LoginTest, FreshDatabaseListsTenUsersAndLogsInTheFirstWithoutPassword) {
    auto* users = dialog->findChild<QComboBox*>(QStringLiteral("cbbUser"));
    ASSERT_EQ(users->count(), 10);
    EXPECT_EQ(users->itemText(0), QStringLiteral("USER 1"));
    EXPECT_EQ(users->itemText(9), QStringLiteral("USER 10"));
    EXPECT_EQ(users->currentIndex(), 0);

    Login(0, QString());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Globals.CurrentUserId, 1);
    EXPECT_EQ(Globals.CurrentUserName, QStringLiteral("USER 1"));
    EXPECT_EQ(Globals.CurrentUnit, 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(LoginTest, WrongPasswordIsReportedEveryTimeAndTheDialogStays) {
    StorePassword(3, QStringLiteral("Secret"));
    for (int attempt = 0; attempt < 3; ++attempt)
        Login(2, QStringLiteral("secret"));
    ASSERT_EQ(boxes.shown().size(), 3);
    for (const auto& box : boxes.shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Password Error!"));
        EXPECT_EQ(box.caption, QStringLiteral("Error"));
        EXPECT_EQ(box.flags, MB_OK | MB_ICONINFORMATION);
    }
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Globals.CurrentUserId, 0);
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("edtPasswd"))->text(), QStringLiteral("secret"));
}

TEST_F(LoginTest, PlainPasswordOfAnOlderVersionIsHashedAtTheFirstLogin) {
    const QString password = QStringLiteral("it's mine");
    StorePassword(2, password);
    Login(1, password);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const QString stored = StoredPassword(2);
    EXPECT_TRUE(IsPasswordHash(stored)) << stored.toStdString();
    EXPECT_TRUE(PasswordMatches(stored, password));
    EXPECT_FALSE(PasswordMatches(stored, QStringLiteral("It's mine")));
}

// The hash of a plain-text password cannot be written: the right password logs in all the same,
// the plain text stays, and a later login hashes it once the database takes writes again.
TEST_F(LoginTest, PlainPasswordLogsInWhenItsHashCannotBeWritten) {
    const QString password = QStringLiteral("plain");
    StorePassword(2, password);
    const QString path = folder.filePath(QStringLiteral("db/MainDB.DB"));
    const struct {
        const char* how;
        std::function<void()> block, unblock;
    } cases[] = {
        {"locked by another program",
         [&] {
             ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &other), SQLITE_OK);
             ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
         },
         [&] {
             sqlite3_close_v2(other);
             other = nullptr;
         }},
        {"read-only file",
         [&] {
             QFile::setPermissions(path, QFile::ReadOwner);
             ReopenStore();
         },
         [&] {
             QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
             ReopenStore();
         }},
    };
    for (const auto& c : cases) {
        if (std::string(c.how) == "read-only file" && geteuid() == 0) {
            std::cout << "permissions do not bind the superuser: read-only case left out\n";
            continue;
        }
        c.block();
        Globals = TGlobals{};
        Login(1, password);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.how;
        EXPECT_EQ(Globals.CurrentUserId, 2) << c.how;
        EXPECT_TRUE(boxes.shown().isEmpty()) << c.how;
        c.unblock();
        EXPECT_EQ(StoredPassword(2), password) << c.how;

        dialog->setResult(QDialog::Rejected);
        Login(1, password);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.how;
        EXPECT_TRUE(IsPasswordHash(StoredPassword(2))) << c.how;
        StorePassword(2, password);
    }
}

TEST_F(LoginTest, HashedPasswordLogsInOnlyWithTheExactText) {
    StorePassword(1, HashPassword(QStringLiteral("Pa'ss")));
    Login(0, QStringLiteral("pa'ss"));
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    Login(0, QStringLiteral("Pa'ss"));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(LoginTest, UnitSettingIsTakenWhenZeroOrOne) {
    const struct {
        QVariant stored;
        int unit;
    } cases[] = {{QVariant(), 0}, {0, 0}, {1, 1}, {2, 0}, {-1, 0}};
    for (const auto& c : cases) {
        dmMain().ExecuteSql(QStringLiteral("update P_USERS set THE_UNIT = ? where USER_ID = 4"), {c.stored});
        Globals = TGlobals{};
        Login(3, QString());
        EXPECT_EQ(Globals.CurrentUnit, c.unit) << c.stored.toString().toStdString();
    }
}

TEST_F(LoginTest, MissingUserRowIsALoginError) {
    dmMain().ExecuteSql(QStringLiteral("delete from P_USERS where USER_ID = 5"));
    Login(4, QString());
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("User login error!")});
    EXPECT_NE(dialog->result(), QDialog::Accepted);
}

TEST_F(LoginTest, DatabaseErrorIsShownAndTheDialogStaysUsable) {
    dmMain().ExecuteSql(QStringLiteral("drop table P_USERS"));
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("btnOK"));
    ok->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("Body Fat Scale"));
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("no such table")));
    dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST(LoginWithoutDatabase, FailingListIsShownAndTheDialogOpensEmpty) {
    MessageBoxRecorder boxes;
    QTemporaryDir folder;
    QFile blocker(folder.filePath(QStringLiteral("db")));
    blocker.open(QIODevice::WriteOnly); // a file where the database folder should be
    TdmMain broken(folder.filePath(QStringLiteral("db")), QString());
    SetDataModule(&broken);
    TfrmLogin dialog;
    RunGuarded([&] { dialog.FormCreate(); });
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("cbbUser"))->count(), 0);
    SetDataModule(nullptr);
}
