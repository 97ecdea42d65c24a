// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QString>
#include <optional>

class TdmMain;

// A user's weight goal, kept in P_GOALS (one row per user, the weight in kilograms whatever the
// user's unit). It stays on this computer: the scale's profile has no place for it. The GOAL
// column of P_USERS is another thing, carried along unchanged for older files.
struct TGoal {
    double WeightKg = 0;
    QDate TargetDate; // invalid when the user set no date
};

// The goal table; "if not exists" so that it is made in files written before it existed.
QString SqlCreateGoalsTable();

// The user's goal; none when the user has none, also in a file that has no goal table yet (a file
// that could not be written to since). Raises the engine's error when the file cannot be read.
std::optional<TGoal> ReadGoal(TdmMain& store, int userId);
// Replaces the user's goal, or removes it when goal is empty; makes the table when it is missing.
// Raises the engine's error when the file cannot be written.
void SaveGoal(TdmMain& store, int userId, const std::optional<TGoal>& goal);
