// Creates and writes about 1 000 000 typical geometry entities (points, directions,
// placements, profiles, extrusions, representations, products) and prints creation and
// writing speed and peak memory per entity, then reads the file back.
//
//   ifc_write_bench [entity count] [output path]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "ifc/guid.h"
#include "ifc/model.h"

namespace {

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t wanted = argc > 1 ? std::stoul(argv[1]) : 1000000;
  const std::filesystem::path output =
      argc > 2 ? std::filesystem::path(argv[2])
               : std::filesystem::temp_directory_path() / "ifc_write_bench.ifc";
  const long baseKilobytes = peakKilobytes();

  ifc::Model model("IFC2X3");
  const auto start = std::chrono::steady_clock::now();
  const ifc::Entity person = model.create("IfcPerson", {ifc::Value(), ifc::Value(), ""});
  const ifc::Entity organisation = model.create("IfcOrganization", {ifc::Value(), ""});
  const ifc::Entity user = model.create("IfcPersonAndOrganization", {person, organisation});
  const ifc::Entity application =
      model.create("IfcApplication", {organisation, "1", "bench", "bench"});
  const ifc::Entity owner =
      model.create("IfcOwnerHistory",
                   {user, application, ifc::Value(), "ADDED", ifc::Value(), user, application, 0});
  const ifc::Entity origin = model.create("IfcCartesianPoint", {ifc::List{0.0, 0.0, 0.0}});
  const ifc::Entity world = model.create("IfcAxis2Placement3D", {origin});
  const ifc::Entity context =
      model.create("IfcGeometricRepresentationContext", {"3D", "Model", 3, 1e-5, world});

  std::size_t member = 0;
  while (model.size() + 12 <= wanted || member == 0) {
    const double x = 1000.0 * static_cast<double>(member % 97);
    const double y = 750.5 * static_cast<double>(member % 89);
    const ifc::Entity point = model.create("IfcCartesianPoint", {ifc::List{x, y, 3600.0}});
    const ifc::Entity axis = model.create("IfcDirection", {ifc::List{0.0, 0.0, 1.0}});
    const ifc::Entity ref = model.create("IfcDirection", {ifc::List{0.6, 0.8, 0.0}});
    const ifc::Entity placement3d = model.create("IfcAxis2Placement3D", {point, axis, ref});
    const ifc::Entity local = model.create("IfcLocalPlacement", {ifc::Value(), placement3d});
    const ifc::Entity centre = model.create("IfcCartesianPoint", {ifc::List{0.0, -250.0}});
    const ifc::Entity placement2d = model.create("IfcAxis2Placement2D", {centre});
    const ifc::Entity profile =
        model.create("IfcRectangleProfileDef", {"AREA", "Rec_300*500", placement2d, 300.0, 500.0});
    const ifc::Entity solid = model.create(
        "IfcExtrudedAreaSolid", {profile, world, axis, 6000.0 + static_cast<double>(member % 7)});
    const ifc::Entity body =
        model.create("IfcShapeRepresentation", {context, "Body", "SweptSolid", ifc::List{solid}});
    const ifc::Entity shape =
        model.create("IfcProductDefinitionShape", {ifc::Value(), ifc::Value(), ifc::List{body}});
    model.create("IfcBeam", {ifc::createGuid(), owner, "Beam_" + std::to_string(member),
                             ifc::Value(), ifc::Value(), local, shape});
    ++member;
  }
  const double createSeconds = secondsSince(start);
  const std::size_t count = model.size();
  const long createdKilobytes = peakKilobytes();

  const auto writeStart = std::chrono::steady_clock::now();
  model.writeFile(output);
  const double writeSeconds = secondsSince(writeStart);
  const double megabytes = static_cast<double>(std::filesystem::file_size(output)) / 1e6;
  const long writtenKilobytes = peakKilobytes();

  const auto readStart = std::chrono::steady_clock::now();
  const std::size_t readCount = ifc::Model::readFile(output)->size();
  const double readSeconds = secondsSince(readStart);
  std::filesystem::remove(output);

  std::printf("entities:          %zu\n", count);
  std::printf("created:           %.0f entities/s (%.3f s)\n",
              static_cast<double>(count) / createSeconds, createSeconds);
  std::printf("written:           %.0f entities/s (%.3f s), %.1f MB at %.0f MB/s\n",
              static_cast<double>(count) / writeSeconds, writeSeconds, megabytes,
              megabytes / writeSeconds);
  std::printf("read back:         %.0f entities/s (%.3f s)\n",
              static_cast<double>(readCount) / readSeconds, readSeconds);
  std::printf(
      "peak memory:       %.0f bytes/entity after creation, %.0f after writing\n",
      static_cast<double>(createdKilobytes - baseKilobytes) * 1024.0 / static_cast<double>(count),
      static_cast<double>(writtenKilobytes - baseKilobytes) * 1024.0 / static_cast<double>(count));
  return 0;
}
