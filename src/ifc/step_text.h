#pragma once
// Text forms of ISO 10303-21 values: REALs and strings.

#include <cstddef>
#include <string>
#include <string_view>

namespace ifc::step {

// Longest text formatReal writes.
inline constexpr std::size_t kMaxRealChars = 32;

// Writes a finite double as a STEP REAL with the shortest digits that read back to the same
// value: always a decimal point, exponent form below 1e-4 and from 1e16 on, upper-case E with
// at least two exponent digits (0., 3600., 0.017453292519943295, 1.E-05, 1.5E+20). Returns the
// number of characters written.
std::size_t formatReal(double value, char* out);

// Appends UTF-8 text as the inside of a STEP string literal: apostrophes and backslashes
// doubled, printable ASCII as is, everything else as \X2\HHHH\X0\ (UTF-16 code units) or,
// beyond the basic plane, \X4\HHHHHHHH\X0\. Throws std::invalid_argument on malformed UTF-8.
void appendEscaped(std::string& out, std::string_view utf8);

// appendEscaped between apostrophes: the whole STEP string literal.
void appendString(std::string& out, std::string_view utf8);

// Whether text is well-formed UTF-8.
bool isUtf8(std::string_view text);

// Decodes the inside of a STEP string literal (without the quotes) to UTF-8: '' and \\,
// \X2\..\X0\, \X4\..\X0\, \X\HH and \S\c. Throws std::invalid_argument on a bad escape.
std::string decodeString(std::string_view literal);

}  // namespace ifc::step
