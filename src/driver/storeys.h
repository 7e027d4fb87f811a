#pragma once
// Building storeys: one IfcBuildingStorey per real floor, placed at the floor's elevation,
// holding the products of its floor and the property set "Custom".

#include <vector>

#include "db/value.h"
#include "ifc/value.h"
#include "members/run_context.h"

namespace Verdamo {

// What a storey takes from its real floor and that floor's standard floor, values as read.
struct StoreyFloor {
  db::Value elevation;   // real floor, mm
  db::Value height;      // real floor, mm
  db::Value floorNo;     // real floor number; its text is the storey's Name
  db::Value name;        // real floor name, may be empty
  db::Value stdFloorNo;  // standard-floor number
};

// A floor's elevation or height as a finite number. Throws std::runtime_error naming the
// floor by its number, what is read and the stored value (NULL, text quoted) otherwise.
[[nodiscard]] double floorMeasure(const db::Value& value, const char* what,
                                  const db::Value& floorNo);

// Creates the storey, re-hangs every product of objectlists (the parts of an element assembly
// in its place) under the storey's placement, relates the products to the storey by a
// "storeyLink" containment (none when the list is empty: the relation needs one element) and
// attaches the property set "Custom" with StdFlrNo, FloorNo and Height. Throws
// std::runtime_error naming the floor when its elevation or height is not a finite number,
// and when a product has no local placement. Threaded, the products are re-hung on worker
// threads; the file is the same.
ifc::Entity createFloorObj(const Utils::RunContext& ctx,
                           const std::vector<ifc::Entity>& objectlists, const StoreyFloor& floor,
                           bool threaded = false);

}  // namespace Verdamo
