// SPDX-License-Identifier: MIT
#include "operations/TfrmSyncDate.h"

#include "ui_TfrmSyncDate.h"

#include "core/Clock.h"
#include "core/Contrast.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "operations/ScaleLink.h"
#include "scale/ScaleProtocol.h"

#include <QGuiApplication>
#include <QTimer>

TfrmSyncDate::TfrmSyncDate(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmSyncDate>()), Timer1(new QTimer(this)),
      tmrTimeOut(new QTimer(this)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(360, 145);
    // The clock reads in bold blue; on the dark fields of a dark theme, in a light blue.
    const QColor clockColour =
        ReadableAgainst(QColor(0, 0, 255), QGuiApplication::palette().color(QPalette::Base));
    ui->edtDate->setStyleSheet(QStringLiteral("QLineEdit { color: %1; }").arg(clockColour.name()));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    tmrTimeOut->setObjectName(QStringLiteral("tmrTimeOut"));
    tmrTimeOut->setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    tmrTimeOut->setInterval(TimeoutMs);
    connect(Timer1, &QTimer::timeout, this, Guarded([this] { Timer1Timer(); }));
    connect(tmrTimeOut, &QTimer::timeout, this, Guarded([this] { tmrTimeOutTimer(); }));
    connect(ui->btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));
    connect(ui->btnCancel, &QPushButton::clicked, this, Guarded([this] { btnCancelClick(); }));
    Timer1->start();
    JoinWindowRegistry(this);
}

TfrmSyncDate::~TfrmSyncDate() {
    // A dialog destroyed without being closed must not leave its handler on the scale.
    if (handlerSet_)
        ClearScaleReplyHandler();
}

void TfrmSyncDate::FormCreate() {
    LangMgr().TranslateForm(this);
    Timer1Timer();
    ui->btnOk->setFocus();
}

void TfrmSyncDate::Timer1Timer() {
    ui->edtDate->setText(CurrentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

bool TfrmSyncDate::SendClock() {
    if (!Globals.AttachedScale)
        return false;
    try {
        const ScaleRequest request = SetDateTimeRequest(CurrentDateTime());
        if (SetScaleReplyHandler([this](THidDevice*, std::uint8_t, const std::uint8_t* data,
                                        std::uint16_t size) { Reply(data, size); }))
            handlerSet_ = true;
        return WriteScaleRequest(request);
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmSyncDate::btnOkClick() {
    ui->btnOk->setEnabled(false);
    if (!Globals.AttachedScale) {
        ShowMessageBox(this, GetText("ScaleDisconnect"), GetText("Error"), MB_OK | MB_ICONERROR);
        ui->btnOk->setEnabled(true);
        return;
    }
    if (SendClock()) {
        attempts_ = 0;
        tmrTimeOut->start();
    } else {
        ShowMessageBox(this, GetText("SetDateTimeError"), GetText("Error"), MB_OK | MB_ICONERROR);
        ui->btnOk->setEnabled(true);
    }
}

void TfrmSyncDate::tmrTimeOutTimer() {
    tmrTimeOut->stop();
    ++attempts_;
    if (attempts_ >= Attempts) {
        ShowMessageBox(this, GetText("ResponseTimeout"), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
        ui->btnOk->setEnabled(true);
    } else if (SendClock()) {
        tmrTimeOut->start();
    } else {
        ShowMessageBox(this, GetText("SetDateTimeError"), GetText("Error"), MB_OK | MB_ICONERROR);
        ui->btnOk->setEnabled(true);
    }
}

void TfrmSyncDate::Reply(const std::uint8_t* data, std::uint16_t size) {
    tmrTimeOut->stop();
    ui->btnOk->setEnabled(true);
    switch (JudgeSetDateTimeReply(data, size)) {
    case ReplyVerdict::Accepted:
        PostWindowMessage(this, WM_SYNC_RESULT, 1);
        break;
    case ReplyVerdict::Rejected:
        PostWindowMessage(this, WM_SYNC_RESULT, 2);
        break;
    case ReplyVerdict::WrongLength:
        PostWindowMessage(this, WM_SYNC_RESULT, 3);
        break;
    }
}

bool TfrmSyncDate::event(QEvent* event) {
    if (static_cast<int>(event->type()) != WM_SYNC_RESULT)
        return QDialog::event(event);
    SyncResult(static_cast<int>(static_cast<const TWindowMessage*>(event)->WParam));
    return true;
}

void TfrmSyncDate::SyncResult(int outcome) {
    const char* key = outcome == 1 ? "DateTimeChanged" : outcome == 2 ? "SetDateTimeError" : "ResponseError";
    ShowMessageBox(this, GetText(key), GetText("Notify"), MB_OK | MB_ICONINFORMATION);
    if (outcome == 1)
        accept();
}

void TfrmSyncDate::btnCancelClick() {
    reject();
}

void TfrmSyncDate::done(int result) {
    Timer1->stop();
    tmrTimeOut->stop();
    ClearScaleReplyHandler();
    handlerSet_ = false;
    QDialog::done(result);
}

void RunSyncDateDialog(QWidget* owner) {
    TfrmSyncDate dialog(owner);
    RunGuarded([&] { dialog.FormCreate(); });
    dialog.exec();
}
