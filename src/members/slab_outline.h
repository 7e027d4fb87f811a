#pragma once
// The plane geometry of a slab outline given by its vertex lists: the lists read as numbers,
// the height of each vertex, the upward normal of the outline's plane, the planarity test
// with its projection, and the upward orientation of the triangles of a split quadrilateral.
// Lengths in mm; heights above the storey base.

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/grid.h"
#include "readers/slab.h"
#include "vector/vector.h"

namespace Utils {

// One vertex list of a slab row: numbers separated by ",", the last one followed by a ","
// that is dropped when present. An empty text gives no numbers. Throws SlabFault naming the
// list (`listName`, "VertX") and the item that is not a number.
[[nodiscard]] std::vector<double> parseVertexList(std::string_view text, std::string_view listName);

// Heights of the first n vertices, by the first rule that applies:
//  1. all items of vz equal: vz[i] + flr_height;
//  2. the outline's nodes all at one height: a flat slab at that node height, raised to the
//     highest adjacent beam above it and then lowered to the lowest one below it;
//  3. as many nodes off the storey top as items of vz off it: vz[i] + flr_height.
// Rules 1 and 3 need at least n items in vz. No value when none applies: the vertex heights
// contradict the grid (an outline without nodes and varying heights included), or vz is too
// short for the rule that would.
[[nodiscard]] std::optional<std::vector<double>> vertexHeights(
    const std::vector<double>& vz, std::size_t n, const std::vector<Grid::OutlinePoint>& nodes,
    const std::vector<Slab::AdjacentBeamRow>& adj_beams, double flr_height);

// Angle (radians) below which two outline edges count as one line.
inline constexpr double kCollinearAngle = 0.01;
// Vertices farther than this from the outline's plane (mm) make it non-planar; nearer ones
// beyond kPlaneSnap are moved onto it.
inline constexpr double kPlanarityLimit = 10.0;
inline constexpr double kPlaneSnap = 1e-6;

// Two edges whose cross product is shorter than this times the product of their lengths lie
// on one line.
inline constexpr double kParallelSine = 1e-9;

// The normal of the plane of the first edge and the first later edge more than
// kCollinearAngle off it, turned to point up (a vertical plane keeps it as computed); not of
// unit length. When the edge found doubles back along the first one (a corner sharper than
// kCollinearAngle), the outline is read from its next vertex on, round its end, and so on.
// A sliver, where no start finds such a pair, takes the unit normal of two of its edges that
// are not parallel (kParallelSine), whatever its start. No value for fewer than three points
// or every vertex on one line.
[[nodiscard]] std::optional<App::Vector> outlineNormal(const std::vector<App::Vector>& points);

// Walks the vertices after the first: one within kPlanarityLimit of the plane through
// points[0] with `normal` is moved onto it (when farther than kPlaneSnap); the first one
// beyond ends the walk and the result is false (not planar).
[[nodiscard]] bool flattenOntoPlane(std::vector<App::Vector>& points, const App::Vector& normal);

// A triangle (the first three points) with its normal turned up: (v, points) unchanged when
// (p1 - p0) x (p2 - p0) points up, else (-v, {p2, p1, p0}). The normal is not normalised.
[[nodiscard]] std::pair<App::Vector, std::vector<App::Vector>> adjustPoints(
    const std::vector<App::Vector>& points);

}  // namespace Utils
