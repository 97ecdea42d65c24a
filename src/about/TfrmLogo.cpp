// SPDX-License-Identifier: MIT
#include "about/TfrmLogo.h"

#include "ui_TfrmLogo.h"

#include "about/AboutResources.h"
#include "core/WindowRegistry.h"

#include <QGuiApplication>
#include <QScreen>

TfrmLogo::TfrmLogo(QWidget* parent) : QFrame(parent), ui(std::make_unique<Ui::TfrmLogo>()) {
    InitAboutResources();
    ui->setupUi(this);
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    JoinWindowRegistry(this);
}

TfrmLogo::~TfrmLogo() = default;
