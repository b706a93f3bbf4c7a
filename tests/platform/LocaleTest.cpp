#include "platform/Locale.h"

#include <gtest/gtest.h>

namespace tarvel::platform {
namespace {

class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override { setDecimalSeparator('.'); }
    void TearDown() override { setDecimalSeparator(std::nullopt); }
};

TEST_F(LocaleTest, FormatGeneralShowsPlainNumbersWithoutTrailingZeros) {
    EXPECT_EQ(formatGeneral(1), "1");
    EXPECT_EQ(formatGeneral(0), "0");
    EXPECT_EQ(formatGeneral(30000), "30000");
    EXPECT_EQ(formatGeneral(11384.375), "11384.375");
    EXPECT_EQ(formatGeneral(0.1), "0.1");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3"); // 15 significant digits hide the binary noise
    EXPECT_EQ(formatGeneral(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatGeneral(0.00001), "0.00001");
    EXPECT_EQ(formatGeneral(999999999999999.0), "999999999999999");
    EXPECT_EQ(formatGeneral(-2.5), "-2.5");
    EXPECT_EQ(formatGeneral(-30000), "-30000");
}

TEST_F(LocaleTest, FormatGeneralUsesTheExponentOnlyBeyondFifteenDigitsOrBelowTheFifthDecimal) {
    EXPECT_EQ(formatGeneral(1e20), "1E20");
    EXPECT_EQ(formatGeneral(1e15), "1E15");
    EXPECT_EQ(formatGeneral(1.5e-7), "1.5E-7");
    EXPECT_EQ(formatGeneral(1e-6), "1E-6");
    EXPECT_EQ(formatGeneral(-1.25e20), "-1.25E20");
    EXPECT_EQ(formatGeneral(9.9999999999999999e14), "1E15"); // rounding to 15 digits carries over
}

TEST_F(LocaleTest, FormatGeneralWritesTheLocaleSeparator) {
    setDecimalSeparator(',');
    EXPECT_EQ(decimalSeparator(), ',');
    EXPECT_EQ(formatGeneral(11384.375), "11384,375");
    EXPECT_EQ(formatGeneral(1.5e-7), "1,5E-7");
    EXPECT_EQ(formatGeneral(0.1), "0,1");
    EXPECT_EQ(formatGeneral(30000), "30000");
}

TEST_F(LocaleTest, ParseDecimalAcceptsOnlyTheLocaleSeparator) {
    EXPECT_EQ(parseDecimal("1.5"), 1.5);
    EXPECT_EQ(parseDecimal("1,5"), std::nullopt);
    setDecimalSeparator(',');
    EXPECT_EQ(parseDecimal("1,5"), 1.5);
    EXPECT_EQ(parseDecimal("1.5"), std::nullopt);
    EXPECT_EQ(parseDecimal("-0,25"), -0.25);
}

TEST_F(LocaleTest, ParseDecimalReadsSignsExponentsAndSurroundingBlanks) {
    EXPECT_EQ(parseDecimal("  2.5  "), 2.5);
    EXPECT_EQ(parseDecimal("+3"), 3.0);
    EXPECT_EQ(parseDecimal("-.5"), -0.5);
    EXPECT_EQ(parseDecimal("1e3"), 1000.0);
    EXPECT_EQ(parseDecimal("1.5E-2"), 0.015);
    EXPECT_EQ(parseDecimal("2E+2"), 200.0);
    EXPECT_EQ(parseDecimal("1.00000000001"), 1.00000000001);
}

TEST_F(LocaleTest, ParseDecimalRefusesGarbage) {
    for (const char* text : {"", "   ", "abc", ".", "-", "1.2.3", "1e", "e5", "--1", "1 2", "1e2.5", "0x10",
                             "inf", "nan", "1e400", "12a"})
        EXPECT_EQ(parseDecimal(text), std::nullopt) << '"' << text << '"';
}

TEST_F(LocaleTest, ParseDecimalReadsWhatFormatGeneralWrote) {
    for (double v : {11384.375, 0.1, 1e20, 1.5e-7, -2.5, 123456789.012345}) {
        const auto back = parseDecimal(formatGeneral(v));
        ASSERT_TRUE(back) << v;
        EXPECT_DOUBLE_EQ(*back, v);
    }
}

TEST_F(LocaleTest, ParseIntegerReadsSignedThirtyTwoBitNumbers) {
    EXPECT_EQ(parseInteger("42"), 42);
    EXPECT_EQ(parseInteger("-42"), -42);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("  12"), 12);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
}

TEST_F(LocaleTest, ParseIntegerRefusesOverflowBlanksAndGarbage) {
    for (const char* text : {"", "  ", "-", "+", "2147483648", "-2147483649", "99999999999999999999", "12 ",
                             "1 2", "1.5", "1e3", "- 5", "abc"})
        EXPECT_EQ(parseInteger(text), std::nullopt) << '"' << text << '"';
}

TEST_F(LocaleTest, TimesAndDatesUseTheFixedForms) {
    EXPECT_EQ(formatLongTime({2026, 12, 7, 0, 0, 0, 0}), "0:00:00");
    EXPECT_EQ(formatLongTime({2026, 12, 7, 23, 5, 9, 999}), "23:05:09");
    EXPECT_EQ(formatLongTime({2026, 12, 7, 9, 30, 0, 0}), "9:30:00");
    EXPECT_EQ(formatShortDate({2026, 12, 7, 0, 0, 0, 0}), "07.12.2026");
    EXPECT_EQ(formatShortDate({2027, 1, 31, 0, 0, 0, 0}), "31.01.2027");
}

} // namespace
} // namespace tarvel::platform
