#pragma once
// Room for a list read from a table before reading it, so that a long list is not copied as
// it grows nor spread over pages touched twice.

#include <cstddef>
#include <string_view>

#include "db/database.h"

namespace readers {

// The number of rows of `table` (SQLite counts them without reading them); 0 when it cannot
// be told, leaving a missing table to the query that reads it, which names itself.
[[nodiscard]] std::size_t tableRows(const db::Database& conn, std::string_view table);

}  // namespace readers
