// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

class QTimer;

namespace Ui {
class TfrmSyncDate;
}

// Posted to the dialog itself with the scale's answer in wParam: 1 confirmed, 2 an 8-byte reply
// that is not the confirmation, 3 a reply of another length.
constexpr int WM_SYNC_RESULT = 0x8101;

// Shows the computer's clock, ticking, and sets the scale's clock from it.
class TfrmSyncDate : public QDialog {
    Q_OBJECT
public:
    static constexpr int TimeoutMs = 1000;
    static constexpr int Attempts = 3;

    explicit TfrmSyncDate(QWidget* parent = nullptr);
    ~TfrmSyncDate() override;

    void FormCreate();
    void btnOkClick();
    void btnCancelClick();
    void Timer1Timer();
    void tmrTimeOutTimer();

protected:
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    // Reads the clock afresh and writes it to the scale; false when there is no scale or the
    // write failed.
    bool SendClock();
    void Reply(const std::uint8_t* data, std::uint16_t size);
    void SyncResult(int outcome);

    std::unique_ptr<Ui::TfrmSyncDate> ui;
    bool handlerSet_ = false; // until closing clears it
    QTimer* Timer1;
    QTimer* tmrTimeOut;
    int attempts_ = 0; // tmrTimeOut's tag
};

// Opens the clock dialog modally over owner.
void RunSyncDateDialog(QWidget* owner);
