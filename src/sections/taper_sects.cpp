#include "sections/taper_sects.h"

#include <string>

#include "sections/tapered_kinds.h"

namespace Sect {

bool TaperSects(const db::Database& conn, std::string_view table) {
  std::string sql = "select ID, Kind from " + std::string(table) + " where";
  const char* separator = " ";
  for (const long kind : taperedKinds) {
    sql += separator;
    sql += "Kind = " + std::to_string(kind);
    separator = " or ";
  }
  return !conn.query(sql).empty();
}

bool hasTaperSects(const db::Database& conn) {
  return TaperSects(conn, "tblBeamSect") || TaperSects(conn, "tblColSect") ||
         TaperSects(conn, "tblBraceSect");
}

}  // namespace Sect
