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
// subtracted. The plane's placement also gets a RefDirection square to the normal, without
// which some readers drop cuts whose normal lies along X.
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
// local Z `direction` and local X `refDirection`. Directions need not be unit vectors: each
// is written at unit length, as the run's shared direction when it is a positive unit axis.
// The body is ((extrusion minus each clip plane's half-space, in order) plus unionSolid)
// minus cut, its representation "Body" of type "SweptSolid", "Clipping" (clip planes only)
// or "CSG" (a union or cut). A solid at the product's origin with the default frame takes
// the run's shared placement.
//
// Everything is checked before the first entity is made. Throws App::GeometryError for
// degenerate geometry (L not positive, a value not finite, a direction or clip normal of no
// length, an axis parallel to its reference direction), RunContextError for a context not
// filled in, std::invalid_argument for a missing section or a second one under IFC2X3.
ifc::Entity CreateStraightStructure(const RunContext& ctx, StructureType structureType,
                                    std::string_view name, ifc::Entity section, double L,
                                    const App::Vector& position, const App::Vector& direction,
                                    const App::Vector& refDirection,
                                    const StraightOptions& options = {});

// One revolved product: `section` turned by `angle` degrees about `axis` (an
// IfcAxis1Placement in the product's local frame), the solid at the run's shared placement,
// the directions written as given. Throws like CreateStraightStructure, App::GeometryError
// also for an angle of 0.
ifc::Entity CreateArcStructure(const RunContext& ctx, ArcStructureType structureType,
                               std::string_view name, ifc::Entity section, ifc::Entity axis,
                               double angle, const App::Vector& position,
                               const App::Vector& direction, const App::Vector& refDirection);

}  // namespace Utils
