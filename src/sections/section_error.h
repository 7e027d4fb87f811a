#pragma once
// The fault of one section's data: a dimension text with too few items or an item that is
// not a number, or dimensions that cannot make a valid profile (a zero or negative size where
// the shape needs a positive one, a wall too thick for its section, a polygon of fewer than
// three edges). The member builders catch it, report the member on one line naming its kind,
// id and what() of this error, and skip the member; the run goes on. No builder writes a
// profile with such data, so no NaN, infinity or schema-invalid size reaches the IFC file.

#include <stdexcept>
#include <string>

namespace Sect {

class SectionError : public std::runtime_error {
 public:
  explicit SectionError(const std::string& reason) : std::runtime_error(reason) {}
};

}  // namespace Sect
