#include "text/split.h"

#include <gtest/gtest.h>

namespace {

using Items = std::vector<std::string>;

TEST(Split, KeepsEmptyItemsAndBlanks) {
  EXPECT_EQ(text::split("1,300,500", ','), (Items{"1", "300", "500"}));
  EXPECT_EQ(text::split("a,,b,", ','), (Items{"a", "", "b", ""}));
  EXPECT_EQ(text::split("", ','), (Items{""}));
  EXPECT_EQ(text::split("1, 100", ','), (Items{"1", " 100"}));
}

}  // namespace
