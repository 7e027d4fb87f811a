#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::int32_t> decodeAll(std::string_view s) {
  std::vector<std::int32_t> cps;
  for (std::size_t i = 0; i < s.size();) cps.push_back(text::nextCodePoint(s, i));
  return cps;
}

TEST(Utf8, DecodesEveryLengthAndEncodesItBack) {
  const std::string s = "a\xC3\xA9\xE6\xA5\xBC\xF0\x9F\x8F\xA2";  // a é 楼 🏢
  EXPECT_EQ(decodeAll(s), (std::vector<std::int32_t>{0x61, 0xE9, 0x697C, 0x1F3E2}));
  std::string back;
  for (const std::int32_t cp : decodeAll(s)) text::appendUtf8(back, static_cast<std::uint32_t>(cp));
  EXPECT_EQ(back, s);
}

TEST(Utf8, MalformedSequencesGiveMinusOneAndSkipOneByte) {
  EXPECT_EQ(decodeAll("\x80"
                      "a"),
            (std::vector<std::int32_t>{-1, 'a'}));                        // lone trail byte
  EXPECT_EQ(decodeAll("\xE6\xA5"), (std::vector<std::int32_t>{-1, -1}));  // truncated
  EXPECT_EQ(decodeAll("\xC3"
                      "a"),
            (std::vector<std::int32_t>{-1, 'a'}));                                // bad trail byte
  EXPECT_EQ(decodeAll("\xC0\xAF"), (std::vector<std::int32_t>{-1, -1}));          // overlong '/'
  EXPECT_EQ(decodeAll("\xED\xA0\x80"), (std::vector<std::int32_t>{-1, -1, -1}));  // surrogate
  EXPECT_EQ(decodeAll("\xF4\x90\x80\x80"), (std::vector<std::int32_t>{-1, -1, -1, -1}));  // >10FFFF
}

}  // namespace
