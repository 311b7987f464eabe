// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

// Scores stop at the largest int instead of wrapping to a negative number.
inline int saturatingAdd(int a, int b)
{
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    return static_cast<int>(std::clamp<std::int64_t>(sum, INT_MIN, INT_MAX));
}

inline int saturatingMultiply(int a, int b)
{
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    return static_cast<int>(std::clamp<std::int64_t>(product, INT_MIN, INT_MAX));
}
