#include "readers/table_rows.h"

#include <string>

namespace readers {

std::size_t tableRows(const db::Database& conn, std::string_view table) {
  std::size_t rows = 0;
  try {
    conn.forEach("select count(*) from " + std::string(table), [&](const db::Row& r) {
      if (r[0].isInteger() && r[0].asInteger() > 0)
        rows = static_cast<std::size_t>(r[0].asInteger());
    });
  } catch (const db::Error&) {
    return 0;
  }
  return rows;
}

}  // namespace readers
