// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <memory>

class HidBackend;
class THidDevice;
class THidDeviceController;
class QActionGroup;
class QLabel;
class QMdiArea;
class QAction;

namespace Ui {
class TfrmMain;
}

// The main window: a multi-document frame whose menus and toolbar give every command, whose status
// bar says who is logged in and whether the scale is connected, and which owns the device link.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // backend: where the device link finds HID devices (the real one, or virtual scales).
    explicit TfrmMain(std::unique_ptr<HidBackend> backend, QWidget* parent = nullptr);
    ~TfrmMain() override;

    void FormCreate();
    void CheckCurrentLanguage();

    QMdiArea* ClientArea() const;
    QLabel* lblInfo1() const { return lblInfo1_; }
    QLabel* lblInfo2() const { return lblInfo2_; }
    QMenu* LanguagesMenu() const;
    QMenu* SkinsMenu() const;

    THidDeviceController* HidMgr() const { return HidMgr_; }
    void HidMgrArrival(THidDevice* device);
    void HidMgrRemoval(THidDevice* device);

protected:
    bool event(QEvent* event) override;

private:
    void FormDestroy();
    void LanguageItemClick(QAction* item);
    void SkinItemClick(QAction* item);
    void ComposeLoginLine();
    void ShowScaleConnected();
    void ShowScaleDisconnected();
    void ComposeScaleLine();

    void btnPasswdClick();
    void btnUserInfoClick();
    void btnSyncDateClick();
    void btnDataImportClick();
    void btnMyDataClick();
    void btnChatClick();
    void btnOverviewClick();
    void btnAboutClick();
    void mnuExitClick();
    void mnuBackupClick();
    void mnuRestoreClick();
    void mnuImportFileClick();
    void mnuReportClick();

    std::unique_ptr<Ui::TfrmMain> ui;
    QLabel* lblInfo1_;
    QLabel* lblInfo2_;
    QLabel* Image1_;
    QActionGroup* languageItems_;
    QActionGroup* skinItems_;
    THidDeviceController* HidMgr_;
    const char* scaleLineKey_ = "ScaleDisconnected"; // what lblInfo2 says about the scale
};
