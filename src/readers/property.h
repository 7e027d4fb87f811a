#pragma once
// Member properties (tblProperty): the not-exported flag and the folded-slab properties.

#include <set>
#include <string>
#include <vector>

#include "db/database.h"

namespace Property {

// Name of the property that keeps a member out of the IFC file.
inline constexpr const char* kNoIfc = "NoIFC";

// Ids of members not to export. Membership compares as the stored values do: numbers by value
// (5 and 5.0 are one id), text only with equal text, NULL only with NULL.
class ExcludeIds {
 public:
  void insert(const db::Value& id);
  [[nodiscard]] bool contains(const db::Value& id) const;
  [[nodiscard]] std::size_t size() const {
    return numbers_.size() + texts_.size() + (null_ ? 1 : 0);
  }

 private:
  std::set<double> numbers_;
  std::set<std::string> texts_;
  bool null_ = false;
};

// Every ObjID that carries a property named "NoIFC".
[[nodiscard]] ExcludeIds getExcludeIds(const db::Database& conn);

// One property of a slab, as the folded-slab solids read it.
struct SlabFoldPropRow {
  db::Value objId;  // 0 tblProperty.ObjID: the slab id
  db::Value name;   // 1 tblProperty.Name: "FoldedSlab_nPt", "FoldedSlab_PosWid", ...
  db::Value value;  // 2 tblProperty.Val: comma-separated numbers
  bool operator==(const SlabFoldPropRow&) const = default;
};

// The properties of one slab other than "NoIFC", in tblProperty.ID order.
[[nodiscard]] std::vector<SlabFoldPropRow> getSlabFoldProps(const db::Database& conn,
                                                            const db::Value& slabID);

// The properties of every member other than "NoIFC", in tblProperty.ID order: what
// getSlabFoldProps gives for each slab, read at once.
[[nodiscard]] std::vector<SlabFoldPropRow> getAllFoldProps(const db::Database& conn);

// The statement behind getSlabFoldProps (slab id and "NoIFC" bound), and the reading with it
// prepared.
extern const char* const kFoldPropSql;
[[nodiscard]] std::vector<SlabFoldPropRow> readSlabFoldProps(db::Statement& statement,
                                                             const db::Value& slabID);

}  // namespace Property
