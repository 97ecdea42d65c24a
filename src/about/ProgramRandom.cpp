// SPDX-License-Identifier: MIT
#include "about/ProgramRandom.h"

#include <random>

int ProgramRandom(int range) {
    if (range <= 0)
        return 0;
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, range - 1)(generator);
}
