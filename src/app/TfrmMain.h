// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <memory>

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
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    void FormCreate();
    void CheckCurrentLanguage();

    QMdiArea* ClientArea() const;
    QLabel* lblInfo1() const { return lblInfo1_; }
    QLabel* lblInfo2() const { return lblInfo2_; }
    QMenu* LanguagesMenu() const;
    QMenu* SkinsMenu() const;

    // The device link reports the scale's arrival and removal through these.
    void ShowScaleConnected();
    void ShowScaleDisconnected();

protected:
    bool event(QEvent* event) override;

private:
    void FormDestroy();
    void LanguageItemClick(QAction* item);
    void SkinItemClick(QAction* item);
    void ComposeLoginLine();

    void btnPasswdClick();
    void btnUserInfoClick();
    void btnSyncDateClick();
    void btnDataImportClick();
    void btnMyDataClick();
    void btnChatClick();
    void btnAboutClick();
    void mnuExitClick();

    std::unique_ptr<Ui::TfrmMain> ui;
    QLabel* lblInfo1_;
    QLabel* lblInfo2_;
    QLabel* Image1_;
    QActionGroup* languageItems_;
    QActionGroup* skinItems_;
};
