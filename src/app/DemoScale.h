// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

class HidBackend;

// A virtual back end with one scale plugged in whose slots 1 to 3 hold about 90 days of plausible
// measurements, one or two a day, ending today.
std::unique_ptr<HidBackend> CreateDemoBackend();
