// SPDX-License-Identifier: MIT
#include "core/ErrorHandler.h"
#include "core/AppError.h"
#include "support/MessageBoxRecorder.h"

#include <QPushButton>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ErrorHandler, FullStopIsAppendedOnlyAfterCharactersSortingAfterIt) {
    const struct {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Could not load SQLite library", "Could not load SQLite library."},
        {"Done.", "Done."},
        {"Password Error!", "Password Error!"},
        {"value (1)", "value (1)"},
        {"count 5", "count 5."},
        {"trailing -", "trailing -"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplicationErrorText(QString::fromUtf8(c.message)), QString::fromUtf8(c.shown))
            << c.message;
}

TEST(ErrorHandler, ShowsTheErrorCaptionedWithTheTitleWithErrorIconAndOk) {
    MessageBoxRecorder boxes;
    ShowApplicationError(AppError(QStringLiteral("Unable to write to /x/my.ini")));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("Unable to write to /x/my.ini."));
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("Body Fat Scale"));
    EXPECT_EQ(boxes.shown()[0].flags, MB_OK | MB_ICONERROR);
}

TEST(ErrorHandler, AnErrorEscapingASlotIsShownAndTheProgramGoesOn) {
    MessageBoxRecorder boxes;
    QPushButton button;
    int after = 0;
    QObject::connect(&button, &QPushButton::clicked, Guarded([] { throw std::runtime_error("disk full"); }));
    QObject::connect(&button, &QPushButton::clicked, [&] { ++after; });
    button.click();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("disk full.")});
    EXPECT_EQ(after, 1);
}
