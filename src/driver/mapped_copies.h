#pragma once
// Geometry shared between the real floors of one standard floor: the products built for the
// lowest floor show their bodies through mapped items, and every further floor of the same
// height receives copies that show the same mapped items instead of geometry of their own.

#include <cstdint>
#include <map>
#include <vector>

#include "ifc/value.h"
#include "members/run_context.h"

namespace Verdamo {

// The run's mapped products (by entity number), each with its IfcMappedItem.
using ObjItemMap = std::map<std::uint32_t, ifc::Entity>;

// Moves the product's first shape representation into an IfcRepresentationMap at the shared
// placement with the identity transformation, and makes the product show it through a new
// "Body" "MappedRepresentation" holding the mapped item; records the item in objItemMap.
// Throws std::runtime_error naming the product when it has no representation.
void createItemForObj(const Utils::RunContext& ctx, ObjItemMap& objItemMap, const ifc::Entity& obj);

// Maps every product of a standard floor's list in order; an element assembly is not mapped
// itself, its parts are.
// Threaded, the products are mapped on worker threads; the file is the same.
void mapObjects(const Utils::RunContext& ctx, ObjItemMap& objItemMap,
                const std::vector<ifc::Entity>& objectlists, bool threaded = false);

// A new product of the same type named after the source with "_cloned" appended, at the
// source's placement, showing the source's mapped item. Throws std::runtime_error naming
// the source when it was never mapped.
[[nodiscard]] ifc::Entity createNewObj(const Utils::RunContext& ctx, const ObjItemMap& objItemMap,
                                       const ifc::Entity& origin);

// Copies of a mapped list for a further floor: per product its copy followed by copies of its
// openings (each related to the copy), per element assembly a new assembly of copied parts.
// Openings in the list are copied only through their hosts.
// Threaded, the copies are made on worker threads; the file is the same.
[[nodiscard]] std::vector<ifc::Entity> cloneObjects(const Utils::RunContext& ctx,
                                                    const ObjItemMap& objItemMap,
                                                    const std::vector<ifc::Entity>& objectlists,
                                                    bool threaded = false);

}  // namespace Verdamo
