// SPDX-License-Identifier: MIT
#include "about/Splash.h"
#include "about/TfrmLogo.h"
#include "core/WindowRegistry.h"

#include <QAbstractEventDispatcher>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <ctime>

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

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double ThreadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The wait sleeps until its time is up rather than polling, and the splash is painted again when it
// needs to be during the wait (here: asked to repaint half-way).
TEST(SplashTest, TheWaitSleepsAndKeepsTheSplashPainted) {
    TfrmLogo* splash = GetSplash();
    PaintCounter counter;
    splash->installEventFilter(&counter);
    int wakeUps = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, splash,
                     [&] { ++wakeUps; });
    int paintsBeforeUpdate = -1;
    QTimer::singleShot(250, splash, [&] {
        paintsBeforeUpdate = counter.paints;
        splash->update();
    });

    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = ThreadCpuMilliseconds();
    ShowSplashFor(500);
    const double cpu = ThreadCpuMilliseconds() - cpuBefore;

    EXPECT_GE(wall.elapsed(), 500);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_GE(paintsBeforeUpdate, 1) << "painted when shown";
    EXPECT_GT(counter.paints, paintsBeforeUpdate) << "painted again during the wait";
    EXPECT_LT(wakeUps, 100) << "cpu " << cpu << " ms";
    FreeSplash();
}

} // namespace
