#include "driver/utf8.h"

namespace Verdamo {

std::uint32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
  if (length == 0 || i + length > s.size()) {
    ++i;
    return 0xFFFD;
  }
  std::uint32_t cp = length == 1 ? lead : lead & (0x7FU >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto c = static_cast<unsigned char>(s[i + k]);
    if ((c >> 6) != 0x2) {
      ++i;
      return 0xFFFD;
    }
    cp = (cp << 6) | (c & 0x3FU);
  }
  i += length;
  return cp;
}

}  // namespace Verdamo
