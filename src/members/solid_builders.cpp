#include "members/solid_builders.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "ifc/model.h"
#include "members/assembly.h"
#include "text/number_text.h"

namespace Utils {

namespace {

// A direction shorter than this (mm, the vector tolerance) has no direction.
constexpr double minDirectionLength = App::tolerance;
// Two directions whose angle has a sine below this are taken as parallel: no frame.
constexpr double parallelSine = 1e-9;

const char* entityOf(StructureType type) {
  switch (type) {
    case StructureType::Beam:
      return "IfcBeam";
    case StructureType::Column:
      return "IfcColumn";
    case StructureType::Wall:
      return "IfcWall";
    case StructureType::Slab:
      return "IfcSlab";
    case StructureType::VirtualElement:
      return "IfcVirtualElement";
    case StructureType::Opening:
      return "IfcOpeningElement";
    case StructureType::Brace:
      return "IfcMember";
  }
  throw std::invalid_argument("unknown straight structure type " +
                              std::to_string(static_cast<int>(type)));
}

const char* entityOf(ArcStructureType type) {
  switch (type) {
    case ArcStructureType::Beam:
      return "IfcBeam";
    case ArcStructureType::Wall:
      return "IfcWall";
    case ArcStructureType::Slab:
      return "IfcSlab";
  }
  throw std::invalid_argument("unknown arc structure type " +
                              std::to_string(static_cast<int>(type)));
}

bool isFinite(const App::Vector& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void requireFinite(const App::Vector& v, const std::string& what) {
  if (!isFinite(v)) throw App::GeometryError(what + " " + v.str() + " is not finite");
}

void requireDirection(const App::Vector& v, const std::string& what) {
  requireFinite(v, what);
  if (!(v.Length() >= minDirectionLength)) {
    throw App::GeometryError(what + " " + v.str() + " has no length");
  }
}

// Local Z and X of a placement: both directions, not parallel.
void requireFrame(const App::Vector& z, const App::Vector& x, const std::string& whose) {
  requireDirection(z, whose + " axis");
  requireDirection(x, whose + " reference direction");
  if (!(z.cross(x).Length() > parallelSine * z.Length() * x.Length())) {
    throw App::GeometryError(whose + " axis " + z.str() + " and reference direction " + x.str() +
                             " are parallel");
  }
}

// An entity the caller passes must be given and be of the run's model.
void requireGiven(const RunContext& ctx, const ifc::Entity& entity, const char* what) {
  if (!entity) throw std::invalid_argument(std::string("no ") + what + " given");
  if (entity.model() != &ctx.model) {
    throw std::invalid_argument(std::string("the ") + what + " belongs to another model");
  }
}

// As requireGiven for an entity that may be left out.
void requireOwn(const RunContext& ctx, const ifc::Entity& entity, const char* what) {
  if (entity) requireGiven(ctx, entity, what);
}

// The shared unit axis when the direction, scaled to unit length, is exactly one of the three
// positive axes; otherwise a new IfcDirection of the scaled direction.
ifc::Entity createDirection(const RunContext& ctx, App::Vector v) {
  v.normalize();
  if (v.y == 0.0 && v.z == 0.0 && v.x == 1.0) return ctx.directionX;
  if (v.x == 0.0 && v.z == 0.0 && v.y == 1.0) return ctx.directionY;
  if (v.x == 0.0 && v.y == 0.0 && v.z == 1.0) return ctx.directionZ;
  return ctx.model.create("IfcDirection", {ifc::List{v.x, v.y, v.z}});
}

ifc::Entity point3(ifc::Model& model, const App::Vector& p) {
  return model.create("IfcCartesianPoint", {ifc::List{p.x, p.y, p.z}});
}

// A unit vector perpendicular to the plane normal n, for the plane's RefDirection: horizontal
// unless the plane is horizontal. Readers that need the reference direction to orient the
// plane otherwise leave out cuts whose normal lies along the X axis.
App::Vector perpendicularTo(const App::Vector& n) {
  const App::Vector r = App::Vector(0.0, 0.0, 1.0).cross(n);
  const double length = r.Length();
  if (!(length > parallelSine * n.Length())) return {1.0, 0.0, 0.0};
  return r * (1.0 / length);
}

ifc::Entity productDefinition(const RunContext& ctx, const ifc::Entity& body,
                              const char* representationType) {
  ifc::Model& model = ctx.model;
  const ifc::Entity representation = model.create(
      "IfcShapeRepresentation", {ctx.context, "Body", representationType, ifc::List{body}});
  return model.create("IfcProductDefinitionShape",
                      {ifc::Unset{}, ifc::Unset{}, ifc::List{representation}});
}

}  // namespace

ifc::Entity CreateStraightStructure(const RunContext& ctx, StructureType structureType,
                                    std::string_view name, ifc::Entity section, double L,
                                    const App::Vector& position, const App::Vector& direction,
                                    const App::Vector& refDirection,
                                    const StraightOptions& options) {
  // Everything is checked before the first entity is made, so a refused member leaves
  // nothing behind in the model.
  requireComplete(ctx);
  ifc::Model& model = ctx.model;
  const char* entity = entityOf(structureType);
  requireGiven(ctx, section, "swept profile");
  requireOwn(ctx, options.section2, "end profile");
  requireOwn(ctx, options.unionSolid, "solid to add");
  requireOwn(ctx, options.cut, "solid to subtract");
  if (options.section2 && model.schemaName() == "IFC2X3") {
    throw std::invalid_argument("a tapered body needs IFC4");
  }
  if (!std::isfinite(L) || !(L > 0.0)) {
    throw App::GeometryError("the extrusion length " + text::repr(L) + " is not positive");
  }
  requireFinite(position, "the product's position");
  requireFrame(direction, refDirection, "the product's");
  const SolidFrame& solid = options.solid;
  requireFinite(solid.position, "the solid's position");
  requireFrame(solid.direction, solid.refDirection, "the solid's");
  for (std::size_t i = 0; i < options.clipPlanes.size(); ++i) {
    const std::string which = "clip plane " + std::to_string(i + 1);
    requireFinite(options.clipPlanes[i].point, which + " point");
    requireDirection(options.clipPlanes[i].normal, which + " normal");
  }

  const ifc::Entity product = model.create(entity, {create_guid(), ctx.ownerHistory, name});

  const ifc::Entity axisPlacement = model.create("IfcAxis2Placement3D", {point3(model, position)});
  axisPlacement.set("Axis", createDirection(ctx, direction));
  axisPlacement.set("RefDirection", createDirection(ctx, refDirection));
  product.set("ObjectPlacement", model.create("IfcLocalPlacement", {ifc::Unset{}, axisPlacement}));

  // The shared placement is taken as it is (its axes were set once, when the run began).
  const ifc::Entity solidZ = createDirection(ctx, solid.direction);
  const ifc::Entity solidX = createDirection(ctx, solid.refDirection);
  ifc::Entity solidPlacement = ctx.placement;
  if (!(solid.position == App::Vector(0.0, 0.0, 0.0) && solidZ == ctx.directionZ &&
        solidX == ctx.directionX)) {
    solidPlacement =
        model.create("IfcAxis2Placement3D", {point3(model, solid.position), solidZ, solidX});
  }

  // Swept along the solid placement's own Z: its Axis already is the solid direction.
  ifc::Entity body =
      options.section2
          ? model.create("IfcExtrudedAreaSolidTapered",
                         {section, solidPlacement, ctx.directionZ, L, options.section2})
          : model.create("IfcExtrudedAreaSolid", {section, solidPlacement, ctx.directionZ, L});

  for (const ClipPlane& clip : options.clipPlanes) {
    const ifc::Entity location = point3(model, clip.point);
    const App::Vector& n = clip.normal;
    const ifc::Entity normal = model.create("IfcDirection", {ifc::List{n.x, n.y, n.z}});
    const ifc::Entity ref = createDirection(ctx, perpendicularTo(n));
    const ifc::Entity plane =
        model.create("IfcPlane", {model.create("IfcAxis2Placement3D", {location, normal, ref})});
    const ifc::Entity halfSpace = model.create("IfcHalfSpaceSolid", {plane, true});
    body = model.create("IfcBooleanClippingResult", {ifc::Enum{"DIFFERENCE"}, body, halfSpace});
  }
  if (options.unionSolid) {
    body = model.create("IfcBooleanResult", {ifc::Enum{"UNION"}, body, options.unionSolid});
  }
  if (options.cut) {
    body = model.create("IfcBooleanResult", {ifc::Enum{"DIFFERENCE"}, body, options.cut});
  }

  // The type names what the body is: a boolean result needs "CSG"; clipping results alone
  // are "Clipping".
  const char* representationType = options.unionSolid || options.cut ? "CSG"
                                   : !options.clipPlanes.empty()     ? "Clipping"
                                                                     : "SweptSolid";
  product.set("Representation", productDefinition(ctx, body, representationType));
  return product;
}

ifc::Entity CreateArcStructure(const RunContext& ctx, ArcStructureType structureType,
                               std::string_view name, ifc::Entity section, ifc::Entity axis,
                               double angle, const App::Vector& position,
                               const App::Vector& direction, const App::Vector& refDirection) {
  requireComplete(ctx);
  ifc::Model& model = ctx.model;
  const char* entity = entityOf(structureType);
  requireGiven(ctx, section, "revolved profile");
  requireGiven(ctx, axis, "revolution axis");
  if (!std::isfinite(angle) || angle == 0.0) {
    throw App::GeometryError("the revolution angle " + text::repr(angle) + " sweeps no solid");
  }
  requireFinite(position, "the product's position");
  requireFrame(direction, refDirection, "the product's");

  const ifc::Entity product = model.create(entity, {create_guid(), ctx.ownerHistory, name});
  // The directions are written as given, each a new entity.
  const ifc::Entity axisPlacement = model.create("IfcAxis2Placement3D", {point3(model, position)});
  axisPlacement.set(
      "Axis", model.create("IfcDirection", {ifc::List{direction.x, direction.y, direction.z}}));
  axisPlacement.set("RefDirection", model.create("IfcDirection", {ifc::List{
                                                                     refDirection.x,
                                                                     refDirection.y,
                                                                     refDirection.z,
                                                                 }}));
  product.set("ObjectPlacement", model.create("IfcLocalPlacement", {ifc::Unset{}, axisPlacement}));

  const ifc::Entity body =
      model.create("IfcRevolvedAreaSolid", {section, ctx.placement, axis, angle});
  product.set("Representation", productDefinition(ctx, body, "SweptSolid"));
  return product;
}

}  // namespace Utils
