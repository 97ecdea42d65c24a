// SPDX-License-Identifier: MIT
#include "about/Splash.h"
#include "about/TfrmLogo.h"
#include "core/WindowRegistry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>

#include <gtest/gtest.h>

namespace {

TEST(SplashTest, OneWindowUntilItIsFreed) {
    TfrmLogo* first = GetSplash();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetSplash(), first);
    QPointer<TfrmLogo> watch(first);
    FreeSplash();
    EXPECT_TRUE(watch.isNull());
    FreeSplash(); // nothing left to free
    TfrmLogo* second = GetSplash();
    EXPECT_NE(second, nullptr);
    EXPECT_TRUE(RegisteredWindows().contains(second));
    FreeSplash();
}

TEST(SplashTest, AWindowDestroyedElsewhereIsNotReturnedAgain) {
    delete GetSplash();
    TfrmLogo* fresh = GetSplash();
    EXPECT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isWindow());
    FreeSplash();
}

TEST(SplashTest, ShowsThePictureBorderlessOnTopAndCentred) {
    TfrmLogo* splash = GetSplash();
    splash->show();
    EXPECT_STREQ(splash->metaObject()->className(), "TfrmLogo");
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    const auto* image = splash->findChild<QLabel*>(QStringLiteral("Image1"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixmap().size(), QSize(393, 295));
    EXPECT_EQ(image->geometry(), QRect(1, 1, 393, 295)); // inside a one-pixel frame
    EXPECT_EQ(splash->size(), QSize(395, 297));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((splash->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    FreeSplash();
}

} // namespace
