#pragma once
// UTF-8 code points, one at a time: the decoder every text encoder of the project shares.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The code point at s[i], advancing i past it. Malformed UTF-8 (a bad lead or trail byte, a
// truncated sequence, an overlong form, a surrogate, a value beyond U+10FFFF) gives -1 and
// advances i by one byte.
[[nodiscard]] std::int32_t nextCodePoint(std::string_view s, std::size_t& i);

// Appends the UTF-8 form of a code point up to U+10FFFF.
void appendUtf8(std::string& out, std::uint32_t cp);

}  // namespace text
