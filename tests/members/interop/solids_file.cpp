// Writes an IFC file of products made by the shared solid builders and of arc members made by
// their builders, and beside it (<file>.boxes.json) the box each product must fill in world
// coordinates, mm, and for some its volume, mm³, so that boxes_check.mjs can compare what
// independent readers show with what was meant.
//
// usage: members_solids_file <file.ifc> <IFC2X3|IFC4>

#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "driver/header_template.h"
#include "driver/mapped_copies.h"
#include "ifc/model.h"
#include "members/assembly.h"
#include "members/canti_slab.h"
#include "members/linear_members.h"
#include "members/run_context.h"
#include "members/slab_builder.h"
#include "members/solid_builders.h"
#include "members/wall_builder.h"
#include "members/wall_holes.h"
#include "sections/make_profiles.h"
#include "text/number_text.h"

namespace {

using App::Vector;
using Utils::StructureType;

struct Box {
  Vector min, max;
  double volume = 0;  // 0: not checked
};

struct Solid {
  const char* name;
  bool ifc4Only;
  // Builds the product named `name`.
  std::function<void(const Utils::RunContext&, const char* name)> build;
  Box expected;
};

ifc::Entity rectangle(const Utils::RunContext& ctx, double b, double h) {
  return Sect::makeProfiles(ctx.model, ctx.profiles, 1, "1," + text::repr(b) + "," + text::repr(h))
      ->front();
}

// A b x h rectangle swept by depth from `at` along world +Z: a solid for union and cut, in the
// product's frame.
ifc::Entity prism(const Utils::RunContext& ctx, double b, double h, double depth, Vector at) {
  ifc::Model& m = ctx.model;
  const ifc::Entity position =
      m.create("IfcAxis2Placement3D", {m.create("IfcCartesianPoint", {ifc::List{at.x, at.y, at.z}}),
                                       ctx.directionZ, ctx.directionX});
  return m.create("IfcExtrudedAreaSolid", {rectangle(ctx, b, h), position, ctx.directionZ, depth});
}

const Floor::StdFloorRow storey{1, 3000, "0,120", 1};

// An arc wall 200 thick and 3000 high about (x0, y0) from (x1, y1) to (x2, y2).
Palvek::WallRow arcWall(int id, double x0, double y0, double x1, double y1, double x2, double y2,
                        double ecc) {
  Palvek::WallRow w;
  w.wallId = id;
  w.gridId = id;
  w.ecc = ecc;
  w.x1 = x1;
  w.y1 = y1;
  w.x2 = x2;
  w.y2 = y2;
  w.b = 200;
  w.hDiff1 = w.hDiff2 = w.hDiffB = w.zDiff1 = w.zDiff2 = 0;
  w.axisJt1Id = -1;
  w.x0 = x0;
  w.y0 = y0;
  return w;
}

// An arc cantilever slab 150 thick, its top at the storey top, along the arc about (x0, y0)
// from (x1, y1) to (x2, y2).
Slab::CantiSlabRow arcCantiSlab(int id, double x0, double y0, double x1, double y1, double x2,
                                double y2, double side, double width) {
  Slab::CantiSlabRow c;
  c.id = id;
  c.side = side;
  c.width = width;
  c.thick = 150;
  c.x1 = x1;
  c.y1 = y1;
  c.x2 = x2;
  c.y2 = y2;
  c.axisJt1Id = -1;
  c.x0 = x0;
  c.y0 = y0;
  return c;
}

// The area of the strip |t| <= w / 2 of a circle of radius r on one side of its centre.
double stripOfCircle(double r, double w) {
  return w / 2 * std::sqrt(r * r - w * w / 4) + r * r * std::asin(w / (2 * r));
}

const double pi = std::acos(-1.0);
const double r2 = std::sqrt(2.0);
const double r3 = std::sqrt(3.0);
const double h2 = 100.0 / r2;  // half of 200 mm seen at 45 degrees

const std::vector<Solid> solids = {
    // A beam along +X: local Z the axis, local X to the right (-Y), the profile's 400 down.
    {"Plain beam",
     false,
     [](const auto& ctx, const char* name) {
       Utils::CreateStraightStructure(ctx, StructureType::Beam, name, rectangle(ctx, 200, 400),
                                      3000, {0, 0, 3000}, {1, 0, 0}, {0, -1, 0});
     },
     {{0, -100, 2800}, {3000, 100, 3200}}},
    // The same beam cut square to its axis at 2000 mm.
    {"Beam cut at its end",
     false,
     [](const auto& ctx, const char* name) {
       Utils::StraightOptions o;
       o.clipPlanes = {{{0, 0, 2000}, {0, 0, -1}}};
       Utils::CreateStraightStructure(ctx, StructureType::Beam, name, rectangle(ctx, 200, 400),
                                      3000, {0, 2000, 3000}, {1, 0, 0}, {0, -1, 0}, o);
     },
     {{0, 1900, 2800}, {2000, 2100, 3200}}},
    // Swept along the product's X by its solid frame, cut by planes whose normals lie
    // along -X and +X.
    {"Solid along X cut by X planes",
     false,
     [](const auto& ctx, const char* name) {
       Utils::StraightOptions o;
       o.solid = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}};
       o.clipPlanes = {{{2000, 0, 0}, {-1, 0, 0}}, {{500, 0, 0}, {2, 0, 0}}};
       Utils::CreateStraightStructure(ctx, StructureType::Wall, name, rectangle(ctx, 300, 200),
                                      3000, {0, 4000, 0}, {0, 0, 1}, {1, 0, 0}, o);
     },
     {{500, 3850, -100}, {2000, 4150, 100}}},
    // A brace rising at 45 degrees by its product frame.
    {"Brace inclined by its placement",
     false,
     [](const auto& ctx, const char* name) {
       Utils::CreateStraightStructure(ctx, StructureType::Brace, name, rectangle(ctx, 200, 200),
                                      1000 * r2, {0, 6000, 0}, {1, 0, 1}, {-1, 0, 1});
     },
     {{-h2, 5900, -h2}, {1000 + h2, 6100, 1000 + h2}}},
    // The same brace inclined by its solid frame: swept along the solid's own Z.
    {"Brace inclined by its solid frame",
     false,
     [](const auto& ctx, const char* name) {
       Utils::StraightOptions o;
       o.solid = {{0, 0, 0}, {-1, 0, 1}, {1, 0, 1}};
       Utils::CreateStraightStructure(ctx, StructureType::Brace, name, rectangle(ctx, 200, 200),
                                      1000 * r2, {0, 8000, 0}, {0, 0, 1}, {1, 0, 0}, o);
     },
     {{-h2, 7900, -h2}, {1000 + h2, 8100, 1000 + h2}}},
    // A column tapering from 200 x 300 at its foot to 200 x 600 at its head.
    {"Tapered column",
     true,
     [](const auto& ctx, const char* name) {
       Utils::StraightOptions o;
       o.section2 = rectangle(ctx, 200, 600);
       Utils::CreateStraightStructure(ctx, StructureType::Column, name, rectangle(ctx, 200, 300),
                                      6000, {0, 10000, 0}, {0, 0, 1}, {1, 0, 0}, o);
     },
     {{-100, 9700, 0}, {100, 10300, 6000}}},
    // A 1000 mm cube with a 200 x 200 post standing 500 above it and the side x < -200 cut off.
    // The post reaches into the cube: faces that only touch are beyond some readers.
    {"Slab with union and cut",
     false,
     [](const auto& ctx, const char* name) {
       Utils::StraightOptions o;
       o.unionSolid = prism(ctx, 200, 200, 600, {100, 0, 900});
       o.cut = prism(ctx, 400, 1200, 1100, {-400, 0, -50});
       Utils::CreateStraightStructure(ctx, StructureType::Slab, name, rectangle(ctx, 1000, 1000),
                                      1000, {0, 12000, 0}, {0, 0, 1}, {1, 0, 0}, o);
     },
     {{-200, 11500, 0}, {500, 12500, 1500}}},
    // A wall 200 thick and 3000 high turned by 90 degrees about a vertical axis 5000 mm away:
    // from the profile's plane (local XY) a quarter turn about local +Y towards local -Z.
    {"Revolved wall",
     false,
     [](const auto& ctx, const char* name) {
       ifc::Model& m = ctx.model;
       const ifc::Entity axis = m.create(
           "IfcAxis1Placement",
           {m.create("IfcCartesianPoint", {ifc::List{-5000.0, 0.0, 0.0}}), ctx.directionY});
       Utils::CreateArcStructure(ctx, Utils::ArcStructureType::Wall, name,
                                 rectangle(ctx, 200, 3000), axis, 90.0, {5000, 20000, 5100},
                                 {0, 0, 1}, {1, 0, 0});
     },
     {{0, 18500, 0}, {5100, 21500, 5100}}},
    // Ecc 100 keeps the arc's centre: radii 5000 to 5200 over the quarter circle.
    {"Wall_1",
     false,
     [](const auto& ctx, const char*) {
       (void)Utils::CreateWall(ctx, arcWall(1, 80000, 0, 85000, 0, 80000, 5000, 100), storey, {},
                               {});
     },
     {{80000, 0, 0}, {85200, 5200, 3000}}},
    // Clockwise from (0, 35000) to (5000, 30000) with Ecc 100: radii 4950 to 5250, 300 wide.
    {"Beam_2",
     false,
     [](const auto& ctx, const char*) {
       Beam::BeamRow b;
       b.beamId = 2;
       b.ecc = 100;
       b.x1 = 0;
       b.y1 = 35000;
       b.x2 = 5000;
       b.y2 = 30000;
       b.shapeVal = "1,300,600";
       b.mat = 6;
       b.kind = 1;
       b.axisJt1Id = -1;
       b.x0 = 0;
       b.y0 = 30000;
       (void)Utils::CreateBeam(ctx, b, storey, {});
     },
     {{0, 30000, 2400}, {5250, 35250, 3000}}},
    // Clockwise, outwards: radii 5000 to 6000.
    {"CantiSlab_3",
     false,
     [](const auto& ctx, const char*) {
       (void)Utils::CreateCantiSlab(ctx, arcCantiSlab(3, 0, 40000, 0, 45000, 5000, 40000, 1, 1000),
                                    storey, 120, std::span<const Slab::SlabRow>{});
     },
     {{0, 40000, 2850}, {6000, 46000, 3000}, pi / 4 * (6000.0 * 6000 - 5000.0 * 5000) * 150}},
    // Inwards as wide as the radius: the sector of 60 degrees.
    {"CantiSlab_4",
     false,
     [](const auto& ctx, const char*) {
       (void)Utils::CreateCantiSlab(
           ctx, arcCantiSlab(4, 0, 50000, 5000, 50000, 2500, 50000 + 2500 * r3, -1, 5000), storey,
           120, std::span<const Slab::SlabRow>{});
     },
     {{0, 50000, 2850}, {5000, 50000 + 2500 * r3, 3000}, pi / 6 * 5000.0 * 5000 * 150}},
    // A door 1000 wide and 2100 high centred on a quarter circle of radius 5000 with Ecc 100:
    // the wall's band from radius 5000 to 5200 loses the strip the door's box crosses.
    {"Wall_5",
     false,
     [](const auto& ctx, const char*) {
       const Palvek::WallRow wall = arcWall(5, 0, 60000, 5000, 60000, 0, 65000, 100);
       const ifc::Entity product = *Utils::CreateWall(ctx, wall, storey, {}, {});
       const Palvek::WallHoleRow door{0, 0, 1000, 2100};
       for (const ifc::Entity& opening : Utils::CreateHolesInWall(ctx, wall, {&door, 1})) {
         ctx.model.create("IfcRelVoidsElement", {Utils::create_guid(), ctx.ownerHistory,
                                                 ifc::Unset{}, ifc::Unset{}, product, opening});
       }
     },
     {{0, 60000, 0},
      {5200, 65200, 3000},
      pi / 4 * (5200.0 * 5200 - 5000.0 * 5000) * 3000 -
          (stripOfCircle(5200, 1000) - stripOfCircle(5000, 1000)) * 2100}},
    // A sliver 15 mm wide over 12 m whose every corner is within 0.01 rad of straight or of
    // folding back, listed from its apex: laid flat, 120 thick, its top at the storey top.
    {"Slab_6",
     false,
     [](const auto& ctx, const char*) {
       Slab::SlabRow sliver;
       sliver.id = 6;
       sliver.thick = 120;
       sliver.vertX = "6000,12000,0,";
       sliver.vertY = "70015,70000,70000,";
       sliver.vertZ = "0,0,0,";
       (void)Utils::CreateSlab(ctx, sliver, storey, 120, {}, {}, {});
     },
     {{0, 70000, 2880}, {12000, 70015, 3000}, 12000.0 * 15 / 2 * 120}},
};

