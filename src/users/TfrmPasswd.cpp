// SPDX-License-Identifier: MIT
#include "users/TfrmPasswd.h"

#include "ui_TfrmPasswd.h"

#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "users/DialogKeys.h"
#include "users/PasswordHash.h"

#include <QKeyEvent>

TfrmPasswd::TfrmPasswd(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmPasswd>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui->btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));
    connect(ui->btnCancel, &QPushButton::clicked, this, Guarded([this] { btnCancelClick(); }));
    JoinWindowRegistry(this);
}

TfrmPasswd::~TfrmPasswd() = default;

void TfrmPasswd::FormCreate() {
    LangMgr().TranslateForm(this);
}

void TfrmPasswd::btnOkClick() {
    const QString oldPassword = ui->edtOldPassword->text();
    const QString newPassword = ui->edtNewPassword->text();
    if (newPassword != ui->edtConfirmPasswd->text()) {
        ShowMessageBox(this, GetText("ConfirmPasswordError"), GetText("Notify"), MB_OK | MB_ICONERROR);
        ui->edtNewPassword->setFocus();
        return;
    }
    const TRowSet rows = dmMain().SelectRows(SqlSelectUser(Globals.CurrentUserId));
    if (rows.empty()) {
        reject();
        return;
    }
    const TDataRow& user = rows.front();
    if (!PasswordMatches(user.AsString(QStringLiteral("PASSWD")), oldPassword)) {
        ShowMessageBox(this, GetText("OldPasswordError"), GetText("Notify"), MB_OK | MB_ICONERROR);
        return;
    }
    dmMain().ExecuteSql(
        SqlUpdatePassword(HashPassword(newPassword), user.AsInteger(QStringLiteral("USER_ID"))));
    ShowMessageBox(this, GetText("PasswordChanged"), GetText("Success"), MB_OK | MB_ICONINFORMATION);
    accept();
}

void TfrmPasswd::btnCancelClick() {
    reject();
}

void TfrmPasswd::keyPressEvent(QKeyEvent* event) {
    if (!SwallowEnterAndEscape(event))
        QDialog::keyPressEvent(event);
}

void RunPasswordDialog(QWidget* owner) {
    TfrmPasswd dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.exec();
}
