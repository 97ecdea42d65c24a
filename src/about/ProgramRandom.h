// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

// A source of random integers from 0 to range - 1. The water effect draws every random number
// through one of these, so tests can script the draws.
using TRandomSource = std::function<int(int range)>;

// The program's one pseudo-random generator: a random integer from 0 to range - 1 (0 when range <= 0).
int ProgramRandom(int range);
