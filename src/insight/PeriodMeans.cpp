// SPDX-License-Identifier: MIT
#include "insight/PeriodMeans.h"

TPeriodMean PeriodOf(const QDate& day, TPeriod period) {
    TPeriodMean result{day, day, 0, TDayMean{day}};
    switch (period) {
    case TPeriod::Day:
        break;
    case TPeriod::Week:
        result.First = day.addDays(1 - day.dayOfWeek());
        result.Last = result.First.addDays(6);
        result.Mean.Day = result.First.addDays(3);
        break;
    case TPeriod::Month:
        result.First = QDate(day.year(), day.month(), 1);
        result.Last = QDate(day.year(), day.month(), day.daysInMonth());
        result.Mean.Day = result.First.addDays((day.daysInMonth() - 1) / 2);
        break;
    }
    return result;
}

std::vector<TPeriodMean> PeriodMeans(const std::vector<TDayMean>& days, TPeriod period) {
    std::vector<TPeriodMean> periods;
    auto finish = [&periods] {
        if (periods.empty())
            return;
        TDayMean& mean = periods.back().Mean;
        const double count = periods.back().MeasuredDays;
        mean.Weight /= count;
        mean.Fat /= count;
        mean.Tbw /= count;
        mean.Mus /= count;
        mean.Bone /= count;
    };
    for (const TDayMean& day : days) {
        if (periods.empty() || day.Day > periods.back().Last) {
            finish();
            periods.push_back(PeriodOf(day.Day, period));
        }
        TPeriodMean& current = periods.back();
        current.Mean.Weight += day.Weight;
        current.Mean.Fat += day.Fat;
        current.Mean.Tbw += day.Tbw;
        current.Mean.Mus += day.Mus;
        current.Mean.Bone += day.Bone;
        ++current.MeasuredDays;
    }
    finish();
    return periods;
}
