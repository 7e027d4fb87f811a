#pragma once
// The floor under any reading of a model database: every row of every table the converter
// reads, fetched once with SELECT * through the database layer and dropped.

#include <cstddef>

#include "db/database.h"

namespace modeldb {

// Reads every table the converter reads once; returns the number of rows.
std::size_t plainPass(const db::Database& conn);

}  // namespace modeldb
