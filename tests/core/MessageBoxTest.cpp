// SPDX-License-Identifier: MIT
#include "core/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct ShownBox {
    bool shown = false;
    bool onTop = false;
};

// Opens a real box and answers it with OK once it is up, noting how it was shown.
ShownBox ShowAndAnswer() {
    ShownBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.shown = true;
        seen.onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(
        ShowMessageBox(nullptr, QStringLiteral("text"), QStringLiteral("caption"), MB_OK | MB_ICONERROR),
        IDOK);
    return seen;
}

// A box opened while a stay-on-top window (the splash) is shown must come in front of it, or
// nobody could answer it; otherwise boxes are ordinary windows. (That the window manager then
// shows it in front and gives it the keyboard is seen on a real display, not offscreen.)
TEST(MessageBox, StaysOnTopOnlyWhileAStayOnTopWindowIsShown) {
    const ShownBox plain = ShowAndAnswer();
    EXPECT_TRUE(plain.shown);
    EXPECT_FALSE(plain.onTop);

    auto splash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    splash->show();
    const ShownBox overSplash = ShowAndAnswer();
    EXPECT_TRUE(overSplash.shown);
    EXPECT_TRUE(overSplash.onTop);

    splash->hide();
    EXPECT_FALSE(ShowAndAnswer().onTop);
}

} // namespace
