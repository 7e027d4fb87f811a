#pragma once
// The arguments of the Utils functions in the host's terms: product kinds as text, points and
// directions as Vectors or coordinate triples, clip planes as (point, normal) pairs, section
// items as a list of texts, and the neighbour pairs of the connectivity as (joint id, row) or
// (joint id, [rows]).

#include <pybind11/pybind11.h>

#include <vector>

#include "host/host_model.h"
#include "members/section_queries.h"
#include "members/solid_builders.h"
#include "queries/beam.h"
#include "queries/palvek.h"
#include "vector/vector.h"

namespace host {

// "Beam", "Column", "Wall", "Slab", "VirtualElement", "Opening", "Brace"; "Beam", "Wall",
// "Slab" for the revolved builder. Case-sensitive; anything else raises ValueError.
[[nodiscard]] Utils::StructureType structureTypeOf(const std::string& text);
[[nodiscard]] Utils::ArcStructureType arcStructureTypeOf(const std::string& text);

// A Vector or anything indexable by 0, 1 and 2 as numbers.
[[nodiscard]] App::Vector pointArgument(pybind11::handle value, const char* what);
// The same; a Vector given is normalised in place first, as the straight builder's callers
// expect of every direction they hand it.
[[nodiscard]] App::Vector directionArgument(pybind11::handle value, const char* what);
// None or a list of (point, normal) pairs.
[[nodiscard]] std::vector<Utils::ClipPlane> clipPlanesArgument(pybind11::handle value);
// None gives an unset handle.
[[nodiscard]] ifc::Entity optionalEntityOf(const HostModel& model, pybind11::handle value,
                                           const char* what);
// A section's dimension text split at "," (a list of texts); a text is split here.
[[nodiscard]] Utils::SectionItems sectionItemsArgument(pybind11::handle value);

// A beam's supporting beams, (joint id, BeamRow) per end; None (an arc beam) gives none.
struct SupportingBeams {
  explicit SupportingBeams(pybind11::handle value);
  std::vector<Beam::BeamRow> rows;
  std::vector<Beam::SupportingBeamPair> pairs;  // pointing into rows
};

// A wall's neighbouring walls, (joint id, WallRow) per end.
struct MeetingWalls {
  explicit MeetingWalls(pybind11::handle value);
  std::vector<Palvek::WallRow> rows;
  std::vector<Palvek::ConnectedWallPair> pairs;  // pointing into rows
};

// The beams framing into a wall's ends, (joint id, [BeamRow, ...]) per end.
struct FramingBeams {
  explicit FramingBeams(pybind11::handle value);
  std::vector<std::vector<Beam::BeamRow>> rows;
  std::vector<Palvek::ConnectedBeamsPair> pairs;  // pointing into rows
};

}  // namespace host
