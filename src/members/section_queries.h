#pragma once
// What the linear-member builders ask of a section before they place a body: is it tapered,
// how deep is it, and how is a tapered beam's axis tilted.

#include <string>
#include <vector>

#include "vector/vector.h"

namespace Utils {

// The section's dimension text split at ","; item 0 is never read.
using SectionItems = std::vector<std::string>;

// Item n of the dimension text as a finite number. Throws Sect::SectionError naming the text
// when the item is missing or not a number.
[[nodiscard]] double sectionItem(const SectionItems& paras, std::size_t n);

// True for the tapered kinds 21, 22, 23, 30, 50 and 51: the one list of tapered kinds.
[[nodiscard]] bool IsTaper(double kind);

// Depth of the section in mm. Throws Sect::SectionError when an item it reads is missing or
// not a number.
[[nodiscard]] double getHeightOfSect(double kind, const SectionItems& paras);

// The axis v of a tapered beam tilted so that it joins the centres of the start and end
// sections hanging from the beam's top. Throws Sect::SectionError like getHeightOfSect.
[[nodiscard]] App::Vector reviseDirection(const App::Vector& v, double kind,
                                          const SectionItems& paras);

}  // namespace Utils
