#pragma once
// Faulty data of one member: the member is reported on one line naming its kind, its id and
// the fault, and left out; the run goes on.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "db/value.h"
#include "ifc/value.h"
#include "members/messages.h"
#include "members/run_context.h"
#include "members/section_queries.h"
#include "sections/make_profiles.h"
#include "sections/section_error.h"
#include "vector/vector.h"

namespace Utils {

// what() is the whole report line.
class MemberFault : public std::runtime_error {
 public:
  explicit MemberFault(const std::string& line) : std::runtime_error(line) {}
};

// "Beam_12": the kind's name and the id in its stored form.
[[nodiscard]] std::string memberName(std::string_view kind, const db::Value& id);

// Throws MemberFault "Beam_12, <fault>，已跳过".
[[noreturn]] void skipMember(std::string_view kind, const db::Value& id, std::string_view fault);

// Runs build(), which returns the member's products. A fault of the member's data (a
// MemberFault, or a Sect::SectionError or App::GeometryError of its section or geometry) is
// reported on one line and gives no products; anything else propagates.
template <typename Build>
std::vector<ifc::Entity> reportingFaults(std::string_view kind, const db::Value& id,
                                         Build&& build) {
  try {
    return build();
  } catch (const MemberFault& e) {
    report(e.what());
  } catch (const Sect::SectionError& e) {
    report(memberName(kind, id) + ", " + e.what() + "，已跳过");
  } catch (const App::GeometryError& e) {
    report(memberName(kind, id) + ", " + e.what() + "，已跳过");
  }
  return {};
}

// A member's section as its builder reads it: the kind as a number, the dimension text and
// its items.
struct MemberSection {
  double kind = 0;
  std::string shapeValue;
  SectionItems paras;
};

// The section of a member named `kind` and `id`. A kind stored as text, or one without
// profiles, is an undefined section type, reported as "<undefinedKind>_12, 截面类型2未定义"
// with the kind in its stored form ('21' for a text); a missing (NULL) kind or dimension
// text is reported as empty. Throws MemberFault in these cases.
[[nodiscard]] MemberSection readSection(std::string_view kind, std::string_view undefinedKind,
                                        const db::Value& id, const db::Value& sectionKind,
                                        const db::Value& shapeValue);

// The section's profiles from the run's cache; none throws MemberFault with the
// undefined-section line. Throws Sect::SectionError for a text the kind cannot read.
[[nodiscard]] std::shared_ptr<const Sect::ProfileList> sectionProfiles(
    const RunContext& ctx, const MemberSection& section, std::string_view undefinedKind,
    const db::Value& id, const db::Value& sectionKind);

// The storey height of the standard floor the members are built for. A height that is not a
// finite number is a fault of the floor, not of one member: throws std::runtime_error.
[[nodiscard]] double storeyHeight(const db::Value& stdFlrId, const db::Value& height);

}  // namespace Utils
