// SPDX-License-Identifier: MIT
#include "app/TfrmMain.h"

#include "ui_TfrmMain.h"

#include "about/TfrmAbout.h"
#include "app/DataSafety.h"
#include "app/QtTranslations.h"
#include "app/Themes.h"
#include "charts/TfrmChat.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/SettingsFile.h"
#include "core/WindowMessage.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"
#include "operations/MyDataLink.h"
#include "operations/TfrmDataImport.h"
#include "operations/TfrmSyncDate.h"
#include "operations/TfrmUserInfo.h"
#include "overview/TfrmOverview.h"
#include "records/TfrmCsvImport.h"
#include "records/TfrmMyData.h"
#include "report/ReportCommand.h"
#include "scale/HidBackend.h"
#include "scale/ScaleSelection.h"
#include "scale/THidDeviceController.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "users/TfrmPasswd.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QMdiArea>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

namespace {

// Posted to the window so that it maximises once the message loop runs.
const QEvent::Type MaximiseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

const QString SettingsSection = QStringLiteral("Common");
const QString SkinKey = QStringLiteral("Skin");

} // namespace

TfrmMain::TfrmMain(std::unique_ptr<HidBackend> backend, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TfrmMain>()) {
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowIcon(QIcon(QStringLiteral(":/icons/body-fat-scale-128.png")));

    Image1_ = new QLabel(ui->MDIHandler1->viewport());
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setPixmap(QPixmap(QStringLiteral(":/icons/mainpicture.png")));
    Image1_->adjustSize();
    Image1_->move(0, 80);
    Image1_->lower();

    lblInfo1_ = new QLabel(QStringLiteral(" "), this);
    lblInfo1_->setObjectName(QStringLiteral("lblInfo1"));
    lblInfo1_->setMinimumWidth(200);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    lblInfo2_ = new QLabel(QStringLiteral(" "), this);
    lblInfo2_->setObjectName(QStringLiteral("lblInfo2"));
    ui->stBar->addWidget(lblInfo1_);
    ui->stBar->addWidget(separator);
    ui->stBar->addWidget(lblInfo2_, 1);

    languageItems_ = new QActionGroup(this);
    languageItems_->setExclusive(true);
    skinItems_ = new QActionGroup(this);
    skinItems_->setExclusive(true);

    const std::pair<QAction*, void (TfrmMain::*)()> commands[] = {
        {ui->mnuChgPwd, &TfrmMain::btnPasswdClick},
        {ui->btnPasswd, &TfrmMain::btnPasswdClick},
        {ui->mnuUserFile, &TfrmMain::btnUserInfoClick},
        {ui->btnUserInfo, &TfrmMain::btnUserInfoClick},
        {ui->mnuDateTimeSet, &TfrmMain::btnSyncDateClick},
        {ui->btnSyncDate, &TfrmMain::btnSyncDateClick},
        {ui->mnuDataImport, &TfrmMain::btnDataImportClick},
        {ui->btnDataImport, &TfrmMain::btnDataImportClick},
        {ui->mnuDailyData, &TfrmMain::btnMyDataClick},
        {ui->btnMyData, &TfrmMain::btnMyDataClick},
        {ui->mnuChart, &TfrmMain::btnChatClick},
        {ui->btnChat, &TfrmMain::btnChatClick},
        {ui->mnuOverview, &TfrmMain::btnOverviewClick},
        {ui->btnOverview, &TfrmMain::btnOverviewClick},
        {ui->mnuAbout, &TfrmMain::btnAboutClick},
        {ui->btnAbout, &TfrmMain::btnAboutClick},
        {ui->mnuExit, &TfrmMain::mnuExitClick},
        {ui->mnuBackup, &TfrmMain::mnuBackupClick},
        {ui->mnuRestore, &TfrmMain::mnuRestoreClick},
        {ui->mnuImportFile, &TfrmMain::mnuImportFileClick},
        {ui->mnuReport, &TfrmMain::mnuReportClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this,
                Guarded([this, handler = handler] { (this->*handler)(); }));
    connect(languageItems_, &QActionGroup::triggered, this,
            [this](QAction* item) { RunGuarded([&] { LanguageItemClick(item); }); });
    connect(skinItems_, &QActionGroup::triggered, this,
            [this](QAction* item) { RunGuarded([&] { SkinItemClick(item); }); });

    // The import asks the open measurement list to read its rows again.
    SetMyDataHandleSource([] { return static_cast<QObject*>(GetMyDataHandle()); });

    HidMgr_ = new THidDeviceController(std::move(backend), this);
    HidMgr_->setObjectName(QStringLiteral("HidMgr"));
    HidMgr_->SetDevThreadSleepTime(50);
    connect(HidMgr_, &THidDeviceController::OnArrival, this,
            [this](THidDevice* device) { RunGuarded([&] { HidMgrArrival(device); }); });
    connect(HidMgr_, &THidDeviceController::OnRemoval, this,
            [this](THidDevice* device) { RunGuarded([&] { HidMgrRemoval(device); }); });

    // Created in the centre of the screen, then maximised once the loop runs.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    JoinWindowRegistry(this);
}

TfrmMain::~TfrmMain() {
    RunGuarded([this] { FormDestroy(); });
}

void TfrmMain::FormCreate() {
    LangMgr().TranslateForm(this);

    TThemes::Select(ReadIniString(Globals.SettingsPath, SettingsSection, SkinKey, TThemes::InitialName));
    for (const QString& name : TThemes::Names()) {
        QAction* item = ui->mnuSkins->addAction(name);
        item->setCheckable(true);
        item->setChecked(name == TThemes::Current());
        skinItems_->addAction(item);
    }

    const QStringList& languages = LangMgr().Languages();
    for (int i = 0; i < languages.size(); ++i) {
        QAction* item = ui->mnuLanguages->addAction(languages[i]);
        item->setCheckable(true);
        item->setData(i);
        languageItems_->addAction(item);
    }
    ui->mnuLanguages->menuAction()->setVisible(languages.size() > 1);
    CheckCurrentLanguage();

    ComposeLoginLine();
    ShowScaleDisconnected();
    QCoreApplication::postEvent(this, new QEvent(MaximiseEvent));
    // Where the user stands, as soon as the window is up.
    QMetaObject::invokeMethod(
        this, [this] { RunGuarded([this] { ShowOverviewAfterLogin(ClientArea()); }); }, Qt::QueuedConnection);
}

void TfrmMain::FormDestroy() {
    WriteIniString(Globals.SettingsPath, SettingsSection, SkinKey, TThemes::Current());
}

bool TfrmMain::event(QEvent* event) {
    if (event->type() == MaximiseEvent) {
        showMaximized();
        return true;
    }
    if (event->type() == LanguageChangedEvent()) {
        // The status bar holds the only texts this window composes itself.
        RunGuarded([this] {
            ComposeLoginLine();
            ComposeScaleLine();
        });
        return true;
    }
    return QMainWindow::event(event);
}

void TfrmMain::CheckCurrentLanguage() {
    const QStringList& languages = LangMgr().Languages();
    const auto found = std::find_if(languages.begin(), languages.end(), [](const QString& name) {
        return name.compare(LangMgr().CurrentLanguage(), Qt::CaseInsensitive) == 0;
    });
    const auto index = found - languages.begin();
    const QList<QAction*> items = languageItems_->actions();
    if (found != languages.end() && items.size() > index)
        items[index]->setChecked(true);
}

void TfrmMain::LanguageItemClick(QAction* item) {
    const int index = item->data().toInt();
    if (index < 0 || index >= LangMgr().Languages().size())
        return;
    LangMgr().SetLanguage(LangMgr().Languages()[index]);
    FollowCurrentLanguageWithQtTexts();
    CheckCurrentLanguage();
}

void TfrmMain::SkinItemClick(QAction* item) {
    TThemes::Select(item->text());
    for (QAction* skin : skinItems_->actions())
        skin->setChecked(skin->text() == TThemes::Current());
}

void TfrmMain::ComposeLoginLine() {
    lblInfo1_->setText(Globals.CurrentUserName + QLatin1Char(' ') + GetText("Logined"));
}

void TfrmMain::HidMgrArrival(THidDevice* device) {
    if (SelectArrivedScale(*HidMgr_, device))
        ShowScaleConnected();
}

void TfrmMain::HidMgrRemoval(THidDevice* device) {
    if (ReleaseRemovedScale(*HidMgr_, device))
        ShowScaleDisconnected();
}

void TfrmMain::ShowScaleConnected() {
    scaleLineKey_ = "ScaleConnected";
    ComposeScaleLine();
}
void TfrmMain::ShowScaleDisconnected() {
    scaleLineKey_ = "ScaleDisconnected";
    ComposeScaleLine();
}
void TfrmMain::ComposeScaleLine() {
    lblInfo2_->setText(GetText(scaleLineKey_));
}

QMdiArea* TfrmMain::ClientArea() const {
    return ui->MDIHandler1;
}
QMenu* TfrmMain::LanguagesMenu() const {
    return ui->mnuLanguages;
}
QMenu* TfrmMain::SkinsMenu() const {
    return ui->mnuSkins;
}

void TfrmMain::btnPasswdClick() {
    RunPasswordDialog(this);
}

void TfrmMain::btnUserInfoClick() {
    // The dialog may have changed the user's name.
    if (RunUserInfoDialog(this)) {
        ComposeLoginLine();
        RefreshOverviewIfOpen(); // unit, height and goal may have changed
    }
}

void TfrmMain::btnSyncDateClick() {
    RunSyncDateDialog(this);
}
void TfrmMain::btnDataImportClick() {
    RunDataImportDialog(this);
    RefreshOverviewIfOpen();
}
void TfrmMain::btnMyDataClick() {
    ShowMyData(ClientArea());
}
void TfrmMain::btnChatClick() {
    ShowChartView(ClientArea());
}
void TfrmMain::btnOverviewClick() {
    ShowOverview(ClientArea());
}
void TfrmMain::btnAboutClick() {
    ShowAbout(this);
}
void TfrmMain::mnuBackupClick() {
    RunBackupCommand(this);
}
void TfrmMain::mnuRestoreClick() {
    if (!RunRestoreCommand(this))
        return;
    // Every open window shows the restored database: the login line and the unit from its user row.
    const TRowSet user = dmMain().SelectRows(SqlSelectUser(Globals.CurrentUserId));
    if (!user.empty()) {
        Globals.CurrentUserName = user.front().AsString(QStringLiteral("USER_NAME"));
        const int unit = user.front().IsNull(QStringLiteral("THE_UNIT"))
                             ? 0
                             : user.front().AsInteger(QStringLiteral("THE_UNIT"));
        Globals.CurrentUnit = unit == 1 ? 1 : 0;
    }
    ComposeLoginLine();
    if (QWidget* myData = GetMyDataHandle())
        PostWindowMessage(myData, WM_REFRESH_MYDATA, 0, 0);
    for (QWidget* window : RegisteredWindows())
        if (auto* chart = qobject_cast<TfrmChat*>(window))
            chart->LoadCharts();
}
void TfrmMain::mnuImportFileClick() {
    RunCsvImport(this);
}
void TfrmMain::mnuReportClick() {
    RunReport(this);
}
void TfrmMain::mnuExitClick() {
    close();
}
