#include "modeldb/plain_pass.h"

#include <string>

namespace modeldb {

std::size_t plainPass(const db::Database& conn) {
  static constexpr const char* kTables[] = {
      "tblProject",     "tblStdFlr",      "tblFloor",   "tblJoint",     "tblAxis",
      "tblGrid",        "tblBeamSect",    "tblColSect", "tblBraceSect", "tblWallSect",
      "tblBeamSeg",     "tblSubBeam",     "tblColSeg",  "tblBraceSeg",  "tblWallSeg",
      "tblWallHole",    "tblWallHoleDef", "tblSlab",    "tblSlabGrid",  "tblSlabHole",
      "tblSlabHoleDef", "tblCantiSlab",   "tblProperty"};
  std::size_t rows = 0;
  for (const char* table : kTables) {
    conn.forEach(std::string("select * from ") + table, [&rows](db::Row&) { ++rows; });
  }
  return rows;
}

}  // namespace modeldb
