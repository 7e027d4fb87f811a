#include "members/section_queries.h"

#include <cmath>
#include <numbers>
#include <string>

#include "sections/section_error.h"
#include "sections/tapered_kinds.h"
#include "text/number_text.h"

namespace Utils {

namespace {

// The dimension text as stored, for messages.
std::string joined(const SectionItems& paras) {
  std::string text;
  for (std::size_t i = 0; i < paras.size(); ++i) text += (i ? "," : "") + paras[i];
  return text;
}

}  // namespace

double sectionItem(const SectionItems& paras, std::size_t n) {
  if (n >= paras.size()) {
    throw Sect::SectionError("dimension text \"" + joined(paras) + "\" has no item " +
                             std::to_string(n));
  }
  try {
    return text::parseFloat(paras[n]);
  } catch (const text::ParseError&) {
    throw Sect::SectionError("item " + std::to_string(n) + " \"" + paras[n] +
                             "\" of dimension text \"" + joined(paras) + "\" is not a number");
  }
}

bool IsTaper(double kind) { return Sect::isTaperedKind(kind); }

double getHeightOfSect(double kind, const SectionItems& paras) {
  // Only the items the kind uses are read: a round section "3,500" has no item 2 and needs
  // none.
  if (kind == 3 || kind == 8 || kind == 12 || kind == 103 || kind == 104 || kind == 105) {
    return sectionItem(paras, 1);  // the outer diameter
  }
  if (kind == 30) return sectionItem(paras, 1);  // the tapered tube: the start's outer diameter
  if (kind == 4) {
    // A regular polygon: item 1 the diameter of its circumscribed circle, item 2 its number
    // of edges; the depth is twice the distance from the centre to an edge.
    const double diameter = sectionItem(paras, 1);
    const double edges = sectionItem(paras, 2);
    const double height = diameter * std::cos(std::numbers::pi / edges);
    if (edges == 0 || !std::isfinite(height)) {
      throw Sect::SectionError("a regular polygon of " + text::repr(edges) + " edges has no depth");
    }
    return height;
  }
  if (kind == 22) return sectionItem(paras, 3);  // the tapered I: its start depth
  // The angle: a negative depth only puts the horizontal leg at the top.
  if (kind == 28) return std::abs(sectionItem(paras, 2));
  return sectionItem(paras, 2);
}

App::Vector reviseDirection(const App::Vector& v, double kind, const SectionItems& paras) {
  double h1 = 0.0;
  double h2 = 0.0;
  if (kind == 21 || kind == 23) {
    h1 = sectionItem(paras, 2);
    h2 = sectionItem(paras, 3);
  } else if (kind == 22) {
    h1 = sectionItem(paras, 3);
    h2 = sectionItem(paras, 4);
  }
  return v + App::Vector(0.0, 0.0, h1 * 0.5 - h2 * 0.5);
}

}  // namespace Utils
