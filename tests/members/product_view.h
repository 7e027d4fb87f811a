#pragma once
// What a reader of the written file sees of one product: its placement, the swept solid of
// its body and the clip planes cut from it, and a few row builders for the member tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ifc/model.h"
#include "members/solid_builders.h"
#include "vector/vector.h"

namespace members_test {

struct ProductView {
  std::string type;
  std::string name;
  App::Vector location, axis, refDirection;  // of the product's placement
  std::string representationType;
  ifc::Entity solid;  // the swept or revolved solid inside any clipping
  double depth = 0;   // of an extruded solid
  App::Vector solidLocation, solidAxis, solidRefDirection;
  std::vector<Utils::ClipPlane> planes;  // innermost first
};

inline App::Vector vectorOf(const ifc::Value& v, App::Vector absent = {}) {
  if (v.isUnset()) return absent;
  const ifc::Entity e = v.asEntity();
  const ifc::List list = e.get(e.is_a("IfcDirection") ? "DirectionRatios" : "Coordinates").asList();
  App::Vector out;
  out.x = list.at(0).asDouble();
  out.y = list.at(1).asDouble();
  out.z = list.size() > 2 ? list.at(2).asDouble() : 0.0;
  return out;
}

inline ProductView viewOf(const ifc::Entity& product) {
  ProductView view;
  view.type = product.type();
  view.name = product.get("Name").asString();
  const ifc::Entity placement =
      product.get("ObjectPlacement").asEntity().get("RelativePlacement").asEntity();
  view.location = vectorOf(placement.get("Location"));
  view.axis = vectorOf(placement.get("Axis"), {0, 0, 1});
  view.refDirection = vectorOf(placement.get("RefDirection"), {1, 0, 0});
  const ifc::Entity rep =
      product.get("Representation").asEntity().get("Representations").asList().at(0).asEntity();
  view.representationType = rep.get("RepresentationType").asString();
  ifc::Entity item = rep.get("Items").asList().at(0).asEntity();
  while (item.is_a("IfcBooleanClippingResult")) {
    const ifc::Entity position = item.get("SecondOperand")
                                     .asEntity()
                                     .get("BaseSurface")
                                     .asEntity()
                                     .get("Position")
                                     .asEntity();
    view.planes.insert(view.planes.begin(), Utils::ClipPlane{vectorOf(position.get("Location")),
                                                             vectorOf(position.get("Axis"))});
    item = item.get("FirstOperand").asEntity();
  }
  view.solid = item;
  if (item.is_a("IfcExtrudedAreaSolid")) view.depth = item.get("Depth").asDouble();
  const ifc::Entity solidPosition = item.get("Position").asEntity();
  view.solidLocation = vectorOf(solidPosition.get("Location"));
  view.solidAxis = vectorOf(solidPosition.get("Axis"), {0, 0, 1});
  view.solidRefDirection = vectorOf(solidPosition.get("RefDirection"), {1, 0, 0});
  return view;
}

// Compares within `tolerance` on every component.
inline ::testing::AssertionResult near(const App::Vector& actual, const App::Vector& expected,
                                       double tolerance = 1e-6) {
  if (std::abs(actual.x - expected.x) <= tolerance &&
      std::abs(actual.y - expected.y) <= tolerance &&
      std::abs(actual.z - expected.z) <= tolerance) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << actual.str() << " is not " << expected.str();
}

// A unit vector along v, for comparing directions written at any length.
inline App::Vector unit(App::Vector v) { return v.normalize(); }

}  // namespace members_test
