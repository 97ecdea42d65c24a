// SPDX-License-Identifier: MIT
#include "overview/OverviewFigures.h"

#include "insight/Trend.h"
#include "store/Statements.h"
#include "store/TdmMain.h"

#include <algorithm>

TOverviewProfile ReadOverviewProfile(TdmMain& store, int userId) {
    const TRowSet rows = store.SelectRows(SqlSelectUser(userId));
    return rows.empty() ? TOverviewProfile() : OverviewProfileOf(rows.front());
}

TOverviewProfile OverviewProfileOf(const TDataRow& user) {
    TOverviewProfile profile;
    profile.GenderIndex = user.AsInteger(QStringLiteral("SEX"));
    profile.Birthday = user.AsDate(QStringLiteral("BIRTHDAY"));
    profile.HeightCm = user.AsInteger(QStringLiteral("HEIGHT"));
    profile.Known = !user.IsNull(QStringLiteral("SEX")) && profile.Birthday.isValid() && profile.HeightCm > 0;
    return profile;
}

TOverviewFigures ComputeOverview(const std::vector<TDayMean>& days, const TOverviewProfile& profile,
                                 const std::optional<TGoal>& goal, const QDate& today) {
    TOverviewFigures figures;
    figures.Goal = goal;
    if (days.empty())
        return figures;
    const TDayMean& latest = days.back();
    figures.Latest = latest;

    // The trend runs over every measured day, so that it does not depend on where a window starts.
    const std::vector<TDayPoint> weights = PointsOf(days, TMeasure::Weight);
    const std::vector<TDayPoint> trend = Trend(weights);
    figures.LatestTrend = trend.back().Value;
    for (size_t i = 0; i < ChangeDays.size(); ++i) {
        const std::optional<double> before = TrendOn(trend, latest.Day.addDays(-ChangeDays[i]));
        if (before)
            figures.Change[i] = figures.LatestTrend - *before;
    }

    figures.FatMassKg = FatMassKg(latest.Weight, latest.Fat);
    figures.LeanMassKg = LeanMassKg(latest.Weight, latest.Fat);
    figures.BmrKatchMcArdle = BmrKatchMcArdle(figures.LeanMassKg);
    if (profile.Known) {
        figures.Bmi = Bmi(latest.Weight, profile.HeightCm);
        if (figures.Bmi)
            figures.BmiBand = BmiBandOf(*figures.Bmi);
        if (profile.HeightCm > 0)
            figures.BmrMifflinStJeor =
                BmrMifflinStJeor(latest.Weight, profile.HeightCm, AgeInYears(profile.Birthday, today),
                                 IsFemale(profile.GenderIndex));
    }

    if (goal)
        figures.Projection = ProjectGoal(trend, goal->WeightKg);

    figures.RecentFrom = latest.Day.addDays(-RecentDays);
    const auto recent = [&](const std::vector<TDayPoint>& points) {
        const auto first =
            std::lower_bound(points.begin(), points.end(), figures.RecentFrom,
                             [](const TDayPoint& point, const QDate& day) { return point.Day < day; });
        return std::vector<TDayPoint>(first, points.end());
    };
    figures.RecentWeight = recent(weights);
    figures.RecentTrend = recent(trend);
    return figures;
}
