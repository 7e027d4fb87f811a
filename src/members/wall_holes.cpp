#include "members/wall_holes.h"

#include <optional>
#include <string>

#include "members/messages.h"
#include "members/solid_builders.h"
#include "members/wall_arc.h"
#include "members/wall_support.h"
#include "readers/field_reader.h"
#include "sections/make_profiles.h"
#include "vector/vector.h"

namespace Utils {

namespace {

using App::Vector;

// How far an opening reaches beyond each face of its wall, mm.
constexpr double kBeyondFace = 20.0;

// Distance of the opening's start edge from end 1 along a wall of length L, by its code.
double startOf(double code, double L, double w) {
  if (code == 1.0) return 0.0;
  if (code == 0.0) return L / 2.0 - w / 2.0;
  if (code == -1.0) return L - w;
  if (code > 0.0) return code;
  return L - (w - code);
}

}  // namespace

std::vector<ifc::Entity> CreateHolesInWall(const RunContext& ctx, const Palvek::WallRow& wall,
                                           std::span<const Palvek::WallHoleRow> wallHoles) {
  std::vector<ifc::Entity> holes;
  if (wallHoles.empty()) return holes;
  double b = 0.0;
  std::optional<WallArc> arc;
  try {
    b = wallThickness(wall);
    if (wall.planVector().Length() < kWallZeroLength) throw WallFault("墙长度为0");
    if (wall.isArc()) arc.emplace(wall, b);
  } catch (const WallFault& fault) {
    report("Wall_" + wall.wallId.str() + ", " + fault.what() + "，其洞口已跳过");
    return holes;
  }

  const double x1 = wall.x1, y1 = wall.y1;
  const double ecc_w = wall.ecc;
  const Vector a = wall.planVector();
  const double L = a.Length();
  const Vector left = Vector(0, 0, 1).cross(a);
  const Vector u = a / L;
  const Vector n = left / L;

  for (const Palvek::WallHoleRow& hole : wallHoles) {
    // Openings have no id of their own: they are named by their wall's grid line, as the
    // opening query names them.
    const db::Row named{hole.ecc, hole.hDiff, hole.b, hole.h, wall.gridId};
    readers::FieldReader f(named, "WallHole", 4, 4);
    const double w = f.number(2, "B");
    const double h = f.number(3, "H");
    if (!f.reportTo(messages())) continue;

    ifc::Entity profile;
    try {
      profile =
          Sect::makeProfiles(ctx.model, ctx.profiles, 1, "1," + hole.b.str() + "," + hole.h.str())
              ->front();
    } catch (const Sect::SectionError& e) {
      report(skippedLine("WallHole", wall.gridId, e.what()));
      continue;
    }
    if (arc) {
      // Along the arc, square to it at the opening's middle.
      try {
        const WallHoleBox box =
            arc->holeBox(startOf(hole.ecc, arc->length(), w) + w / 2.0, w, kBeyondFace);
        holes.push_back(CreateStraightStructure(
            ctx, StructureType::Opening, "Wall_Hole", profile, box.depth,
            box.inner + Vector(0.0, 0.0, hole.hDiff + h / 2.0), box.across, box.along));
      } catch (const WallFault& e) {
        report(skippedLine("WallHole", wall.gridId, e.what()));
      } catch (const App::GeometryError& e) {
        report(skippedLine("WallHole", wall.gridId, e.what()));
      }
      continue;
    }
    const Vector p0(x1, y1, hole.hDiff);
    const Vector p1 = p0 + u * startOf(hole.ecc, L, w);
    // The middle of the opening's face on the plane 20 mm beyond the wall's right face.
    const Vector pos =
        p1 + u * (w / 2.0) + Vector(0.0, 0.0, h / 2.0) + n * ((ecc_w - b / 2.0) - kBeyondFace);
    try {
      holes.push_back(CreateStraightStructure(ctx, StructureType::Opening, "Wall_Hole", profile,
                                              b + 2.0 * kBeyondFace, pos, left, a));
    } catch (const App::GeometryError& e) {
      report(skippedLine("WallHole", wall.gridId, e.what()));
    }
  }
  return holes;
}

}  // namespace Utils
