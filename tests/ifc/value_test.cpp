#include <gtest/gtest.h>

#include "ifc/model.h"

namespace {

using ifc::List;
using ifc::Value;

TEST(Value, KeepsEachKindAndRefusesAccessAsAnotherKind) {
  EXPECT_TRUE(Value().isUnset());
  EXPECT_EQ(Value(ifc::Derived{}).kind(), Value::Kind::Derived);
  EXPECT_EQ(Value(3).kind(), Value::Kind::Integer);
  EXPECT_EQ(Value(3).asDouble(), 3.0) << "asDouble also reads an integer";
  EXPECT_EQ(Value(std::size_t{7}).asInt(), 7);
  EXPECT_THROW(Value(~0ull), std::out_of_range);
  EXPECT_EQ(Value(2.5).kind(), Value::Kind::Real);
  EXPECT_EQ(Value("text").asString(), "text");
  EXPECT_EQ(Value(std::string_view("view")).asString(), "view");
  EXPECT_EQ(Value(ifc::Enum{"AREA"}).asEnum(), "AREA");
  EXPECT_EQ(Value(true).asLogical(), ifc::Logical::True);
  EXPECT_EQ(Value(ifc::Logical::Unknown).asLogical(), ifc::Logical::Unknown);
  EXPECT_THROW((void)Value(2.5).asInt(), std::logic_error);
  EXPECT_THROW((void)Value("x").asDouble(), std::logic_error);
  EXPECT_THROW((void)Value(ifc::Logical::Unknown).asBool(), std::logic_error);
  EXPECT_THROW((void)Value(1).typeName(), std::logic_error);
  EXPECT_THROW((void)Value().asEntity(), std::logic_error);
}

TEST(Value, ComparesNestedAggregatesAndTypedValuesByContent) {
  const Value typed = Value::typed("IfcLabel", "3");
  const Value copy = typed;
  EXPECT_EQ(copy, typed);
  EXPECT_EQ(copy.inner().asString(), "3");
  EXPECT_NE(typed, Value::typed("IfcText", "3"));
  EXPECT_NE(typed, Value("3"));
  EXPECT_EQ(Value(List{1.0, List{2, "a"}}), Value(List{1.0, List{2, "a"}}));
  EXPECT_NE(Value(List{1.0, 2.0}), Value(List{1.0, 2}));
  ifc::Model m("IFC4");
  const ifc::Entity e = m.create("IfcCartesianPoint", {List{0.0, 0.0}});
  const ifc::Entity f = m.create("IfcCartesianPoint", {std::vector<double>{1.0, 2.0}});
  EXPECT_EQ(Value(e).asEntity(), e);
  EXPECT_NE(Value(e), Value(ifc::Entity()));
  EXPECT_EQ(Value(std::vector<ifc::Entity>{e, f}), Value(List{e, f}));
  EXPECT_EQ(f.get("Coordinates"), Value(List{1.0, 2.0}));
  EXPECT_TRUE(e < f);
  EXPECT_NE(std::hash<ifc::Entity>()(e), std::hash<ifc::Entity>()(f));
}

}  // namespace
