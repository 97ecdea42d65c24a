// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <array>
#include <optional>

// Values derived from one measurement and the user's profile. Everything is metric (kg, cm);
// the windows convert for display.

// Body mass index, kg / m²; none unless both weight and height are above zero.
std::optional<double> Bmi(double weightKg, int heightCm);

// The WHO bands for adults, from the lowest BMI up.
enum class TBmiBand {
    SevereThinness,   // below 16
    ModerateThinness, // 16 to below 17
    MildThinness,     // 17 to below 18.5
    Normal,           // 18.5 to below 25
    PreObese,         // 25 to below 30
    ObeseClass1,      // 30 to below 35
    ObeseClass2,      // 35 to below 40
    ObeseClass3,      // 40 and above
};

struct TBmiBandInfo {
    TBmiBand Band;
    double Lower;        // the lowest BMI in the band (0 for the first)
    double Upper;        // the lowest BMI of the next band (the last band gives 50, for drawing scales)
    const char* TextKey; // message key of the band's name in the language files
};

// The eight bands in ascending order.
const std::array<TBmiBandInfo, 8>& BmiBands();

// The band of bmi. The BMI is first rounded to one decimal, as it is shown, so that a value
// displayed as "25.0" always falls into the band that starts at 25.
TBmiBand BmiBandOf(double bmi);
const TBmiBandInfo& BmiBandInfo(TBmiBand band);

// Fat mass = weight × FAT / 100; lean mass is the rest of the weight.
double FatMassKg(double weightKg, double fatPercent);
double LeanMassKg(double weightKg, double fatPercent);

// The gender index of a profile (0 male, 1 female, 2 male athlete, 3 female athlete): athletes
// count as their gender. Indexes other than 1 and 3 count as male, as the profile dialog reads them.
bool IsFemale(int genderIndex);

// Basal metabolic rate in kcal a day.
// Mifflin-St Jeor: 10 × kg + 6.25 × cm − 5 × age + 5 for men, − 161 for women.
double BmrMifflinStJeor(double weightKg, int heightCm, int ageYears, bool female);
// Katch-McArdle: 370 + 21.6 × lean kg.
double BmrKatchMcArdle(double leanKg);

// Completed calendar years from birthday to day (a birthday on 29 February counts from 1 March in
// other years); 0 when day lies before birthday or either date is invalid.
int AgeInYears(const QDate& birthday, const QDate& day);
