#pragma once
// Slabs from their outlines: a planar polygon (flat or sloped) becomes one extruded product
// whose top face is the outline; a sloped quadrilateral whose vertices are not in one plane
// becomes two triangular products; an outline with arc edges becomes one flat product over a
// composite curve. A slab 10 mm thick (a zero-thickness slab) is an IfcVirtualElement, any
// other an IfcSlab. A slab with a dropped region gets its fold solids added and cut.

#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"
#include "readers/floor.h"
#include "readers/grid.h"
#include "readers/property.h"
#include "readers/slab.h"

namespace Utils {

// The products of one slab: one panel "Slab_{id}", or the two triangles "Slab_{id}_1" and
// "Slab_{id}_2". Empty when the row's three vertex lists are empty, and after one of these
// reports (the slab is then left out):
//  - "楼板{id}轮廓线顶点坐标与网格坐标冲突！": the vertex heights contradict the grid;
//  - "楼板{id}未生成": fewer than three vertices, a Y or Z list shorter than the X list, or
//    all vertices on one line;
//  - "楼板{id}未生成" and the vertex list: a non-planar outline of other than four vertices
//    (four give the two triangles after "按三角形生成");
//  - "Slab_{id}, <fault>，已跳过": faulty data (a list item or thickness that is not a number,
//    a thickness that is not positive, an arc outline that does not close, fold properties
//    that cannot be read).
// A dropped region that cannot be built is reported and the slab built without it.
// A storey height that is not a finite number is a fault of the floor: std::runtime_error.
[[nodiscard]] std::vector<ifc::Entity> CreateSlab(
    const RunContext& ctx, const Slab::SlabRow& slab, const Floor::StdFloorRow& stdFlr,
    double flr_tk, const std::vector<Grid::OutlineSegment>& cords,
    const std::vector<Slab::AdjacentBeamRow>& adj_beams,
    const std::vector<Property::SlabFoldPropRow>& slabProps);

}  // namespace Utils
