#include "bench/bench_support.h"

#include <fstream>
#include <string>

#include "ifc/guid.h"

namespace bench {

namespace {

// A kilobyte figure of /proc/self/status ("VmHWM:   1234 kB"), 0 where there is none.
std::size_t statusKilobytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stoul(line.substr(key.size()));
  }
  return 0;
}

// The line with a GlobalId in its first attribute (22 quoted characters) blanked out.
std::string withoutGuid(const std::string& line) {
  const std::size_t open = line.find('(');
  if (open == std::string::npos || open + 24 >= line.size() || line[open + 1] != '\'' ||
      line[open + 24] != '\'') {
    return line;
  }
  std::string blanked = line;
  blanked.replace(open + 2, 22, 22, '*');
  return blanked;
}

}  // namespace

std::size_t peakBytes() { return statusKilobytes("VmHWM:") * 1024; }

void resetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

void createTypicalEntities(ifc::Model& model, std::size_t count) {
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

  // Counted here: the model counts its records by visiting them, too slow to ask per member.
  constexpr std::size_t kPerMember = 12;
  std::size_t created = 8;
  std::size_t member = 0;
  while (created + kPerMember <= count || member == 0) {
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
    created += kPerMember;
    ++member;
  }
}

double bareCreateAndWrite(std::size_t count, const std::filesystem::path& path) {
  const Stopwatch watch;
  {
    ifc::Model model("IFC2X3");
    createTypicalEntities(model, count);
    model.writeFile(path);
  }
  return watch.seconds();
}

std::size_t countEntities(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  std::size_t count = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '#') ++count;
  }
  return count;
}

bool sameUpToGuidsAndTime(const std::filesystem::path& a, const std::filesystem::path& b,
                          std::string& difference) {
  std::ifstream inA(a), inB(b);
  std::string lineA, lineB;
  bool data = false;
  for (;;) {
    const bool gotA = static_cast<bool>(std::getline(inA, lineA));
    const bool gotB = static_cast<bool>(std::getline(inB, lineB));
    if (!gotA || !gotB) {
      if (gotA == gotB) return true;
      difference = "one file ends first: " + (gotA ? lineA : lineB);
      return false;
    }
    if (!data) {
      data = lineA == "DATA;";
      // The header holds the file name and the time stamp.
      if (lineA.rfind("FILE_NAME(", 0) == 0 && lineB.rfind("FILE_NAME(", 0) == 0) continue;
    }
    if (lineA == lineB) continue;
    if (lineA.find("=IFCOWNERHISTORY(") != std::string::npos &&
        lineB.find("=IFCOWNERHISTORY(") != std::string::npos) {
      continue;
    }
    if (withoutGuid(lineA) == withoutGuid(lineB)) continue;
    difference = lineA + "\n" + lineB;
    return false;
  }
}

}  // namespace bench
