// SPDX-License-Identifier: GPL-3.0-or-later
#include "practice/question_draw.h"

#include "platform/clock.h"

#include <algorithm>
#include <cmath>

namespace {

// Nearest integer, halves to the even neighbour (2.5 gives 2, 3.5 gives 4).
long long roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    auto rounded = static_cast<long long>(below);
    if (fraction > 0.5 || (fraction == 0.5 && rounded % 2 != 0))
        ++rounded;
    return rounded;
}

} // namespace

std::vector<int> drawQuestionOrder(int pairCount, platform::RandomSource &random)
{
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(std::max(pairCount, 0)));
    do {
        // pairCount × r + 1 is exact in double precision, so a half is a true half.
        const float r = random.nextUniform();
        const long long drawn = roundHalfToEven(static_cast<double>(pairCount) * static_cast<double>(r) + 1.0);
        if (drawn > pairCount || std::find(order.begin(), order.end(), drawn) != order.end())
            continue;
        order.push_back(static_cast<int>(drawn));
    } while (static_cast<int>(order.size()) < pairCount);
    return order;
}

std::vector<int> drawQuestionDirections(int pairCount, platform::RandomSource &random)
{
    std::vector<int> directions;
    for (int position = 1; position <= pairCount; ++position)
        directions.push_back(static_cast<int>(roundHalfToEven(random.nextUniform())));
    return directions;
}