std::string json(const Vector& v) {
  std::string out = "[";
  out += text::repr(v.x);
  out += ", ";
  out += text::repr(v.y);
  out += ", ";
  out += text::repr(v.z);
  out += "]";
  return out;
}

// One entry "name": {"min": [...], "max": [...]} of the boxes file.
void addBox(std::string& boxes, const std::string& name, const Box& box) {
  boxes += boxes.empty() ? "{\n \"" : ",\n \"";
  boxes += name;
  boxes += "\": {\"min\": ";
  boxes += json(box.min);
  boxes += ", \"max\": ";
  boxes += json(box.max);
  if (box.volume != 0) {
    boxes += ", \"volume\": ";
    boxes += text::repr(box.volume);
  }
  boxes += "}";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: members_solids_file <file.ifc> <IFC2X3|IFC4>\n";
    return 2;
  }
  const std::string path = argv[1];
  const std::string schema = argv[2];
  try {
    auto model = ifc::Model::parse(Verdamo::fillTemplate(schema, "solids.ifc", 0));
    Sect::ProfileCache profiles;
    const Utils::RunContext ctx = Utils::makeRunContext(*model, profiles);
    // The project carries the template's units (mm, degrees), which readers need to scale
    // lengths and to read revolution angles.
    const ifc::Entity project =
        model->create("IfcProject", {Utils::create_guid(), ctx.ownerHistory, "Solids"});
    project.set("RepresentationContexts", ifc::List{ctx.context});
    project.set("UnitsInContext", model->by_type("IfcUnitAssignment").front());
    std::string boxes;
    for (const Solid& solid : solids) {
      if (solid.ifc4Only && schema != "IFC4") continue;
      solid.build(ctx, solid.name);
      addBox(boxes, solid.name, solid.expected);
    }
    // A copy of the first product through a mapped item, as the driver copies the members of
    // a standard floor into further storeys: it must fill the same box.
    const ifc::Entity first = model->by_type("IfcBeam").front();
    Verdamo::ObjItemMap items;
    Verdamo::mapObjects(ctx, items, {first});
    (void)Verdamo::cloneObjects(ctx, items, {first});
    addBox(boxes, std::string(solids.front().name) + "_cloned", solids.front().expected);
    boxes += "\n}\n";
    const std::vector<std::string> problems = model->validate();
    for (const std::string& problem : problems) std::cerr << problem << "\n";
    if (!problems.empty()) return 1;
    model->writeFile(path);
    std::ofstream(path + ".boxes.json") << boxes;
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "members_solids_file: " << e.what() << "\n";
    return 1;
  }
}
