// SPDX-License-Identifier: MIT
#include "store/DayMeans.h"

namespace {

const QString TheDate = QStringLiteral("THE_DATE");
const QString Weight = QStringLiteral("WEIGHT");
const QString Fat = QStringLiteral("FAT");
const QString Tbw = QStringLiteral("TBW");
const QString Mus = QStringLiteral("MUS");
const QString Bone = QStringLiteral("BONE");

} // namespace

std::vector<TDayMean> DailyMeans(const TRowSet& rows) {
    std::vector<TDayMean> days;
    int count = 0;
    auto finishDay = [&] {
        if (count == 0)
            return;
        TDayMean& day = days.back();
        day.Weight /= count;
        day.Fat /= count;
        day.Tbw /= count;
        day.Mus /= count;
        day.Bone /= count;
        count = 0;
    };

    for (const TDataRow& row : rows) {
        const QDate date = row.AsDate(TheDate);
        if (!date.isValid())
            continue;
        if (count == 0 || days.back().Day != date) {
            finishDay();
            days.push_back(TDayMean{date, 0, 0, 0, 0, 0});
        }
        TDayMean& day = days.back();
        day.Weight += row.AsFloat(Weight);
        day.Fat += row.AsFloat(Fat);
        day.Tbw += row.AsFloat(Tbw);
        day.Mus += row.AsFloat(Mus);
        day.Bone += row.AsFloat(Bone);
        ++count;
    }
    finishDay();
    return days;
}
