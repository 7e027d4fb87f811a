#pragma once
// The ISO 10303-21 text every IFC model of a run starts from: the file header, the owner
// history with its person, organisation and application, the units (millimetre, square and
// cubic metre, degree) and the two representation contexts ('3D' 'Model' and 'Plan').

#include <cstdint>
#include <string>
#include <string_view>

namespace Verdamo {

// The template with its placeholders: "$filename", "$timestamp", "$ifcschema", "$owner",
// "$company", "$now" ("$email" does not occur; "$version" is never replaced).
extern const std::string_view ifcTemplate;

// A text as an ISO 10303-21 string body (without the enclosing apostrophes), from UTF-8:
// apostrophe and backslash doubled, each run of characters outside printable ASCII in one
// "\X2\...\X0\" group of four hex digits per character ("\X4\" and eight digits beyond the
// basic plane).
[[nodiscard]] std::string stepString(std::string_view utf8);

// The template filled for one run: schema ("IFC2X3" or "IFC4"), the output's file name, and
// the current time as seconds since 1970 (UTC). Owner and company are left empty. Each
// placeholder of the template is replaced once; the inserted values are not searched again,
// so a file name holding "$timestamp" stays as it is.
[[nodiscard]] std::string fillTemplate(std::string_view schema, std::string_view fileName,
                                       std::int64_t now);

}  // namespace Verdamo
