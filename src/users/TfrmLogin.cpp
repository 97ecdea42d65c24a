// SPDX-License-Identifier: MIT
#include "users/TfrmLogin.h"

#include "ui_TfrmLogin.h"

#include "core/AppError.h"
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

TfrmLogin::TfrmLogin(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfrmLogin>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui->btnOK, &QPushButton::clicked, this, Guarded([this] { btnOKClick(); }));
    connect(ui->btnCancel, &QPushButton::clicked, this, Guarded([this] { btnCancelClick(); }));
    JoinWindowRegistry(this);
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::FormCreate() {
    LangMgr().TranslateForm(this);
    for (const TDataRow& row : dmMain().SelectRows(SqlSelectAllUsers()))
        ui->cbbUser->addItem(row.AsString(QStringLiteral("USER_NAME")));
    if (ui->cbbUser->count() > 0)
        ui->cbbUser->setCurrentIndex(0);
}

void TfrmLogin::btnOKClick() {
    // The list position decides the slot: the users are numbered 1 to 10 without gaps.
    const int userId = ui->cbbUser->currentIndex() + 1;
    const TRowSet rows = dmMain().SelectRows(SqlSelectUser(userId));
    if (rows.empty()) {
        ShowMessageBox(this, QStringLiteral("User login error!"), QStringLiteral("Error"),
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    const TDataRow& user = rows.front();
    const QString stored = user.AsString(QStringLiteral("PASSWD"));
    const QString typed = ui->edtPasswd->text();
    if (!PasswordMatches(stored, typed)) {
        ShowMessageBox(this, QStringLiteral("Password Error!"), QStringLiteral("Error"),
                       MB_OK | MB_ICONINFORMATION);
        return;
    }
    // A password an older version kept in plain text is protected from now on. The right password
    // logs in even when the database cannot take the hash now (read-only, locked by another
    // program): the plain text stays, and the next login tries again.
    if (!stored.isEmpty() && !IsPasswordHash(stored)) {
        try {
            dmMain().ExecuteSql(SqlUpdatePassword(HashPassword(typed), userId));
        } catch (const AppError&) {
        }
    }

    const int unit = user.IsNull(QStringLiteral("THE_UNIT")) ? 0 : user.AsInteger(QStringLiteral("THE_UNIT"));
    Globals.CurrentUserId = userId;
    Globals.CurrentUserName = ui->cbbUser->currentText();
    Globals.CurrentUnit = (unit == 0 || unit == 1) ? unit : 0;
    accept();
}

void TfrmLogin::btnCancelClick() {
    reject();
}

void TfrmLogin::keyPressEvent(QKeyEvent* event) {
    if (!SwallowEnterAndEscape(event))
        QDialog::keyPressEvent(event);
}

bool RunLoginDialog() {
    TfrmLogin dialog;
    RunGuarded([&] { dialog.FormCreate(); });
    return dialog.exec() == QDialog::Accepted;
}
