#include "text/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Repr, WritesIntegralValuesWithPointZero) {
  EXPECT_EQ(text::repr(3600.0), "3600.0");
  EXPECT_EQ(text::repr(0.0), "0.0");
  EXPECT_EQ(text::repr(-0.0), "-0.0");
  EXPECT_EQ(text::repr(1234567890123456.0), "1234567890123456.0");
}

TEST(Repr, WritesShortestRoundTripDigits) {
  EXPECT_EQ(text::repr(0.1), "0.1");
  EXPECT_EQ(text::repr(12.5), "12.5");
  EXPECT_EQ(text::repr(0.017453292519943295), "0.017453292519943295");
  EXPECT_EQ(text::repr(6.123233995736766e-17), "6.123233995736766e-17");
  EXPECT_EQ(text::repr(-2.5), "-2.5");
}

TEST(Repr, SwitchesToExponentFormWherePythonDoes) {
  EXPECT_EQ(text::repr(0.0001), "0.0001");
  EXPECT_EQ(text::repr(1e-05), "1e-05");
  EXPECT_EQ(text::repr(1.5e-05), "1.5e-05");
  EXPECT_EQ(text::repr(1e16), "1e+16");
  EXPECT_EQ(text::repr(1e100), "1e+100");
  EXPECT_EQ(text::repr(9999999999999998.0), "9999999999999998.0");
}

TEST(Repr, WritesNonFiniteValuesAsPythonDoes) {
  EXPECT_EQ(text::repr(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(text::repr(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(text::repr(std::nan("")), "nan");
}

TEST(Fixed0, RoundsTheExactBinaryValueHalfToEven) {
  EXPECT_EQ(text::fixed0(2.5), "2");
  EXPECT_EQ(text::fixed0(3.5), "4");
  EXPECT_EQ(text::fixed0(0.5), "0");
  EXPECT_EQ(text::fixed0(-0.4), "-0");
  EXPECT_EQ(text::fixed0(299.99), "300");
  EXPECT_EQ(text::fixed0(2.675), "3");
  // 0.5000000000000001 lies above the half: no tie.
  EXPECT_EQ(text::fixed0(0.5000000000000001), "1");
  EXPECT_EQ(text::fixed0(1e20), "100000000000000000000");
}

TEST(ParseFloat, ReadsWhatPythonFloatReads) {
  EXPECT_EQ(text::parseFloat("300"), 300.0);
  EXPECT_EQ(text::parseFloat(" 12.5\t"), 12.5);
  EXPECT_EQ(text::parseFloat("+1e3"), 1000.0);
  EXPECT_EQ(text::parseFloat("-.5"), -0.5);
  EXPECT_EQ(text::parseFloat("5."), 5.0);
  EXPECT_EQ(text::parseFloat("1_000"), 1000.0);
  EXPECT_EQ(text::parseFloat("1E-5"), 1e-5);
  EXPECT_TRUE(std::signbit(text::parseFloat("-0")));
  EXPECT_EQ(text::parseFloat("1e-400"), 0.0);
}

TEST(ParseFloat, RefusesTextThatIsNotAFiniteNumberAndQuotesIt) {
  for (const char* bad : {"", " ", "abc", "1,2", "5e", "--1", "_1", "1_", "1__0", "0x10", "inf",
                          "nan", "-Infinity", "1e400", ". 5", "1 2"}) {
    EXPECT_THROW((void)text::parseFloat(bad), text::ParseError) << bad;
  }
  try {
    (void)text::parseFloat("12a");
    FAIL();
  } catch (const text::ParseError& e) {
    EXPECT_STREQ(e.what(), "could not convert string to float: '12a'");
  }
}

}  // namespace
