#include "driver/mapped_copies.h"

#include <stdexcept>
#include <string>

#include "driver/products.h"
#include "ifc/guid.h"
#include "ifc/model.h"
#include "members/assembly.h"

namespace Verdamo {

namespace {

ifc::Entity mappedBody(const Utils::RunContext& ctx, const ifc::Entity& item) {
  return ctx.model.create("IfcShapeRepresentation",
                          {ctx.context, "Body", "MappedRepresentation", ifc::List{item}});
}

}  // namespace

void createItemForObj(const Utils::RunContext& ctx, ObjItemMap& objItemMap,
                      const ifc::Entity& obj) {
  ifc::Model& model = ctx.model;
  const ifc::Value prodShape = obj.get("Representation");
  if (prodShape.kind() != ifc::Value::Kind::Entity ||
      prodShape.asEntity().get("Representations").asList().empty()) {
    throw std::runtime_error(describe(obj) + " has no shape representation to share");
  }
  const ifc::Value shapeRepresentation =
      prodShape.asEntity().get("Representations").asList().front();

  const ifc::Entity item = model.create("IfcMappedItem");
  item.set("MappingSource",
           model.create("IfcRepresentationMap", {ctx.placement, shapeRepresentation}));
  item.set("MappingTarget",
           model.create("IfcCartesianTransformationOperator3D",
                        {ctx.directionX, ctx.directionY, ctx.origin, 1.0, ctx.directionZ}));
  prodShape.asEntity().set("Representations", ifc::List{mappedBody(ctx, item)});
  objItemMap[obj.id()] = item;
}

void mapObjects(const Utils::RunContext& ctx, ObjItemMap& objItemMap,
                const std::vector<ifc::Entity>& objectlists) {
  for (const ifc::Entity& obj : objectlists) {
    if (obj.type() == "IfcElementAssembly") {
      for (const ifc::Value& part : partsOf(obj))
        createItemForObj(ctx, objItemMap, part.asEntity());
    } else {
      createItemForObj(ctx, objItemMap, obj);
    }
  }
}

ifc::Entity createNewObj(const Utils::RunContext& ctx, const ObjItemMap& objItemMap,
                         const ifc::Entity& origin) {
  const auto item = objItemMap.find(origin.id());
  if (item == objItemMap.end()) {
    throw std::runtime_error(describe(origin) + " has no mapped item to copy");
  }
  ifc::Model& model = ctx.model;
  const ifc::Entity copy = model.create(origin.type(), {ifc::createGuid(), ctx.ownerHistory,
                                                        origin.get("Name").asString() + "_cloned"});
  copy.set("ObjectPlacement", origin.get("ObjectPlacement"));
  copy.set("Representation",
           model.create("IfcProductDefinitionShape",
                        {ifc::Unset{}, ifc::Unset{}, ifc::List{mappedBody(ctx, item->second)}}));
  return copy;
}

std::vector<ifc::Entity> cloneObjects(const Utils::RunContext& ctx, const ObjItemMap& objItemMap,
                                      const std::vector<ifc::Entity>& objectlists) {
  std::vector<ifc::Entity> newObjs;
  for (const ifc::Entity& obj : objectlists) {
    const std::string& ifcType = obj.type();
    if (ifcType == "IfcOpeningElement") continue;
    if (ifcType == "IfcElementAssembly") {
      std::vector<ifc::Entity> elements;
      for (const ifc::Value& part : partsOf(obj)) {
        elements.push_back(createNewObj(ctx, objItemMap, part.asEntity()));
      }
      newObjs.push_back(
          Utils::CreateAssembly(ctx, obj.get("Name").asString() + "_cloned", elements));
      continue;
    }
    const ifc::Entity newObj = createNewObj(ctx, objItemMap, obj);
    newObjs.push_back(newObj);
    for (const ifc::Entity& voids : obj.inverse("HasOpenings")) {
      const ifc::Entity opening = voids.get("RelatedOpeningElement").asEntity();
      const ifc::Entity newOpening = createNewObj(ctx, objItemMap, opening);
      ctx.model.create("IfcRelVoidsElement", {ifc::createGuid(), ctx.ownerHistory, ifc::Unset{},
                                              ifc::Unset{}, newObj, newOpening});
      newObjs.push_back(newOpening);
    }
  }
  return newObjs;
}

}  // namespace Verdamo
