#include "members/assembly.h"

#include "ifc/guid.h"
#include "ifc/model.h"

namespace Utils {

std::string create_guid() { return ifc::createGuid(); }

ifc::Entity CreateAssembly(const RunContext& ctx, std::string_view name,
                           const std::vector<ifc::Entity>& elements) {
  requireComplete(ctx);
  ifc::Model& model = ctx.model;
  const ifc::Entity assembly =
      model.create("IfcElementAssembly", {create_guid(), ctx.ownerHistory, name});
  // Mandatory under IFC2X3 only; IFC4 leaves it unset.
  if (model.schemaName() == "IFC2X3") assembly.set("PredefinedType", ifc::Enum{"NOTDEFINED"});
  model.create("IfcRelAggregates",
               {create_guid(), ctx.ownerHistory, "Assembly", ifc::Unset{}, assembly, elements});
  return assembly;
}

void AddMaterial(const RunContext& ctx, const ifc::Entity& element) {
  requireComplete(ctx);
  ifc::Model& model = ctx.model;
  const ifc::Entity material = model.create("IfcMaterial", {"Concrete"});
  model.create("IfcRelAssociatesMaterial",
               {create_guid(), ctx.ownerHistory, ifc::Unset{}, ifc::Unset{},
                std::vector<ifc::Entity>{element}, material});
}

}  // namespace Utils
