#pragma once
// Numbers as text, written and read exactly as the model database's producer and the
// floor-list consumers expect them: Python's repr of a double, "{:0.0f}" formatting and
// float() parsing. All functions are locale-independent.

#include <stdexcept>
#include <string>
#include <string_view>

namespace text {

// A text that is not a finite decimal number. The message quotes the text.
class ParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Shortest text that reads back to the same double, in Python's repr form:
// "3600.0", "0.1", "1e-05", "1e+16", "-0.0", "inf", "nan".
[[nodiscard]] std::string repr(double value);

// Fixed notation without decimals, the exact binary value rounded half to even:
// 2.5 -> "2", 3.5 -> "4", -0.4 -> "-0".
[[nodiscard]] std::string fixed0(double value);

// Parses decimal text as Python's float() does: surrounding blanks, a sign, exponent forms and
// underscores between digits are accepted. Anything else, and any non-finite result
// ("inf", "nan", "1e400"), throws ParseError quoting the text.
[[nodiscard]] double parseFloat(std::string_view text);

}  // namespace text
