#pragma once
// What every member builder of one conversion run shares: the run's IFC model, the template's
// owner history and '3D' context, the shared origin, unit directions and placement made for
// this run, and the run's profile cache. The driver makes one per run and passes it to every
// builder; nothing of it outlives the run, so no entity of one model leaks into the next.

#include <stdexcept>

#include "ifc/model.h"
#include "ifc/value.h"

namespace Sect {
class ProfileCache;
}

namespace Utils {

struct RunContext {
  ifc::Model& model;
  ifc::Entity ownerHistory;  // the model's first IfcOwnerHistory
  ifc::Entity context;       // the model's first IfcGeometricRepresentationContext ('3D')
  ifc::Entity origin;        // IfcCartesianPoint (0.0, 0.0, 0.0)
  ifc::Entity directionX;    // IfcDirection (1.0, 0.0, 0.0)
  ifc::Entity directionY;    // IfcDirection (0.0, 1.0, 0.0)
  ifc::Entity directionZ;    // IfcDirection (0.0, 0.0, 1.0)
  // IfcAxis2Placement3D at origin with Axis directionZ and RefDirection directionX, made once
  // per run and never changed afterwards: solids at their product's origin with the default
  // axes take it as their position, and the copies of a standard floor as their mapping
  // origin. Builders on several threads read it at once, so none may set its attributes.
  ifc::Entity placement;
  Sect::ProfileCache& profiles;
};

// A builder was given a run context that is not filled in: a fault of the run, not of a
// member, so the member passes let it through to the driver.
class RunContextError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Throws RunContextError naming the first entity of ctx that is unset or belongs to another
// model (a model without an owner history or a representation context leaves those unset).
void requireComplete(const RunContext& ctx);

// Takes the owner history and the first representation context from the model (unset
// handles when it has none) and creates origin, directionX, directionY, directionZ and
// placement (with its axes), in this order, as new entities of the model.
[[nodiscard]] inline RunContext makeRunContext(ifc::Model& model, Sect::ProfileCache& profiles) {
  auto first = [&model](const char* type) {
    auto all = model.by_type(type);
    return all.empty() ? ifc::Entity() : all.front();
  };
  ifc::Entity ownerHistory = first("IfcOwnerHistory");
  ifc::Entity context = first("IfcGeometricRepresentationContext");
  ifc::Entity origin = model.create("IfcCartesianPoint", {ifc::List{0.0, 0.0, 0.0}});
  ifc::Entity directionX = model.create("IfcDirection", {ifc::List{1.0, 0.0, 0.0}});
  ifc::Entity directionY = model.create("IfcDirection", {ifc::List{0.0, 1.0, 0.0}});
  ifc::Entity directionZ = model.create("IfcDirection", {ifc::List{0.0, 0.0, 1.0}});
  ifc::Entity placement = model.create("IfcAxis2Placement3D", {origin, directionZ, directionX});
  return RunContext{model,      ownerHistory, context,   origin,  directionX,
                    directionY, directionZ,   placement, profiles};
}

}  // namespace Utils
