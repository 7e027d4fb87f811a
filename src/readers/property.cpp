#include "readers/property.h"

namespace Property {

void ExcludeIds::insert(const db::Value& id) {
  if (id.isNull()) {
    null_ = true;
  } else if (id.isText()) {
    texts_.insert(id.asText());
  } else {
    numbers_.insert(id.asDouble());
  }
}

bool ExcludeIds::contains(const db::Value& id) const {
  if (id.isNull()) return null_;
  if (id.isText()) return texts_.contains(id.asText());
  return numbers_.contains(id.asDouble());
}

ExcludeIds getExcludeIds(const db::Database& conn) {
  ExcludeIds ids;
  for (const db::Row& row : conn.query("select ObjID from tblProperty where Name = ?", {kNoIfc})) {
    ids.insert(row[0]);
  }
  return ids;
}

const char* const kFoldPropSql =
    "select ObjID, Name, Val from tblProperty where ObjID = ? and Name <> ? order by ID";

std::vector<SlabFoldPropRow> getSlabFoldProps(const db::Database& conn, const db::Value& slabID) {
  db::Statement statement = conn.prepare(kFoldPropSql);
  return readSlabFoldProps(statement, slabID);
}

std::vector<SlabFoldPropRow> getAllFoldProps(const db::Database& conn) {
  std::vector<SlabFoldPropRow> props;
  conn.forEach("select ObjID, Name, Val from tblProperty where Name <> ? order by ID",
               [&](db::Row& row) {
                 props.push_back({std::move(row[0]), std::move(row[1]), std::move(row[2])});
               },
               {kNoIfc});
  return props;
}

std::vector<SlabFoldPropRow> readSlabFoldProps(db::Statement& statement, const db::Value& slabID) {
  std::vector<SlabFoldPropRow> props;
  for (db::Row& row : statement.query({slabID, kNoIfc})) {
    props.push_back({std::move(row[0]), std::move(row[1]), std::move(row[2])});
  }
  return props;
}

}  // namespace Property
