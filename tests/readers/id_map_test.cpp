// IdMap finds what a plain map keyed by the ids' numeric value finds, however its ids are
// spread: counting up, far ahead of the count (held apart until the table reaches them), as
// reals and as text.
#include "readers/id_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace {

using db::Value;

// An id's identity as SQL compares it: a number by value, a text by its text.
std::variant<double, std::string> identity(const Value& id) {
  if (id.isText()) return id.asText();
  return id.asDouble();
}

TEST(IdMap, FindsTheValueOfEveryIdInsertedAndNoneOfAnyOther) {
  const struct {
    const char* name;
    std::vector<Value> ids;  // inserted in this order, each given its position
  } cases[] = {
      {"counting up, with a far id first that the table later covers",
       [] {
         std::vector<Value> ids{Value(std::int64_t{400000}), Value(400001.0), Value("7")};
         for (std::int64_t i = 1; i <= 30000; ++i) ids.emplace_back(i * 16);
         ids.emplace_back(std::int64_t{5000000});
         return ids;
       }()},
      {"reals and integers of one value, negative and fractional ids",
       {Value(5), Value(5.0), Value(-3), Value(2.5), Value(0.0), Value(-0.0),
        Value(std::int64_t{3000000000})}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    readers::IdMap<std::size_t> map;
    std::map<std::variant<double, std::string>, std::size_t> expected;
    for (std::size_t i = 0; i < c.ids.size(); ++i) {
      *map.insert(c.ids[i]) = i;
      expected[identity(c.ids[i])] = i;
    }
    EXPECT_EQ(map.size(), expected.size());
    for (const Value& id : c.ids) {
      const std::size_t* found = map.find(id);
      ASSERT_NE(found, nullptr) << id.str();
      EXPECT_EQ(*found, expected.at(identity(id))) << id.str();
    }
    for (const Value& absent : {Value(), Value(17), Value(399999), Value(480017.0), Value("x")}) {
      EXPECT_EQ(map.find(absent), nullptr) << absent.str();
    }
  }
}

}  // namespace
