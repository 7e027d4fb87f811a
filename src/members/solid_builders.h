#pragma once
// The two roads by which a member becomes an IFC product: a straight extrusion (optionally
// tapered, clipped by half-spaces, with one solid added and one subtracted) and a revolution
// about an axis. Both create the product with an absolute placement and one "Body"
// representation in the run's model.

#include <string_view>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "vector/vector.h"

namespace Utils {

// Product kinds of the straight builder and their entities.
enum class StructureType {
  Beam,            // IfcBeam
  Column,          // IfcColumn
  Wall,            // IfcWall
  Slab,            // IfcSlab
  VirtualElement,  // IfcVirtualElement
  Opening,         // IfcOpeningElement
  Brace,           // IfcMember
};

// Product kinds of the revolved builder.
enum class ArcStructureType {
  Beam,  // IfcBeam
  Wall,  // IfcWall
  Slab,  // IfcSlab
};

// A cutting plane in the product's local frame. The normal (any length, written as given)
// points into the part of the member that remains; the half-space on the other side is
// subtracted.
struct ClipPlane {
  App::Vector point;
  App::Vector normal;
};

// The frame of the swept solid inside the product's frame: origin, local X and local Z. The
// solid is extruded along its own local Z.
struct SolidFrame {
  App::Vector position{0.0, 0.0, 0.0};
  App::Vector refDirection{1.0, 0.0, 0.0};
  App::Vector direction{0.0, 0.0, 1.0};
};

// The optional arguments of CreateStraightStructure, by name.
struct StraightOptions {
  SolidFrame solid;
  std::vector<ClipPlane> clipPlanes;
  ifc::Entity section2;    // end profile of a tapered body (IFC4 only), or none
  ifc::Entity cut;         // a solid subtracted from the body, or none
  ifc::Entity unionSolid;  // a solid added to the body, or none
};

// One straight product named `name`: `section` extruded by `L` mm, placed at `position` with
// local Z `direction` and local X `refDirection`. Directions need not be unit vectors.
ifc::Entity CreateStraightStructure(const RunContext& ctx, StructureType structureType,
                                    std::string_view name, ifc::Entity section, double L,
                                    const App::Vector& position, const App::Vector& direction,
                                    const App::Vector& refDirection,
                                    const StraightOptions& options = {});

// One revolved product: `section` turned by `angle` degrees about `axis` (an
// IfcAxis1Placement in the product's local frame).
ifc::Entity CreateArcStructure(const RunContext& ctx, ArcStructureType structureType,
                               std::string_view name, ifc::Entity section, ifc::Entity axis,
                               double angle, const App::Vector& position,
                               const App::Vector& direction, const App::Vector& refDirection);

}  // namespace Utils
