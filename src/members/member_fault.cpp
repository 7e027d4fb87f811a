#include "members/member_fault.h"

#include <cmath>

#include "text/split.h"

namespace Utils {

namespace {

// A stored value as a message names it: numbers as stored ("2", "2.5"), text quoted.
std::string stored(const db::Value& v) { return v.isText() ? "'" + v.asText() + "'" : v.str(); }

[[noreturn]] void undefinedSection(std::string_view undefinedKind, const db::Value& id,
                                   const db::Value& sectionKind) {
  throw MemberFault(memberName(undefinedKind, id) + ", 截面类型" + stored(sectionKind) + "未定义");
}

}  // namespace

std::string memberName(std::string_view kind, const db::Value& id) {
  return std::string(kind) + "_" + id.str();
}

void skipMember(std::string_view kind, const db::Value& id, std::string_view fault) {
  throw MemberFault(memberName(kind, id) + ", " + std::string(fault) + "，已跳过");
}

MemberSection readSection(std::string_view kind, std::string_view undefinedKind,
                          const db::Value& id, const db::Value& sectionKind,
                          const db::Value& shapeValue) {
  if (sectionKind.isNull()) skipMember(kind, id, "截面类型为空");
  // Kinds are integers; a text is no kind of the table, whatever it reads.
  if (sectionKind.isText()) undefinedSection(undefinedKind, id, sectionKind);
  if (shapeValue.isNull()) skipMember(kind, id, "截面参数为空");
  MemberSection section;
  section.kind = sectionKind.asDouble();
  section.shapeValue = shapeValue.isText() ? shapeValue.asText() : shapeValue.str();
  section.paras = text::split(section.shapeValue, ',');
  return section;
}

std::shared_ptr<const Sect::ProfileList> sectionProfiles(const RunContext& ctx,
                                                         const MemberSection& section,
                                                         std::string_view undefinedKind,
                                                         const db::Value& id,
                                                         const db::Value& sectionKind) {
  auto profiles = Sect::makeProfiles(ctx.model, ctx.profiles, section.kind, section.shapeValue);
  if (profiles->empty()) undefinedSection(undefinedKind, id, sectionKind);
  return profiles;
}

double storeyHeight(const db::Value& stdFlrId, const db::Value& height) {
  if (!height.isNumber() || !std::isfinite(height.asDouble())) {
    throw std::runtime_error("standard floor " + stdFlrId.str() + ": storey height " +
                             stored(height) + " is not a finite number");
  }
  return height.asDouble();
}

}  // namespace Utils
