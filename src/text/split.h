#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace text {

// Splits at every separator without trimming; empty items are kept, so "a,,b" gives three
// items and "" gives one empty item (Python's str.split(sep)).
[[nodiscard]] std::vector<std::string> split(std::string_view s, char sep);

}  // namespace text
