#pragma once
// Reading member bodies back from a written IFC file as geometry: placements as frames,
// profile outlines, the corner points of swept solids and the world box of a product, the
// way an independent reader places them.

#include <array>
#include <string_view>
#include <vector>

#include "ifc/model.h"

namespace members_test {

using Point2 = std::array<double, 2>;
using Point3 = std::array<double, 3>;

struct Frame {
  Point3 origin{0, 0, 0};
  Point3 x{1, 0, 0};
  Point3 y{0, 1, 0};
  Point3 z{0, 0, 1};
  [[nodiscard]] Point3 apply(const Point3& p) const;
  // This frame's placement of a frame given inside it.
  [[nodiscard]] Frame compose(const Frame& inner) const;
};

// An IfcAxis2Placement3D, or an IfcLocalPlacement with the placements it is relative to.
Frame frameOf(const ifc::Entity& placement);

// The outline of a profile in its own plane, without a closing point: polyline points,
// rectangle corners, composite curves with their arcs sampled every half degree.
std::vector<Point2> profilePoints(const ifc::Entity& profile);
double profileArea(const ifc::Entity& profile);

// Points bounding a solid in the frame its Position is given in: an extruded solid's profile
// at its base and at its depth, a revolved solid's profile swept in steps of half a degree,
// the first operand of a boolean result (and the second one of a UNION).
std::vector<Point3> solidPoints(const ifc::Entity& solid);

// The body's single item of a product.
ifc::Entity bodyItem(const ifc::Entity& product);

struct Box {
  Point3 min;
  Point3 max;
};
// The world box of a product's body.
Box productBox(const ifc::Entity& product);

// Profile area times depth of a plain extruded solid (its direction's part along its local Z).
double extrudedVolume(const ifc::Entity& solid);

// The products of the model with this Name, in file order.
std::vector<ifc::Entity> productsNamed(const ifc::Model& model, std::string_view name);
// The one product of that name; fails the test when there is not exactly one.
ifc::Entity product(const ifc::Model& model, std::string_view name);

// Each coordinate within 1e-6 (or `tolerance`) of the wanted one.
void expectBox(const Box& got, const Box& want, double tolerance = 1e-6);
void expectPoints(const std::vector<Point2>& got, const std::vector<Point2>& want,
                  double tolerance = 1e-6);

}  // namespace members_test
