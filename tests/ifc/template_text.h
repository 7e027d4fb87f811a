#pragma once
// The converter's 29-line header template with its placeholders filled, as the driver fills it.

#include <string>
#include <string_view>

namespace ifc_test {

inline std::string templateText(std::string_view schema) {
  std::string t =
      "ISO-10303-21;\n"
      "HEADER;\n"
      "FILE_DESCRIPTION(('ViewDefinition [CoordinationView]'),'2;1');\n"
      "FILE_NAME('model.ifc','2026-12-08T05:49:00',(),(),'IfcOpenShell','IfcOpenShell','');\n"
      "FILE_SCHEMA(('$ifcschema'));\n"
      "ENDSEC;\n"
      "DATA;\n"
      "#1=IFCPERSON($,$,'',$,$,$,$,$);\n"
      "#2=IFCORGANIZATION($,'',$,$,$);\n"
      "#3=IFCPERSONANDORGANIZATION(#1,#2,$);\n"
      "#4=IFCAPPLICATION(#2,'$version','Brelonix','118df2cf_ed21_438e_a41');\n"
      "#5=IFCOWNERHISTORY(#3,#4,$,.ADDED.,$,#3,#4,1765173000);\n"
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
  t.replace(t.find("$ifcschema"), 10, schema);
  return t;
}

}  // namespace ifc_test
