// SPDX-License-Identifier: MIT
#pragma once

#include "core/Globals.h"
#include "store/TdmMain.h"
#include "support/MessageBoxRecorder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A fresh database with the ten default users, message boxes recorded, nobody logged in.
class UsersFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Globals = TGlobals{};
        dataModule = std::make_unique<TdmMain>(folder.filePath(QStringLiteral("db")), QString());
        dataModule->DataModuleCreate();
        SetDataModule(dataModule.get());
    }
    void TearDown() override {
        SetDataModule(nullptr);
        Globals = TGlobals{};
    }

    QString StoredPassword(int userId) {
        return dmMain()
            .SelectRows(QStringLiteral("select PASSWD from P_USERS where USER_ID = ?"), {userId})
            .front()
            .AsString(QStringLiteral("PASSWD"));
    }
    void StorePassword(int userId, const QVariant& password) {
        dmMain().ExecuteSql(QStringLiteral("update P_USERS set PASSWD = ? where USER_ID = ?"),
                            {password, userId});
    }

    QTemporaryDir folder;
    std::unique_ptr<TdmMain> dataModule;
    MessageBoxRecorder boxes;
};
