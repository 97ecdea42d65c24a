// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TfrmPasswd;
}

// The logged-in user sets a new login password after confirming the old one.
class TfrmPasswd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPasswd(QWidget* parent = nullptr);
    ~TfrmPasswd() override;

    void FormCreate();
    void btnOkClick();
    void btnCancelClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmPasswd> ui;
};

// Shows the password dialog modally; the caller does not look at the outcome.
void RunPasswordDialog(QWidget* owner);
