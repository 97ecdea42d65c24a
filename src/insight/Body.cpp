// SPDX-License-Identifier: MIT
#include "insight/Body.h"

#include <algorithm>
#include <cmath>

std::optional<double> Bmi(double weightKg, int heightCm) {
    if (!(weightKg > 0) || heightCm <= 0)
        return std::nullopt;
    const double metres = heightCm / 100.0;
    return weightKg / (metres * metres);
}

const std::array<TBmiBandInfo, 8>& BmiBands() {
    static const std::array<TBmiBandInfo, 8> bands = {{
        {TBmiBand::SevereThinness, 0, 16, "BmiBandSevereThinness"},
        {TBmiBand::ModerateThinness, 16, 17, "BmiBandModerateThinness"},
        {TBmiBand::MildThinness, 17, 18.5, "BmiBandMildThinness"},
        {TBmiBand::Normal, 18.5, 25, "BmiBandNormal"},
        {TBmiBand::PreObese, 25, 30, "BmiBandPreObese"},
        {TBmiBand::ObeseClass1, 30, 35, "BmiBandObeseClass1"},
        {TBmiBand::ObeseClass2, 35, 40, "BmiBandObeseClass2"},
        {TBmiBand::ObeseClass3, 40, 50, "BmiBandObeseClass3"},
    }};
    return bands;
}

TBmiBand BmiBandOf(double bmi) {
    // Compared in tenths, as whole numbers, so that no binary fraction sits just below an edge.
    // Values outside any sensible range (and NaN) are held to it so the rounding stays defined.
    const double held = std::isnan(bmi) ? 0.0 : std::clamp(bmi, 0.0, 1000.0);
    const long long tenths = std::llround(held * 10);
    const auto& bands = BmiBands();
    TBmiBand band = bands.front().Band;
    for (const TBmiBandInfo& info : bands)
        if (tenths >= std::llround(info.Lower * 10))
            band = info.Band;
    return band;
}

const TBmiBandInfo& BmiBandInfo(TBmiBand band) {
    return BmiBands().at(static_cast<size_t>(band));
}

double FatMassKg(double weightKg, double fatPercent) {
    return weightKg * fatPercent / 100.0;
}

double LeanMassKg(double weightKg, double fatPercent) {
    return weightKg - FatMassKg(weightKg, fatPercent);
}

bool IsFemale(int genderIndex) {
    return genderIndex == 1 || genderIndex == 3;
}

double BmrMifflinStJeor(double weightKg, int heightCm, int ageYears, bool female) {
    return 10.0 * weightKg + 6.25 * heightCm - 5.0 * ageYears + (female ? -161.0 : 5.0);
}

double BmrKatchMcArdle(double leanKg) {
    return 370.0 + 21.6 * leanKg;
}

int AgeInYears(const QDate& birthday, const QDate& day) {
    if (!birthday.isValid() || !day.isValid() || day < birthday)
        return 0;
    int years = day.year() - birthday.year();
    const bool beforeBirthday =
        day.month() < birthday.month() || (day.month() == birthday.month() && day.day() < birthday.day());
    if (beforeBirthday)
        --years;
    return std::max(years, 0);
}
