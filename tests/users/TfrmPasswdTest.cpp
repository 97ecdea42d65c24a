// SPDX-License-Identifier: MIT
#include "users/TfrmPasswd.h"
#include "lang/LangMgr.h"
#include "users/PasswordHash.h"
#include "users/UsersFixture.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

class PasswdTest : public UsersFixture {
protected:
    void SetUp() override {
        UsersFixture::SetUp();
        Globals.CurrentUserId = 2;
        dialog = std::make_unique<TfrmPasswd>();
        dialog->FormCreate();
    }
    void Submit(const QString& oldPassword, const QString& newPassword, const QString& confirmation) {
        edit("edtOldPassword")->setText(oldPassword);
        edit("edtNewPassword")->setText(newPassword);
        edit("edtConfirmPasswd")->setText(confirmation);
        dialog->btnOkClick();
    }
    QLineEdit* edit(const char* name) { return dialog->findChild<QLineEdit*>(QLatin1String(name)); }
    std::unique_ptr<TfrmPasswd> dialog;
};

} // namespace

TEST_F(PasswdTest, NewPasswordIsStoredHashedAndConfirmed) {
    Submit(QString(), QStringLiteral("new'one"), QStringLiteral("new'one"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, GetText("PasswordChanged"));
    EXPECT_EQ(boxes.shown()[0].caption, GetText("Success"));
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const QString stored = StoredPassword(2);
    EXPECT_TRUE(IsPasswordHash(stored));
    EXPECT_TRUE(PasswordMatches(stored, QStringLiteral("new'one")));
}

TEST_F(PasswdTest, ConfirmationIsCheckedBeforeTheOldPassword) {
    StorePassword(2, HashPassword(QStringLiteral("old")));
    dialog->show();
    Submit(QStringLiteral("wrong"), QStringLiteral("a"), QStringLiteral("A"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, GetText("ConfirmPasswordError"));
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(dialog->focusWidget(), edit("edtNewPassword"));
    EXPECT_EQ(edit("edtConfirmPasswd")->text(), QStringLiteral("A"));

    boxes.clear();
    Submit(QStringLiteral("wrong"), QStringLiteral("a"), QStringLiteral("a"));
    EXPECT_EQ(boxes.texts(), QStringList{GetText("OldPasswordError")});
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(PasswordMatches(StoredPassword(2), QStringLiteral("old")));
}

TEST_F(PasswdTest, EmptyNewPasswordMeansNoPassword) {
    StorePassword(2, QStringLiteral("plain"));
    Submit(QStringLiteral("plain"), QString(), QString());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(StoredPassword(2), QString());
}

TEST_F(PasswdTest, MissingUserRowClosesWithCancelAndNoMessage) {
    dmMain().ExecuteSql(QStringLiteral("delete from P_USERS where USER_ID = 2"));
    Submit(QString(), QStringLiteral("x"), QStringLiteral("x"));
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(PasswdTest, CancelAfterAFailedAttemptLeavesThePasswordAlone) {
    StorePassword(2, QStringLiteral("keep"));
    Submit(QStringLiteral("bad"), QStringLiteral("n"), QStringLiteral("n"));
    dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(StoredPassword(2), QStringLiteral("keep"));
}
