#pragma once

#include <string>
#include <string_view>

namespace db {

// Decodes GBK bytes to UTF-8, dropping what does not decode: a byte that cannot start a
// character is dropped; a lead byte followed by an invalid trail byte is dropped and the
// trail byte is read again; a lone lead byte at the end is dropped.
[[nodiscard]] std::string decodeGbk(std::string_view bytes);

// Encodes UTF-8 text as GBK (for writing test and sample databases). Throws
// std::invalid_argument for a character GBK cannot hold.
[[nodiscard]] std::string encodeGbk(std::string_view utf8);

}  // namespace db
