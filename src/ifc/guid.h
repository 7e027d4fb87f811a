#pragma once
// IFC GlobalIds: 128-bit UUIDs in the 22-character base-64 form of IFC
// (alphabet 0-9 A-Z a-z _ $, the first character holding the top two bits).

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ifc {

using Uuid = std::array<std::uint8_t, 16>;

// A new time-based (version 1) UUID in compressed form. The node field is a random 48-bit
// value with the multicast bit set, drawn once per process. Unique across threads.
[[nodiscard]] std::string createGuid();

[[nodiscard]] std::string compressGuid(const Uuid& uuid);
// Throws ifc::Error for text that is not a well-formed compressed GlobalId.
[[nodiscard]] Uuid expandGuid(std::string_view compressed);

}  // namespace ifc
