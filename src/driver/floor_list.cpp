#include "driver/floor_list.h"

#include <cmath>
#include <cstdint>

#include "driver/verdamo.h"
#include "ifc/model.h"
#include "ifc/output_file.h"
#include "text/number_text.h"
#include "text/utf8.h"

namespace Verdamo {

namespace {

void appendEscape(std::string& out, std::uint32_t unit) {
  static constexpr char hex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out += hex[(unit >> shift) & 0xFU];
}

// Writes the JSON string with every character outside printable ASCII escaped.
void appendString(std::string& out, std::string_view s) {
  out += '"';
  std::size_t i = 0;
  while (i < s.size()) {
    // Malformed UTF-8 cannot come from the database's decoded text; U+FFFD keeps it visible.
    const std::int32_t decoded = text::nextCodePoint(s, i);
    const std::uint32_t cp = decoded < 0 ? 0xFFFDU : static_cast<std::uint32_t>(decoded);
    switch (cp) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      default:
        if (cp >= 0x20 && cp < 0x7F) {
          out += static_cast<char>(cp);
        } else if (cp <= 0xFFFF) {
          appendEscape(out, cp);
        } else {
          const std::uint32_t v = cp - 0x10000;
          appendEscape(out, 0xD800 + (v >> 10));
          appendEscape(out, 0xDC00 + (v & 0x3FF));
        }
    }
  }
  out += '"';
}

void appendValue(std::string& out, const db::Value& value) {
  if (value.isNull()) {
    out += "null";
  } else if (value.isInteger()) {
    out += std::to_string(value.asInteger());
  } else if (value.isReal()) {
    const double d = value.asDouble();
    // NaN and infinity have no JSON form.
    out += std::isfinite(d) ? text::repr(d) : "null";
  } else {
    appendString(out, value.asText());
  }
}

}  // namespace

std::string floorListJson(const std::vector<FloorListEntry>& floors) {
  std::string out = "[";
  for (std::size_t i = 0; i < floors.size(); ++i) {
    const FloorListEntry& f = floors[i];
    if (i > 0) out += ", ";
    out += "{\"Name\": ";
    appendValue(out, f.name);
    out += ", \"No\": ";
    appendValue(out, f.no);
    out += ", \"Elevation\": ";
    appendValue(out, f.elevation);
    out += ", \"Height\": ";
    appendValue(out, f.height);
    out += ", \"StdFlrNo\": ";
    appendValue(out, f.stdFlrNo);
    out += '}';
  }
  out += ']';
  return out;
}

std::filesystem::path floorListPath(const std::filesystem::path& output) {
  std::filesystem::path path = output;
  path += ".json";
  return path;
}

void writeFloorList(const std::filesystem::path& path, const std::vector<FloorListEntry>& floors) {
  // A file that cannot be written (a missing folder) is a fault of the run, not of the IFC
  // layer whose file writer it borrows.
  try {
    ifc::OutputFile file(path);
    file.stream() << floorListJson(floors);
    file.commit();
  } catch (const ifc::Error& e) {
    throw RunError(e.what());
  }
}

}  // namespace Verdamo
