#include "app/NitCheckDigit.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(NitCheckDigitTest, DigitOfKnownNits) {
    const struct {
        const char* nit;
        int digit;
    } cases[] = {
        {"12345", 8},           // 135 mod 11 = 3, so 11 - 3
        {"0", 0},               // weighted sum 0
        {"", 0},                // nothing to weigh
        {"15", 0},              // 5x3 + 1x7 = 22, a multiple of 11
        {"4", 1},               // 12 mod 11 = 1 stays 1
        {"1", 8},               // 3, so 11 - 3
        {"012345", 8},          // a leading zero weighs nothing
        {"900123456", 8},       // 586 mod 11 = 3
        {"999999999999999", 2}, // all fifteen weights: 9 x 529 = 4761, mod 11 = 9
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.digit, app::NitCheckDigit::compute(QString::fromLatin1(c.nit))) << c.nit;
}

TEST(NitCheckDigitTest, NumericNitGivesTheDigitOfItsText) {
    EXPECT_EQ(8, app::NitCheckDigit::compute(12345.0));
    EXPECT_EQ(8, app::NitCheckDigit::compute(900123456.0));
}

TEST(NitCheckDigitTest, RefusesWhatIsNotANit) {
    for (const char* bad : {"12a45", "12.345", " 12345", "-5", "1234567890123456"})
        EXPECT_THROW(app::NitCheckDigit::compute(QString::fromLatin1(bad)), std::invalid_argument) << bad;
    EXPECT_THROW(app::NitCheckDigit::compute(-1.0), std::invalid_argument);
    EXPECT_THROW(app::NitCheckDigit::compute(12.5), std::invalid_argument);
}

} // namespace
