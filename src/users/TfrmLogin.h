// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmLogin;
}

// The login: one of the user slots is chosen and its password checked. A successful login fills
// the user fields of Globals.
class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget* parent = nullptr);
    ~TfrmLogin() override;

    void FormCreate();
    void btnOKClick();
    void btnCancelClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmLogin> ui;
};

// Shows the login modally; true when a user logged in.
bool RunLoginDialog();
