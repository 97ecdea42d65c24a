// SPDX-License-Identifier: MIT
#include "app/DemoScale.h"

#include "core/Clock.h"
#include "scale/VirtualHidBackend.h"

#include <cmath>
#include <random>

namespace {

// Where a person starts and how each value drifts per day.
struct DemoPerson {
    int Slot;
    double Weight, WeightPerDay;
    double Fat, FatPerDay;
    double Tbw, Mus, Bone;
};

constexpr DemoPerson People[] = {
    {1, 84.6, -0.035, 25.8, -0.030, 53.9, 39.8, 3.3},
    {2, 66.2, -0.015, 30.4, -0.012, 49.6, 34.1, 2.5},
    {3, 74.8, 0.010, 13.9, -0.004, 61.8, 47.6, 3.4},
};
constexpr int DemoDays = 90;

double Tenths(double value) {
    return std::round(value * 10.0) / 10.0;
}

} // namespace

std::unique_ptr<HidBackend> CreateDemoBackend() {
    auto backend = std::make_unique<VirtualHidBackend>();
    VirtualScale& scale = backend->plugIn();
    scale.setReplyDelay(4); // about what the real scale's USB takes

    std::mt19937 random(20091215); // the same believable history on every start
    std::normal_distribution<double> noise(0.0, 1.0);
    std::bernoulli_distribution secondOfDay(0.35);
    std::bernoulli_distribution skippedDay(0.08);
    const QDate today = CurrentDate();
    for (const DemoPerson& person : People) {
        for (int day = DemoDays - 1; day >= 0; --day) {
            if (day > 0 && skippedDay(random))
                continue;
            const int elapsed = DemoDays - 1 - day;
            const int measurements = secondOfDay(random) ? 2 : 1;
            for (int i = 0; i < measurements; ++i) {
                const double fat = person.Fat + person.FatPerDay * elapsed + 0.35 * noise(random);
                MeasurementRecord record;
                record.Date = today.addDays(-day);
                record.Weight = Tenths(person.Weight + person.WeightPerDay * elapsed + 0.45 * noise(random));
                record.Fat = Tenths(fat);
                // Water and muscle move against fat, as they do in a body losing fat.
                record.Tbw = Tenths(person.Tbw - 0.55 * (fat - person.Fat) + 0.25 * noise(random));
                record.Mus = Tenths(person.Mus - 0.35 * (fat - person.Fat) + 0.25 * noise(random));
                record.Bone = Tenths(person.Bone + 0.05 * noise(random));
                scale.addMeasurement(person.Slot, record);
            }
        }
    }
    return backend;
}
