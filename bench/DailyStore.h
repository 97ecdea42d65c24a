// SPDX-License-Identifier: MIT
#pragma once

#include "core/Globals.h"
#include "lang/LangMgr.h"
#include "store/TdmMain.h"

#include <QDate>
#include <QTemporaryDir>
#include <memory>

// The English texts, a settings file, and a database in a temporary folder holding one measurement a
// day for days days up to lastDay for user 1, who has a saved profile (female, born 1980-05-06,
// 168 cm).
class TDailyStore {
public:
    TDailyStore(int days, const QDate& lastDay) {
        LangMgr().LoadLanguageList(QStringLiteral(BFS_LANG_DIR) + QLatin1Char('/'), false);
        LangMgr().SetLanguage(QStringLiteral("English"));
        Globals.SettingsPath = folder_.filePath(QStringLiteral("my.ini"));
        store_ = std::make_unique<TdmMain>(folder_.filePath(QStringLiteral("db")), QString());
        store_->DataModuleCreate();
        store_->ExecuteSql(
            QStringLiteral("insert into P_DATA(USER_ID, THE_DATE, WEIGHT, FAT, TBW, MUS, BONE) "
                           "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1) "
                           "select 1, date('%2', '-' || i || ' days'), 70 + (i % 40) / 10.0, "
                           "20 + (i % 30) / 10.0, 55, 40, 3 from n")
                .arg(days - 1)
                .arg(lastDay.toString(Qt::ISODate)));
        store_->ExecuteSql(
            QStringLiteral("update P_USERS set SEX = 1, BIRTHDAY = '1980-05-06', HEIGHT = 168, "
                           "HEIGHT_EN = 66 where USER_ID = 1"));
    }

    TdmMain& Store() const { return *store_; }
    QString FilePath(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    std::unique_ptr<TdmMain> store_;
};
