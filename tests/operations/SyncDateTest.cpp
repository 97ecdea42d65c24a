// SPDX-License-Identifier: MIT
#include "OperationsFixture.h"

#include "operations/TfrmSyncDate.h"
#include "scale/ScaleProtocol.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

class SyncDateTest : public OperationsTest {
protected:
    void SetUp() override {
        OperationsTest::SetUp();
        now = QDateTime(QDate(2009, 3, 12), QTime(14, 5, 9));
    }

    std::unique_ptr<TfrmSyncDate> Open() {
        auto dialog = std::make_unique<TfrmSyncDate>();
        dialog->FormCreate();
        dialog->show();
        return dialog;
    }
    static QPushButton* Ok(TfrmSyncDate& dialog) {
        return dialog.findChild<QPushButton*>(QStringLiteral("btnOk"));
    }
    static QString Shown(TfrmSyncDate& dialog) {
        return dialog.findChild<QLineEdit*>(QStringLiteral("edtDate"))->text();
    }
};

TEST_F(SyncDateTest, SendsTheComputersClockAndClosesWhenTheScaleConfirms) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    EXPECT_EQ(Shown(*dialog), QStringLiteral("2009-03-12 14:05:09"));
    EXPECT_EQ(dialog->focusWidget(), Ok(*dialog));

    bool okEnabledAtMessage = false;
    const MessageBoxHook recorder = SetMessageBoxHook([&](QWidget*, const QString&, const QString&, int) {
        okEnabledAtMessage = Ok(*dialog)->isEnabled();
        return IDOK;
    });
    Ok(*dialog)->click();
    EXPECT_FALSE(Ok(*dialog)->isEnabled()) << "while waiting";
    EXPECT_TRUE(WaitUntil([&] { return !dialog->isVisible(); }));
    SetMessageBoxHook(recorder);

    EXPECT_EQ(Requests(), std::vector<Bytes>{HexBytes("00 FF EC 93 0E 05 09 98 B9")});
    EXPECT_TRUE(okEnabledAtMessage);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    ASSERT_TRUE(scale.clock().has_value());
    EXPECT_EQ(scale.clock()->Day, 12);
    EXPECT_EQ(scale.clock()->Second, 9);
}

TEST_F(SyncDateTest, TheConfirmationIsAnnounced) {
    PlugScale();
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    Ok(*dialog)->click();
    ASSERT_TRUE(WaitForBox("DateTimeChanged"));
    ExpectBox("DateTimeChanged", "Notify", MB_OK | MB_ICONINFORMATION);
}

TEST_F(SyncDateTest, EachOfTheThreeAttemptsReadsTheClockAfresh) {
    VirtualScale& scale = PlugScale();
    scale.setStalled(true);
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    Ok(*dialog)->click();
    for (int attempt = 2; attempt <= 3; ++attempt) {
        now = now.addSecs(1);
        ASSERT_TRUE(WaitUntil([&] { return Requests().size() == static_cast<std::size_t>(attempt); }, 2000));
    }
    // The display ticks once a second, in step with the attempts: its next tick shows the last time.
    EXPECT_TRUE(WaitUntil([&] { return Shown(*dialog) == QStringLiteral("2009-03-12 14:05:11"); }, 2500))
        << "the display ticks meanwhile; it shows " << Shown(*dialog).toStdString();
    ASSERT_TRUE(WaitForBox("ResponseTimeout", 5000));
    EXPECT_EQ(Requests(),
              (std::vector<Bytes>{RequestBytes(SetDateTimeRequest(QDateTime(now.date(), QTime(14, 5, 9)))),
                                  RequestBytes(SetDateTimeRequest(QDateTime(now.date(), QTime(14, 5, 10)))),
                                  RequestBytes(SetDateTimeRequest(now))}));
    ExpectBox("ResponseTimeout", "Notify", MB_OK | MB_ICONINFORMATION);
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(Ok(*dialog)->isEnabled());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(SyncDateTest, AWrongReplyLeavesTheDialogOpen) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    const std::vector<std::tuple<const char*, std::function<void()>, const char*>> cases = {
        {"8 bytes, damaged", [&] { scale.damageNextChecksums(1); }, "SetDateTimeError"},
        {"7 bytes", [&] { scale.setNextReplyLength(7); }, "ResponseError"},
        {"9 bytes", [&] { scale.setNextReplyLength(9); }, "ResponseError"},
    };
    for (const auto& [name, inject, key] : cases) {
        SCOPED_TRACE(name);
        boxes.clear();
        inject();
        Ok(*dialog)->click();
        ASSERT_TRUE(WaitForBox(key));
        ExpectBox(key, "Notify", MB_OK | MB_ICONINFORMATION);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(Ok(*dialog)->isEnabled());
    }
}

TEST_F(SyncDateTest, WithoutAScaleNothingIsSent) {
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    Ok(*dialog)->click();
    ExpectBox("ScaleDisconnect", "Error", MB_OK | MB_ICONERROR);
    EXPECT_TRUE(Ok(*dialog)->isEnabled());
}

TEST_F(SyncDateTest, AFailedWriteIsReported) {
    VirtualScale& scale = PlugScale();
    std::unique_ptr<TfrmSyncDate> dialog = Open();
    backend->virtualBackend.unplug(scale); // its removal is not noticed yet
    Ok(*dialog)->click();
    ExpectBox("SetDateTimeError", "Error", MB_OK | MB_ICONERROR);
    EXPECT_TRUE(Ok(*dialog)->isEnabled());
}

TEST_F(SyncDateTest, TheOpenRoutineClosesOnCancelAndLetsTheScaleGo) {
    VirtualScale& scale = PlugScale();
    scale.setStalled(true);
    bool sent = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfrmSyncDate*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        Ok(*dialog)->click();
        sent = !Requests().empty();
        dialog->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    RunSyncDateDialog(nullptr);
    EXPECT_TRUE(sent);
    ASSERT_NE(Globals.AttachedScale, nullptr);
    EXPECT_FALSE(Globals.AttachedScale->IsReaderRunning());
}

} // namespace
