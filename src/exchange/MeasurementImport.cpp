// SPDX-License-Identifier: MIT
#include "exchange/MeasurementImport.h"

#include "core/AppError.h"
#include "store/Statements.h"
#include "store/TdmMain.h"
#include "store/ValueFormats.h"

#include <QVariantList>
#include <algorithm>
#include <stdexcept>

namespace {

// The day texts of days, which come oldest first and one per day.
std::vector<QString> DayTexts(const std::vector<TDayMean>& days) {
    std::vector<QString> texts;
    texts.reserve(days.size());
    for (const TDayMean& day : days)
        texts.push_back(DateText(day.Day));
    if (!std::is_sorted(texts.begin(), texts.end()) ||
        std::adjacent_find(texts.begin(), texts.end()) != texts.end())
        throw std::invalid_argument("days must come oldest first, one per day");
    return texts;
}

// Walks the user's stored rows of the columns selected (THE_DATE first), oldest first, together
// with the sorted day texts: visit(index of the day, row) for each row of one of the days.
template <typename Visit>
void ForStoredRowsOf(TdmMain& store, const QString& statement, int userId, const std::vector<QString>& days,
                     Visit visit) {
    const TRowSet rows = store.SelectRows(statement, {userId});
    size_t next = 0;
    for (const TDataRow& row : rows) {
        const QString stored = row.ValueAt(0).toString();
        while (next < days.size() && days[next] < stored)
            ++next;
        if (next == days.size())
            break;
        if (days[next] == stored)
            visit(next, row);
    }
}

void VerifySaved(TdmMain& store, int userId, const std::vector<TDayMean>& days,
                 const std::vector<QString>& texts) {
    std::vector<int> found(days.size(), 0);
    ForStoredRowsOf(store, SqlSelectUserValues(), userId, texts, [&](size_t i, const TDataRow& row) {
        const TDayMean& day = days[i];
        const double stored[] = {row.ValueAt(1).toDouble(), row.ValueAt(2).toDouble(),
                                 row.ValueAt(3).toDouble(), row.ValueAt(4).toDouble(),
                                 row.ValueAt(5).toDouble()};
        const bool same = stored[0] == day.Weight && stored[1] == day.Fat && stored[2] == day.Tbw &&
                          stored[3] == day.Mus && stored[4] == day.Bone;
        found[i] += same ? 1 : 2; // a second row of the day, or other values, make it more than 1
    });
    for (size_t i = 0; i < days.size(); ++i)
        if (found[i] != 1)
            throw AppError(
                QStringLiteral("The measurement of %1 did not read back as it was written.").arg(texts[i]));
}

} // namespace

TImportPreview PreviewImport(TdmMain& store, int userId, const std::vector<TDayMean>& days) {
    const std::vector<QString> texts = DayTexts(days);
    std::vector<bool> stored(days.size(), false);
    ForStoredRowsOf(store, SqlSelectUserDays(), userId, texts,
                    [&](size_t i, const TDataRow&) { stored[i] = true; });
    TImportPreview preview;
    preview.ReplacedDays = static_cast<int>(std::count(stored.begin(), stored.end(), true));
    preview.NewDays = static_cast<int>(days.size()) - preview.ReplacedDays;
    return preview;
}

void SaveImportedDays(TdmMain& store, int userId, const std::vector<TDayMean>& days) {
    store.InTransaction([&] {
        const std::vector<QString> texts = DayTexts(days);
        std::vector<QVariantList> deletions;
        ForStoredRowsOf(store, SqlSelectUserDays(), userId, texts,
                        [&](size_t, const TDataRow& row) { deletions.push_back({row.ValueAt(1)}); });
        std::vector<QVariantList> insertions;
        insertions.reserve(days.size());
        for (size_t i = 0; i < days.size(); ++i) {
            const TDayMean& day = days[i];
            insertions.push_back({userId, texts[i], day.Weight, day.Fat, day.Tbw, day.Mus, day.Bone});
        }
        store.ExecuteForEach(SqlDeleteRowBound(), deletions);
        store.ExecuteForEach(SqlInsertMeasurementBound(), insertions);
        VerifySaved(store, userId, days, texts);
    });
}
