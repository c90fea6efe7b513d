// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace platform {
class RandomSource;
}

// The random draws of a practice run. Both only draw from the source and never reseed it: the
// program's one source is seeded from the clock once, so the directions of a mixed run never
// replay the numbers that drew its order.

// A random order of the grid rows 1..pairCount; element i is the row asked at position i + 1.
// Each draw r gives the row pairCount × r + 1, rounded half to even; a row above pairCount or
// one already placed is drawn again. With no pairs one number is drawn and nothing placed.
std::vector<int> drawQuestionOrder(int pairCount, platform::RandomSource &random);

// Which side each position of a mixed run shows: 1 for the English side (the Hungarian is
// typed), 0 for the Hungarian side; one draw a position, r above 0.5 giving 1.
std::vector<int> drawQuestionDirections(int pairCount, platform::RandomSource &random);
