#include "driver/mapped_copies.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "driver/chunked_tasks.h"
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

namespace {

// Moves the product's body into a representation map as createItemForObj says; returns the
// mapped item.
ifc::Entity mapProduct(const Utils::RunContext& ctx, const ifc::Entity& obj) {
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
  return item;
}

// What one product of a list becomes on a further floor, found before any copy is made: its
// parts for an element assembly, else its openings.
struct CopySource {
  ifc::Entity product;
  bool assembly = false;
  std::vector<ifc::Entity> parts;     // of an assembly
  std::vector<ifc::Entity> openings;  // of another product
};

// Copies one product of the list, appending the copies to `out` as cloneObjects lists them.
void copyProduct(const Utils::RunContext& ctx, const ObjItemMap& objItemMap,
                 const CopySource& source, std::vector<ifc::Entity>& out) {
  if (source.assembly) {
    std::vector<ifc::Entity> elements;
    for (const ifc::Entity& part : source.parts) {
      elements.push_back(createNewObj(ctx, objItemMap, part));
    }
    out.push_back(
        Utils::CreateAssembly(ctx, source.product.get("Name").asString() + "_cloned", elements));
    return;
  }
  const ifc::Entity newObj = createNewObj(ctx, objItemMap, source.product);
  out.push_back(newObj);
  for (const ifc::Entity& opening : source.openings) {
    const ifc::Entity newOpening = createNewObj(ctx, objItemMap, opening);
    ctx.model.create("IfcRelVoidsElement", {ifc::createGuid(), ctx.ownerHistory, ifc::Unset{},
                                            ifc::Unset{}, newObj, newOpening});
    out.push_back(newOpening);
  }
}

}  // namespace

void createItemForObj(const Utils::RunContext& ctx, ObjItemMap& objItemMap,
                      const ifc::Entity& obj) {
  objItemMap[obj.id()] = mapProduct(ctx, obj);
}

void mapObjects(const Utils::RunContext& ctx, ObjItemMap& objItemMap,
                const std::vector<ifc::Entity>& objectlists, bool threaded) {
  std::vector<ifc::Entity> mapped;
  for (const ifc::Entity& obj : objectlists) {
    if (obj.type() == "IfcElementAssembly") {
      for (const ifc::Value& part : partsOf(obj)) mapped.push_back(part.asEntity());
    } else {
      mapped.push_back(obj);
    }
  }
  std::vector<ifc::Entity> items(mapped.size());
  forEachProduct(ctx.model, threaded, mapped.size(),
                 [&](std::size_t i) { items[i] = mapProduct(ctx, mapped[i]); });
  for (std::size_t i = 0; i < mapped.size(); ++i) objItemMap[mapped[i].id()] = items[i];
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
                                      const std::vector<ifc::Entity>& objectlists, bool threaded) {
  std::vector<CopySource> sources;
  for (const ifc::Entity& obj : objectlists) {
    const std::string& ifcType = obj.type();
    if (ifcType == "IfcOpeningElement") continue;
    CopySource& source = sources.emplace_back();
    source.product = obj;
    source.assembly = ifcType == "IfcElementAssembly";
    if (source.assembly) {
      for (const ifc::Value& part : partsOf(obj)) source.parts.push_back(part.asEntity());
    } else {
      for (const ifc::Entity& voids : obj.inverse("HasOpenings")) {
        source.openings.push_back(voids.get("RelatedOpeningElement").asEntity());
      }
    }
  }
  std::vector<std::vector<ifc::Entity>> copies(sources.size());
  forEachProduct(ctx.model, threaded, sources.size(),
                 [&](std::size_t i) { copyProduct(ctx, objItemMap, sources[i], copies[i]); });
  std::vector<ifc::Entity> newObjs;
  for (const std::vector<ifc::Entity>& c : copies)
    newObjs.insert(newObjs.end(), c.begin(), c.end());
  return newObjs;
}

}  // namespace Verdamo
