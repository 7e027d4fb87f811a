// Model::validate(): what only the finished model shows (unset mandatory attributes, references
// to no entity, aggregate bounds, GlobalIds); value types were checked as each value was set.
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ifc/guid.h"
#include "ifc/model_impl.h"

namespace ifc {

using detail::idText;
using detail::Record;
using detail::Slot;
using detail::Tag;
namespace sc = schema;

namespace {

bool isAggregate(sc::NodeKind k) {
  return k == sc::NodeKind::List || k == sc::NodeKind::Set || k == sc::NodeKind::Array ||
         k == sc::NodeKind::Bag;
}

// Validation of stored slots against their schema nodes.
class Validator {
 public:
  Validator(const Model::Impl& m, std::vector<std::string>& problems)
      : m_(m), s_(*m.schema), problems_(problems) {}

  void check(const Record& r) {
    const auto attrs = sc::attributesOf(s_, r.type);
    for (std::size_t k = 0; k < attrs.size(); ++k) {
      where_ = &r;
      attribute_ = attrs[k].name;
      const Slot& slot = r.attributes[k];
      if (slot.tag == Tag::Unset) {
        if (!attrs[k].optional) report("mandatory attribute is unset");
        continue;
      }
      if (slot.tag == Tag::Derived) continue;
      checkSlot(slot, attrs[k].node);
      if (slot.tag == Tag::String && std::string_view(attrs[k].name) == "GlobalId") {
        checkGlobalId(std::string_view(slot.s, slot.n));
      }
    }
  }

 private:
  void report(const std::string& what) {
    problems_.push_back(idText(where_->id) + " " + s_.entities[where_->type].name + "." +
                        attribute_ + ": " + what);
  }

  void checkSlot(const Slot& slot, std::uint16_t node) {
    const sc::TypeNode* n = &s_.nodes[node];
    while (n->kind == sc::NodeKind::Defined) n = &s_.nodes[s_.definedTypes[n->ref].node];
    if (slot.tag == Tag::Ref) {
      if (m_.records.find(slot.ref) < 0) {
        report("refers to #" + std::to_string(slot.ref) + ", which does not exist");
      }
    } else if (slot.tag == Tag::List && isAggregate(n->kind)) {
      // An ARRAY's bounds are its first and last index: it holds exactly that many elements.
      const bool array = n->kind == sc::NodeKind::Array && n->upper != sc::kUnbounded;
      const auto lower = static_cast<std::uint32_t>(array ? n->upper - n->lower + 1 : n->lower);
      if (slot.n < lower || (n->upper != sc::kUnbounded &&
                             slot.n > (array ? lower : static_cast<std::uint32_t>(n->upper)))) {
        report("aggregate of " + std::to_string(slot.n) + " elements outside the bounds " +
               (array ? "of ARRAY [" : "[") + std::to_string(n->lower) + ":" +
               (n->upper == sc::kUnbounded ? std::string("?") : std::to_string(n->upper)) + "]");
      }
      if (n->kind == sc::NodeKind::Set) checkSetUnique(slot);
      for (std::uint32_t k = 0; k < slot.n; ++k) checkSlot(slot.items[k], n->ref);
    } else if (slot.tag == Tag::Typed && slot.named == 0) {
      checkSlot(slot.items[0], s_.definedTypes[slot.aux].node);
    }
  }

  // A SET holds no element twice. Checked for references, the elements of the sets written
  // here.
  void checkSetUnique(const Slot& slot) {
    refs_.clear();
    for (std::uint32_t k = 0; k < slot.n; ++k) {
      if (slot.items[k].tag == Tag::Ref) refs_.push_back(slot.items[k].ref);
    }
    std::sort(refs_.begin(), refs_.end());
    const auto twice = std::adjacent_find(refs_.begin(), refs_.end());
    if (twice != refs_.end()) report("SET holds #" + std::to_string(*twice) + " more than once");
  }

  void checkGlobalId(std::string_view id) {
    try {
      (void)expandGuid(id);
    } catch (const Error&) {
      report("'" + std::string(id) + "' is not a well-formed GlobalId");
      return;
    }
    auto [it, added] = globalIds_.emplace(id, where_->id);
    if (!added)
      report("GlobalId '" + std::string(id) + "' is also used by #" + std::to_string(it->second));
  }

  const Model::Impl& m_;
  const sc::SchemaDef& s_;
  std::vector<std::string>& problems_;
  const Record* where_ = nullptr;
  const char* attribute_ = "";
  std::unordered_map<std::string_view, std::uint32_t> globalIds_;
  std::vector<std::uint32_t> refs_;
};

}  // namespace

std::vector<std::string> Model::validate() const {
  std::vector<std::string> problems;
  const AllStripes stripes(*impl_);
  Validator v(*impl_, problems);
  for (std::size_t k = 0; k < impl_->records.end(); ++k) {
    if (impl_->records.has(k)) v.check(impl_->records[k]);
  }
  return problems;
}

}  // namespace ifc
