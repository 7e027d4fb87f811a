#include "text/split.h"

namespace text {

std::vector<std::string> split(std::string_view s, char sep) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (true) {
    const std::size_t pos = s.find(sep, start);
    if (pos == std::string_view::npos) {
      items.emplace_back(s.substr(start));
      return items;
    }
    items.emplace_back(s.substr(start, pos - start));
    start = pos + 1;
  }
}

}  // namespace text
