#include "platform/numbers/Rounding.h"

#include <gtest/gtest.h>

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {2.5, 0, 2},      {3.5, 0, 4},     {-2.5, 0, -2},   {-3.5, 0, -4},  {2.4999, 0, 2}, {2.5001, 0, 3},
        {0.0, 0, 0},      {1160.0, 0, 1160}, {30.99, 1, 31.0}, {12.25, 1, 12.2}, {12.35, 1, 12.4},
        {1234.565, 2, 1234.56}, {-0.5, 0, -0.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, numbers::roundTo(c.value, c.decimals)) << c.value << " to " << c.decimals;
}
