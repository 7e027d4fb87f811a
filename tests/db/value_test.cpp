#include "db/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

using db::Value;

TEST(Value, ComparesNumbersByValueAcrossIntegerAndDouble) {
  EXPECT_EQ(Value(5), Value(5.0));
  EXPECT_EQ(Value(5.0), Value(5));
  EXPECT_EQ(Value(-0.0), Value(0));
  EXPECT_NE(Value(5), Value(5.5));
  EXPECT_NE(Value(std::int64_t{9007199254740993}), Value(9007199254740992.0));
  EXPECT_NE(Value(std::int64_t{INT64_MAX}), Value(9223372036854775808.0));
  EXPECT_NE(Value(std::nan("")), Value(std::nan("")));
  EXPECT_NE(Value(0), Value(std::nan("")));
}

TEST(Value, NeverEqualsAcrossTextNumbersAndNull) {
  EXPECT_NE(Value("5"), Value(5));
  EXPECT_NE(Value(5.0), Value("5.0"));
  EXPECT_EQ(Value("梁"), Value("梁"));
  EXPECT_NE(Value("a"), Value("A"));
  EXPECT_EQ(Value(), Value());
  EXPECT_NE(Value(), Value(0));
  EXPECT_NE(Value(""), Value());
}

TEST(Value, WritesItselfAsTheModelTextsExpect) {
  EXPECT_EQ(Value(5).str(), "5");
  EXPECT_EQ(Value(-12).str(), "-12");
  EXPECT_EQ(Value(5.0).str(), "5.0");
  EXPECT_EQ(Value(0.1).str(), "0.1");
  EXPECT_EQ(Value(1e16).str(), "1e+16");
  EXPECT_EQ(Value(-0.0).str(), "-0.0");
  EXPECT_EQ(Value().str(), "None");
  EXPECT_EQ(Value("300,600").str(), "300,600");
}

TEST(Value, RefusesTheWrongClassWithAMessageNamingIt) {
  EXPECT_EQ(Value(7).asDouble(), 7.0);
  EXPECT_EQ(Value(2.5).asDouble(), 2.5);
  EXPECT_EQ(Value(7).asInteger(), 7);
  EXPECT_EQ(Value("x").asText(), "x");
  EXPECT_THROW((void)Value(2.0).asInteger(), db::TypeError);
  EXPECT_THROW((void)Value(7).asText(), db::TypeError);
  try {
    (void)Value().asDouble();
    FAIL() << "NULL read as a number";
  } catch (const db::TypeError& e) {
    EXPECT_NE(std::string(e.what()).find("NULL"), std::string::npos) << e.what();
  }
  try {
    (void)Value("12a").asDouble();
    FAIL() << "text read as a number";
  } catch (const db::TypeError& e) {
    EXPECT_NE(std::string(e.what()).find("'12a'"), std::string::npos) << e.what();
  }
}

}  // namespace
