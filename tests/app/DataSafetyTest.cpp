// SPDX-License-Identifier: MIT
#include "app/DataSafety.h"
#include "app/TfrmMain.h"
#include "core/Globals.h"
#include "core/OpenFileDialog.h"
#include "core/SaveFileDialog.h"
#include "exchange/DatabaseBackup.h"
#include "records/TMeasurementListModel.h"
#include "records/TfrmMyData.h"
#include "scale/VirtualHidBackend.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "support/MessageBoxRecorder.h"
#include "support/TestLanguage.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DataSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        Globals = TGlobals{};
        Globals.SettingsPath = folder_.filePath(QStringLiteral("my.ini"));
        Globals.CurrentUserId = 1;
        Globals.CurrentUserName = QStringLiteral("USER 1");
        UseTestLanguage(folder_.path(), {{"Logined", "in"},
                                         {"RestoreSure", "Replace?"},
                                         {"RestoreDone", "Restored, kept %s."},
                                         {"RestoreDamaged", "Damaged."},
                                         {"BackupSaved", "Saved %s."},
                                         {"BackupFailed", "Not saved."},
                                         {"AutoBackupFailed", "No automatic backup."}});
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        SetDataModule(store_.get());
    }
    void TearDown() override {
        SetOpenFileHook({});
        SetSaveFileHook({});
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    TfrmMain& Window() {
        if (!window_) {
            window_ = std::make_unique<TfrmMain>(std::make_unique<VirtualHidBackend>());
            window_->FormCreate();
        }
        return *window_;
    }
    void Trigger(const char* item) {
        Window().findChild<QAction*>(QLatin1String(item))->trigger();
        QCoreApplication::processEvents();
    }
    void AnswerOpen(const QString& path) {
        SetOpenFileHook([path](QWidget*, const QString&, const QString&) { return path; });
    }
    void AnswerSave(const QString& path) {
        SetSaveFileHook([path](QWidget*, const QString&, const QString&, const QString&) { return path; });
    }

    QTemporaryDir folder_;
    MessageBoxRecorder boxes_;
    std::unique_ptr<TdmMain> store_;
    std::unique_ptr<TfrmMain> window_;
};

TEST_F(DataSafetyTest, RestoreThroughTheFileMenuReReadsTheOpenWindows) {
    store_->ExecuteSql(SqlInsertMeasurement(1, QDate::currentDate(), 70, 20, 55, 40, 3));
    const QString saved = folder_.filePath(QStringLiteral("saved.DB"));
    AnswerSave(saved);
    Trigger("mnuBackup");
    EXPECT_EQ(boxes_.texts(), QStringList({"Saved " + saved + "."}));

    // After the backup: another measurement, another name and the pound setting.
    store_->ExecuteSql(SqlInsertMeasurement(1, QDate::currentDate().addDays(-1), 71, 20, 55, 40, 3));
    store_->ExecuteSql(
        QStringLiteral("update P_USERS set USER_NAME = 'Anna', THE_UNIT = 1 where USER_ID = 1"));
    Globals.CurrentUserName = QStringLiteral("Anna");
    Globals.CurrentUnit = 1;
    TfrmMyData* list = ShowMyData(Window().ClientArea());
    QCoreApplication::processEvents();
    ASSERT_EQ(list->Model()->rowCount(), 2);

    boxes_.clear();
    AnswerOpen(saved);
    Trigger("mnuRestore");
    ASSERT_EQ(boxes_.texts().size(), 2);
    EXPECT_EQ(boxes_.texts()[0], "Replace?");
    EXPECT_TRUE(boxes_.texts()[1].startsWith("Restored, kept ")) << boxes_.texts()[1].toStdString();
    EXPECT_EQ(list->Model()->rowCount(), 1);
    EXPECT_EQ(Globals.CurrentUserName, "USER 1");
    EXPECT_EQ(Globals.CurrentUnit, 0);
    EXPECT_EQ(Window().lblInfo1()->text(), "USER 1 in");
}

TEST_F(DataSafetyTest, RestoreRefusedOrCancelledChangesNothing) {
    store_->ExecuteSql(SqlInsertMeasurement(1, QDate::currentDate(), 70, 20, 55, 40, 3));
    const QString copy = folder_.filePath(QStringLiteral("copy.DB"));
    BackupDatabase(*store_, copy);
    store_->ExecuteSql(SqlInsertMeasurement(1, QDate::currentDate().addDays(-1), 71, 20, 55, 40, 3));

    const QString notes = folder_.filePath(QStringLiteral("notes.txt"));
    QFile text(notes);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no database, only a few words that fill more than a header would take up");
    text.close();
    AnswerOpen(notes);
    Trigger("mnuRestore");
    boxes_.setNextAnswer(IDCANCEL);
    AnswerOpen(copy);
    Trigger("mnuRestore");
    EXPECT_EQ(boxes_.texts(), QStringList({"Damaged.", "Replace?"}));
    EXPECT_EQ(store_->SelectRows(QStringLiteral("select ID from P_DATA")).size(), 2u);
}

TEST_F(DataSafetyTest, AFailingAutomaticBackupIsReportedAndTouchesNothing) {
    RunAutomaticBackupAtExit(*store_); // nothing changed: nothing written, nothing said
    EXPECT_TRUE(boxes_.texts().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(AutomaticBackupFolder(*store_)));

    store_->ExecuteSql(SqlInsertMeasurement(1, QDate::currentDate(), 70, 20, 55, 40, 3));
    QFile blocker(AutomaticBackupFolder(*store_)); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    RunAutomaticBackupAtExit(*store_);
    ASSERT_EQ(boxes_.texts().size(), 1);
    EXPECT_TRUE(boxes_.texts()[0].startsWith("No automatic backup.\n"));
    EXPECT_EQ(store_->SelectRows(QStringLiteral("select ID from P_DATA")).size(), 1u);

    QFile::remove(AutomaticBackupFolder(*store_));
    RunAutomaticBackupAtExit(*store_);
    EXPECT_EQ(AutomaticBackups(*store_).size(), 1);
}

} // namespace
