#include "sections/taper_sects.h"

#include <string>

namespace Sect {

bool TaperSects(const db::Database& conn, std::string_view table) {
  const std::string sql = "select ID, Kind from " + std::string(table) +
                          " where         Kind = 21 or         Kind = 22 or         Kind = 23"
                          " or         Kind = 30 or         Kind = 50 or         Kind = 51";
  return !conn.query(sql).empty();
}

bool hasTaperSects(const db::Database& conn) {
  return TaperSects(conn, "tblBeamSect") || TaperSects(conn, "tblColSect") ||
         TaperSects(conn, "tblBraceSect");
}

}  // namespace Sect
