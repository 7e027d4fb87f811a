#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace Verdamo {

// The code point of UTF-8 text at byte i, advancing i past it. A malformed or truncated
// sequence gives U+FFFD and advances by one byte.
[[nodiscard]] std::uint32_t nextCodePoint(std::string_view s, std::size_t& i);

}  // namespace Verdamo
