// SPDX-License-Identifier: MIT
#include "store/Goals.h"

#include "store/TdmMain.h"

#include <cmath>

QString SqlCreateGoalsTable() {
    return QStringLiteral("CREATE TABLE IF NOT EXISTS P_GOALS (USER_ID INTEGER NOT NULL PRIMARY KEY, "
                          "GOAL_WEIGHT DECIMAL, TARGET_DATE DATE)");
}

std::optional<TGoal> ReadGoal(TdmMain& store, int userId) {
    const TRowSet tables = store.SelectRows(
        QStringLiteral("select count(*) as N from sqlite_master where type = 'table' and name = 'P_GOALS'"));
    if (tables.empty() || tables.front().AsInteger(QStringLiteral("N")) == 0)
        return std::nullopt;
    const TRowSet rows = store.SelectRows(
        QStringLiteral("select GOAL_WEIGHT, TARGET_DATE from P_GOALS where USER_ID = ?"), {userId});
    if (rows.empty() || rows.front().IsNull(QStringLiteral("GOAL_WEIGHT")))
        return std::nullopt;
    TGoal goal;
    goal.WeightKg = rows.front().AsFloat(QStringLiteral("GOAL_WEIGHT"));
    // A weight that is no number, or none a person can reach, is no goal at all.
    if (!std::isfinite(goal.WeightKg) || goal.WeightKg <= 0)
        return std::nullopt;
    goal.TargetDate = rows.front().AsDate(QStringLiteral("TARGET_DATE"));
    return goal;
}

void SaveGoal(TdmMain& store, int userId, const std::optional<TGoal>& goal) {
    store.ExecuteSql(SqlCreateGoalsTable());
    if (!goal) {
        store.ExecuteSql(QStringLiteral("delete from P_GOALS where USER_ID = ?"), {userId});
        return;
    }
    store.ExecuteSql(
        QStringLiteral("insert or replace into P_GOALS (USER_ID, GOAL_WEIGHT, TARGET_DATE) values (?, ?, ?)"),
        {userId, goal->WeightKg, goal->TargetDate.isValid() ? QVariant(goal->TargetDate) : QVariant()});
}
