#include "driver/header_template.h"

#include <array>
#include <ctime>
#include <utility>

#include "ifc/step_text.h"
#include "text/utf8.h"

namespace Verdamo {

const std::string_view ifcTemplate =
    "ISO-10303-21;\n"
    "HEADER;\n"
    "FILE_DESCRIPTION(('ViewDefinition [CoordinationView]'),'2;1');\n"
    "FILE_NAME('$filename','$timestamp',(),(),'IfcOpenShell','IfcOpenShell','');\n"
    "FILE_SCHEMA(('$ifcschema'));\n"
    "ENDSEC;\n"
    "DATA;\n"
    "#1=IFCPERSON($,$,'$owner',$,$,$,$,$);\n"
    "#2=IFCORGANIZATION($,'$company',$,$,$);\n"
    "#3=IFCPERSONANDORGANIZATION(#1,#2,$);\n"
    "#4=IFCAPPLICATION(#2,'$version','Brelonix','118df2cf_ed21_438e_a41');\n"
    "#5=IFCOWNERHISTORY(#3,#4,$,.ADDED.,$,#3,#4,$now);\n"
    "#6=IFCDIRECTION((1.,0.,0.));\n"
    "#7=IFCDIRECTION((0.,0.,1.));\n"
    "#8=IFCCARTESIANPOINT((0.,0.,0.));\n"
    "#9=IFCAXIS2PLACEMENT3D(#8,#7,#6);\n"
    "#10=IFCDIRECTION((0.,1.,0.));\n"
    "#12=IFCDIMENSIONALEXPONENTS(0,0,0,0,0,0,0);\n"
    "#13=IFCSIUNIT(*,.LENGTHUNIT.,.MILLI.,.METRE.);\n"
    "#14=IFCSIUNIT(*,.AREAUNIT.,$,.SQUARE_METRE.);\n"
    "#15=IFCSIUNIT(*,.VOLUMEUNIT.,$,.CUBIC_METRE.);\n"
    "#16=IFCSIUNIT(*,.PLANEANGLEUNIT.,$,.RADIAN.);\n"
    "#17=IFCMEASUREWITHUNIT(IFCPLANEANGLEMEASURE(0.017453292519943295),#16);\n"
    "#18=IFCCONVERSIONBASEDUNIT(#12,.PLANEANGLEUNIT.,'DEGREE',#17);\n"
    "#19=IFCUNITASSIGNMENT((#13,#14,#15,#18));\n"
    "#20=IFCGEOMETRICREPRESENTATIONCONTEXT('3D','Model',3,1.E-005,#9,$);\n"
    "#21=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Plan',3,1.E-005,#9,$);\n"
    "ENDSEC;\n"
    "END-ISO-10303-21;\n";

namespace {

std::string utcTimestamp(std::int64_t now) {
  const std::time_t t = static_cast<std::time_t>(now);
  std::tm tm{};
  gmtime_r(&t, &tm);
  std::array<char, 32> buffer{};
  const std::size_t n = std::strftime(buffer.data(), buffer.size(), "%Y-%m-%dT%H:%M:%S", &tm);
  return std::string(buffer.data(), n);
}

}  // namespace

std::string stepString(std::string_view utf8) {
  // A file name need not be UTF-8: each malformed byte becomes U+FFFD, as a file name should
  // never end the run.
  std::string valid;
  valid.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const std::int32_t cp = text::nextCodePoint(utf8, i);
    text::appendUtf8(valid, cp < 0 ? 0xFFFDU : static_cast<std::uint32_t>(cp));
  }
  std::string out;
  ifc::step::appendEscaped(out, valid);
  return out;
}

std::string fillTemplate(std::string_view schema, std::string_view fileName, std::int64_t now) {
  const std::pair<std::string_view, std::string> values[] = {
      {"$ifcschema", std::string(schema)},
      {"$owner", ""},
      {"$company", ""},
      {"$email", ""},
      {"$now", std::to_string(now)},
      {"$filename", stepString(fileName)},
      {"$timestamp", utcTimestamp(now)},
  };
  std::string out;
  out.reserve(ifcTemplate.size() + fileName.size() + 32);
  std::size_t pos = 0;
  while (pos < ifcTemplate.size()) {
    const std::size_t dollar = ifcTemplate.find('$', pos);
    if (dollar == std::string_view::npos) {
      out.append(ifcTemplate.substr(pos));
      break;
    }
    out.append(ifcTemplate.substr(pos, dollar - pos));
    pos = dollar;
    bool replaced = false;
    for (const auto& [placeholder, value] : values) {
      if (ifcTemplate.substr(pos, placeholder.size()) == placeholder) {
        out += value;
        pos += placeholder.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      out += '$';
      ++pos;
    }
  }
  return out;
}

}  // namespace Verdamo
