// SPDX-License-Identifier: MIT
#pragma once

#include "core/DayMean.h"

#include <vector>

class TdmMain;

// What saving days would do to a user's stored measurements.
struct TImportPreview {
    int NewDays = 0;      // days the user has no measurement of yet
    int ReplacedDays = 0; // days whose stored measurement the imported one replaces
};

TImportPreview PreviewImport(TdmMain& store, int userId, const std::vector<TDayMean>& days);

// Replaces the user's stored measurement of each day by the imported one, in one transaction, and
// reads every day back before committing. Raises AppError (the engine's text, or the day that did
// not read back as written) after rolling back, so that the store is left as it was.
void SaveImportedDays(TdmMain& store, int userId, const std::vector<TDayMean>& days);
