#pragma once
// Whether the model database holds tapered sections (Sect::taperedKinds), which
// need the tapered extrusion of IFC4.

#include <string_view>

#include "db/database.h"

namespace Sect {

// True when the section table `table` has a row of a tapered kind. The table name is put
// into the query as given. A missing table or column throws db::Error.
[[nodiscard]] bool TaperSects(const db::Database& conn, std::string_view table);

// True when tblBeamSect, tblColSect or tblBraceSect holds a tapered kind; the tables are
// asked in that order and the first true answer ends the test, so later tables need not
// exist then.
[[nodiscard]] bool hasTaperSects(const db::Database& conn);

}  // namespace Sect
