#pragma once
// Members flagged as not to be exported are dropped from the member lists before anything is
// built from them.

#include <vector>

namespace Verdamo {

// The rows of objs whose member id (idOf(row): field 1 of most rows, field 6 of a slab row)
// is not in excludeIds, in their order.
template <typename Row, typename Ids, typename IdOf>
[[nodiscard]] std::vector<Row> ExcludeNoIFC(std::vector<Row> objs, const Ids& excludeIds,
                                            IdOf idOf) {
  std::erase_if(objs, [&](const Row& row) { return excludeIds.contains(idOf(row)); });
  return objs;
}

}  // namespace Verdamo
