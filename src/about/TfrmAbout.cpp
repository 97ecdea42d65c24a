// SPDX-License-Identifier: MIT
#include "about/TfrmAbout.h"

#include "ui_TfrmAbout.h"

#include "about/AboutResources.h"
#include "about/TFileInformation.h"
#include "about/TWaterImage.h"
#include "core/Contrast.h"
#include "core/ErrorHandler.h"
#include "core/WindowRegistry.h"
#include "lang/LangMgr.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStyle>

namespace {

constexpr int VersionLeft = 128;
constexpr int LabelGap = 6;

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent, QString programFile)
    : QDialog(parent), ui(std::make_unique<Ui::TfrmAbout>()), programFile_(std::move(programFile)) {
    InitAboutResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(335, 266);
    ui->btnOk->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    // The version in dark red, lighter where a theme's window is dark.
    const QColor versionColour =
        ReadableAgainst(QColor(128, 0, 0), QGuiApplication::palette().color(QPalette::Window));
    ui->lblVer->setStyleSheet(QStringLiteral("color: %1;").arg(versionColour.name()));
    connect(ui->btnOk, &QPushButton::clicked, this, Guarded([this] { btnOkClick(); }));
    JoinWindowRegistry(this);
}

TfrmAbout::~TfrmAbout() = default;

void TfrmAbout::FormCreate() {
    LangMgr().TranslateForm(this);

    QPalette white = ui->Panel1->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->Panel1->setPalette(white);
    ui->Panel1->setAutoFillBackground(true);

    QString version;
    {
        const TFileInformation information(programFile_.isEmpty() ? QCoreApplication::applicationFilePath()
                                                                  : programFile_);
        information.GetFileVersion(version);
    }
    ui->lblVer->setText(version);
    // A longer translated caption pushes the version to the right instead of running into it.
    ui->lblFileVer->adjustSize();
    ui->lblVer->adjustSize();
    ui->lblVer->move(std::max(VersionLeft, ui->lblFileVer->geometry().right() + 1 + LabelGap),
                     ui->lblVer->y());

    waterImage_ = new TWaterImage(ui->Panel1);
    waterImage_->move(0, 0);
    waterImage_->SetAutoSize(true);
    waterImage_->SetPicture(ui->Image1->pixmap().toImage());
    waterImage_->SetRandomBlob(5);
    waterImage_->show();
}

void TfrmAbout::btnOkClick() {
    accept();
}

void ShowAbout(QWidget* owner) {
    TfrmAbout form(owner);
    RunGuarded([&form] { form.FormCreate(); });
    form.exec();
}
