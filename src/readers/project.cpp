#include "readers/project.h"

namespace Project {

bool IsConcrete(const db::Database& conn) {
  const auto rows = conn.query("select Mat from tblProject order by rowid limit 1");
  return !rows.empty() && rows[0][0] == db::Value(kConcreteMat);
}

}  // namespace Project
