#include "driver/storeys.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "driver/chunked_tasks.h"
#include "driver/products.h"
#include "ifc/guid.h"
#include "ifc/model.h"

namespace Verdamo {

namespace {

// The host's truth value of a stored value: NULL, zero and the empty text are false.
bool truthy(const db::Value& v) {
  if (v.isNull()) return false;
  if (v.isText()) return !v.asText().empty();
  return v.asDouble() != 0.0;
}

// Gives the product a new local placement relative to the storey placement, sharing the
// product's RelativePlacement.
void rehang(ifc::Model& model, const ifc::Entity& product, const ifc::Entity& storeyPlacement) {
  const ifc::Value current = product.get("ObjectPlacement");
  if (current.kind() != ifc::Value::Kind::Entity || !current.asEntity().is_a("IfcLocalPlacement")) {
    throw std::runtime_error(describe(product) + " has no local placement");
  }
  const ifc::Value relative = current.asEntity().get("RelativePlacement");
  product.set("ObjectPlacement", model.create("IfcLocalPlacement", {storeyPlacement, relative}));
}

}  // namespace

double floorMeasure(const db::Value& value, const char* what, const db::Value& floorNo) {
  if (value.isNumber() && std::isfinite(value.asDouble())) return value.asDouble();
  const std::string stored = value.isNull()   ? "NULL"
                             : value.isText() ? "text '" + value.asText() + "'"
                                              : value.str();
  throw std::runtime_error("floor " + floorNo.str() + ": " + what + " " + stored +
                           " is not a finite number");
}

ifc::Entity createFloorObj(const Utils::RunContext& ctx,
                           const std::vector<ifc::Entity>& objectlists, const StoreyFloor& floor,
                           bool threaded) {
  ifc::Model& model = ctx.model;
  const double height = floorMeasure(floor.height, "height", floor.floorNo);
  const double elevation = floorMeasure(floor.elevation, "elevation", floor.floorNo);
  const std::string floorNo = floor.floorNo.str();

  const ifc::Entity pl = model.create("IfcLocalPlacement");
  const ifc::Entity floorPosition =
      model.create("IfcCartesianPoint", {ifc::List{0.0, 0.0, elevation}});
  pl.set("RelativePlacement", model.create("IfcAxis2Placement3D", {floorPosition}));

  const ifc::Entity ifcFloor =
      model.create("IfcBuildingStorey", {ifc::createGuid(), ctx.ownerHistory});
  ifcFloor.set("Name", floorNo);
  ifcFloor.set("Description", truthy(floor.name) ? floor.name.str() : "Floor_" + floorNo);
  ifcFloor.set("CompositionType", ifc::Enum{"ELEMENT"});
  ifcFloor.set("Elevation", elevation);
  ifcFloor.set("ObjectPlacement", pl);

  std::vector<ifc::Entity> placed;
  for (const ifc::Entity& obj : objectlists) {
    if (obj.type() == "IfcElementAssembly") {
      for (const ifc::Value& part : partsOf(obj)) placed.push_back(part.asEntity());
    } else {
      placed.push_back(obj);
    }
  }
  forEachProduct(model, threaded, placed.size(),
                 [&](std::size_t i) { rehang(model, placed[i], pl); });

  if (!objectlists.empty()) {
    ifc::List elements(objectlists.begin(), objectlists.end());
    model.create("IfcRelContainedInSpatialStructure",
                 {ifc::createGuid(), ctx.ownerHistory, "storeyLink", ifc::Unset{},
                  std::move(elements), ifcFloor});
  }

  const ifc::Entity prop1 = model.create(
      "IfcPropertySingleValue",
      {"StdFlrNo", ifc::Unset{}, ifc::Value::typed("IfcLabel", floor.stdFloorNo.str())});
  const ifc::Entity prop2 = model.create(
      "IfcPropertySingleValue", {"FloorNo", ifc::Unset{}, ifc::Value::typed("IfcLabel", floorNo)});
  const ifc::Entity prop3 =
      model.create("IfcPropertySingleValue",
                   {"Height", ifc::Unset{}, ifc::Value::typed("IfcLengthMeasure", height)});
  const ifc::Entity pset =
      model.create("IfcPropertySet", {ifc::createGuid(), ctx.ownerHistory, "Custom", ifc::Unset{},
                                      ifc::List{prop1, prop2, prop3}});
  model.create("IfcRelDefinesByProperties", {ifc::createGuid(), ctx.ownerHistory, ifc::Unset{},
                                             ifc::Unset{}, ifc::List{ifcFloor}, pset});
  return ifcFloor;
}

}  // namespace Verdamo
