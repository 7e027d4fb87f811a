// ISO 10303-21 reader: header records kept verbatim, entities checked against the schema.
#include <algorithm>
#include <charconv>
#include <fstream>

#include "ifc/model_impl.h"
#include "ifc/step_text.h"

namespace ifc {

using detail::idText;
using detail::Record;
using detail::Slot;
using detail::Tag;
namespace sc = schema;

namespace {

class Reader {
 public:
  explicit Reader(std::string_view text) : t_(text) {}

  std::unique_ptr<Model> run() {
    keyword("ISO-10303-21");
    symbol(';');
    keyword("HEADER");
    symbol(';');
    std::vector<std::string> header;
    std::string schemaName;
    while (!atKeyword("ENDSEC")) {
      skipSpace();
      const std::size_t start = p_;
      const int line = line_;
      skipRecord();
      header.emplace_back(t_.substr(start, p_ - start));
      if (header.back().starts_with("FILE_SCHEMA")) schemaName = schemaOf(header.back(), line);
    }
    keyword("ENDSEC");
    symbol(';');
    if (schemaName.empty()) fail("the header has no FILE_SCHEMA");
    if (sc::findSchema(schemaName) == nullptr) fail("unsupported schema '" + schemaName + "'");
    auto model = std::make_unique<Model>(schemaName);
    Model::Impl& m = implOf(*model);
    m.header = std::move(header);
    keyword("DATA");
    symbol(';');
    std::vector<Value> values;
    std::uint32_t lastId = 0;
    bool sorted = true;
    while (!atKeyword("ENDSEC")) {
      symbol('#');
      const int line = line_;
      const std::uint32_t id = number();
      symbol('=');
      skipSpace();
      const std::string_view type = identifier();
      const auto t = sc::findEntity(*m.schema, type);
      if (!t) fail("unknown entity type " + std::string(type) + " in " + m.schemaName);
      const sc::EntityDef& def = m.schema->entities[*t];
      if (def.abstract) fail(std::string(def.name) + " is abstract", line);
      values.clear();
      symbol('(');
      skipSpace();
      if (peek() != ')') {
        while (true) {
          values.push_back(value(*model));
          skipSpace();
          if (peek() == ')') break;
          symbol(',');
        }
      }
      symbol(')');
      symbol(';');
      // Every attribute is written, unset ones as $: a shorter record is a damaged one.
      if (values.size() != def.attributeCount) {
        fail(std::string(def.name) + " takes " + std::to_string(def.attributeCount) +
                 " attributes, " + std::to_string(values.size()) + " given",
             line);
      }
      if (id == lastId) fail(idText(id) + " is defined twice", line);
      if (id < lastId) sorted = false;
      try {
        m.addReadRecord(*t, values.data(), values.size(), id);
      } catch (const SchemaError& e) {
        fail(e.what(), line);
      }
      lines_.emplace_back(id, line);
      lastId = std::max(lastId, id);
    }
    keyword("ENDSEC");
    symbol(';');
    keyword("END-ISO-10303-21");
    symbol(';');
    storeRecords(m, sorted);
    std::sort(lines_.begin(), lines_.end());
    checkReferences(m);
    return model;
  }

 private:
  [[noreturn]] void fail(const std::string& what, int line = 0) const {
    throw ParseError("line " + std::to_string(line ? line : line_) + ": " + what);
  }

  char peek() const { return p_ < t_.size() ? t_[p_] : '\0'; }

  void skipSpace() {
    while (p_ < t_.size()) {
      const char c = t_[p_];
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++p_;
      } else if (c == '/' && p_ + 1 < t_.size() && t_[p_ + 1] == '*') {
        const std::size_t end = t_.find("*/", p_ + 2);
        if (end == std::string_view::npos) fail("unterminated comment");
        line_ += static_cast<int>(std::count(t_.begin() + p_, t_.begin() + end, '\n'));
        p_ = end + 2;
      } else {
        return;
      }
    }
  }

  bool atKeyword(std::string_view kw) {
    skipSpace();
    if (p_ >= t_.size()) fail("unexpected end of file");
    return t_.substr(p_, kw.size()) == kw;
  }

  void keyword(std::string_view kw) {
    if (!atKeyword(kw)) fail("expected " + std::string(kw));
    p_ += kw.size();
  }

  void symbol(char c) {
    skipSpace();
    if (peek() != c) {
      fail(std::string("expected '") + c + "'" +
           (p_ < t_.size() ? std::string(", found '") + peek() + "'"
                           : std::string(" at end of file")));
    }
    ++p_;
  }

  std::uint32_t number() {
    skipSpace();
    std::uint32_t v = 0;
    const auto r = std::from_chars(t_.data() + p_, t_.data() + t_.size(), v);
    // Numbers stay below 2^31 so that new entities can always be numbered after them.
    if (r.ec != std::errc() || v == 0 || v >= 0x80000000u) fail("expected an entity number");
    p_ = static_cast<std::size_t>(r.ptr - t_.data());
    return v;
  }

  std::string_view identifier() {
    const std::size_t start = p_;
    while (p_ < t_.size() && (std::isalnum(static_cast<unsigned char>(t_[p_])) || t_[p_] == '_'))
      ++p_;
    if (p_ == start) fail("expected a name");
    return t_.substr(start, p_ - start);
  }

  // Advances past the ';' ending a header record, outside strings and parentheses.
  void skipRecord() {
    int depth = 0;
    while (p_ < t_.size()) {
      const char c = t_[p_++];
      if (c == '\n') ++line_;
      if (c == '/' && peek() == '*') {
        --p_;
        skipSpace();  // a comment, which may hold quotes or semicolons
      } else if (c == '\'') {
        skipStringBody();
      } else if (c == '(') {
        ++depth;
      } else if (c == ')') {
        --depth;
      } else if (c == ';' && depth == 0) {
        return;
      }
    }
    fail("unterminated header record");
  }

  // After an opening apostrophe: moves past the closing one, returning the body.
  std::string_view skipStringBody() {
    const std::size_t start = p_;
    while (true) {
      if (p_ >= t_.size()) fail("unterminated string");
      const char c = t_[p_++];
      if (c == '\n') ++line_;
      if (c == '\'') {
        if (peek() == '\'') {
          ++p_;
        } else {
          return t_.substr(start, p_ - 1 - start);
        }
      }
    }
  }

  std::string schemaOf(std::string_view record, int line) {
    const std::size_t a = record.find('\'');
    const std::size_t b = a == std::string_view::npos ? a : record.find('\'', a + 1);
    if (b == std::string_view::npos) fail("FILE_SCHEMA names no schema", line);
    return std::string(record.substr(a + 1, b - a - 1));
  }

  // Nesting deeper than any schema's aggregates and typed values is refused before the
  // recursion can exhaust the stack.
  static constexpr int kMaxDepth = 32;

  Value value(const Model& model, int depth = 0) {
    if (depth > kMaxDepth) fail("values nested too deeply");
    skipSpace();
    if (p_ >= t_.size()) fail("unexpected end of file");
    const char c = peek();
    switch (c) {
      case '$':
        ++p_;
        return Value();
      case '*':
        ++p_;
        return Value(Derived{});
      case '#':
        ++p_;
        return Value(Entity(&model, number()));
      case '\'': {
        ++p_;
        const int line = line_;
        const std::string_view body = skipStringBody();
        try {
          return Value(step::decodeString(body));
        } catch (const std::invalid_argument& e) {
          fail(e.what(), line);
        }
      }
      case '.': {
        ++p_;
        const std::string_view item = identifier();
        if (peek() != '.') fail("expected '.' after an enumeration item");
        ++p_;
        if (item == "T") return Value(true);
        if (item == "F") return Value(false);
        if (item == "U") return Value(Logical::Unknown);
        return Value(Enum{std::string(item)});
      }
      case '(': {
        ++p_;
        List items;
        skipSpace();
        if (peek() != ')') {
          while (true) {
            items.push_back(value(model, depth + 1));
            skipSpace();
            if (peek() == ')') break;
            symbol(',');
          }
        }
        ++p_;
        return Value(std::move(items));
      }
      case '"':
        fail("binary values are not supported");
      default:
        break;
    }
    if (c == '-' || c == '+' || (c >= '0' && c <= '9')) return numberValue();
    if (std::isalpha(static_cast<unsigned char>(c))) {
      const std::string_view type = identifier();
      symbol('(');
      Value inner = value(model, depth + 1);
      symbol(')');
      return Value::typed(type, std::move(inner));
    }
    fail(std::string("unexpected '") + c + "'");
  }

  Value numberValue() {
    std::size_t end = p_;
    bool real = false;
    while (end < t_.size()) {
      const char c = t_[end];
      if (c == '.' || c == 'E' || c == 'e') {
        real = true;
      } else if (!(c == '-' || c == '+' || (c >= '0' && c <= '9'))) {
        break;
      }
      ++end;
    }
    const char* first = t_.data() + p_ + (t_[p_] == '+' ? 1 : 0);
    const char* last = t_.data() + end;
    std::from_chars_result r{};
    Value v;
    if (real) {
      double d = 0;
      r = std::from_chars(first, last, d);
      v = Value(d);
    } else {
      long long i = 0;
      r = std::from_chars(first, last, i);
      v = Value(i);
    }
    if (r.ec != std::errc() || r.ptr != last)
      fail("malformed number '" + std::string(t_.substr(p_, end - p_)) + "'");
    p_ = end;
    return v;
  }

  // The records read, in number order, into the model's store.
  void storeRecords(Model::Impl& m, bool sorted) {
    std::vector<Record> all = std::move(m.read);
    m.read.clear();
    if (!sorted) {
      std::sort(all.begin(), all.end(),
                [](const Record& a, const Record& b) { return a.id < b.id; });
    }
    for (std::size_t k = 1; k < all.size(); ++k) {
      if (all[k].id == all[k - 1].id) fail(idText(all[k].id) + " is defined twice");
    }
    m.records.replace(all);
  }

  int lineOf(std::uint32_t id) const {
    auto it = std::lower_bound(lines_.begin(), lines_.end(), std::pair<std::uint32_t, int>(id, 0));
    return it != lines_.end() && it->first == id ? it->second : 0;
  }

  // Entity types of references, which may point forward, are checked once all are read.
  void checkReferences(const Model::Impl& m) {
    const sc::SchemaDef& s = *m.schema;
    for (std::size_t k = 0; k < m.records.end(); ++k) {
      const Record& r = m.records[k];
      const auto attrs = sc::attributesOf(s, r.type);
      for (std::size_t a = 0; a < r.count; ++a) {
        checkSlot(m, r, attrs[a], r.attributes[a], attrs[a].node);
      }
    }
  }

  void checkSlot(const Model::Impl& m, const Record& r, const sc::AttributeDef& attr,
                 const Slot& slot, std::uint16_t node) {
    const sc::SchemaDef& s = *m.schema;
    const sc::TypeNode* n = &s.nodes[node];
    while (n->kind == sc::NodeKind::Defined) n = &s.nodes[s.definedTypes[n->ref].node];
    if (slot.tag == Tag::List) {
      for (std::uint32_t k = 0; k < slot.n; ++k) checkSlot(m, r, attr, slot.items[k], n->ref);
      return;
    }
    if (slot.tag != Tag::Ref) return;
    const std::int64_t at = m.records.find(slot.ref);
    if (at < 0) return;  // unresolved: validate() reports it
    const std::uint16_t t = m.records[static_cast<std::size_t>(at)].type;
    const bool ok = n->kind == sc::NodeKind::Entity   ? sc::isSubtype(s, t, n->ref)
                    : n->kind == sc::NodeKind::Select ? sc::selectAdmitsEntity(s, n->ref, t)
                                                      : false;
    if (!ok) {
      fail(std::string(s.entities[r.type].name) + "." + attr.name + " = #" +
               std::to_string(slot.ref) + ": is a " + s.entities[t].name + ", not allowed here",
           lineOf(r.id));
    }
  }

  std::string_view t_;
  std::size_t p_ = 0;
  int line_ = 1;
  std::vector<std::pair<std::uint32_t, int>> lines_;
};

}  // namespace

std::unique_ptr<Model> Model::parse(std::string_view text) { return Reader(text).run(); }

std::unique_ptr<Model> Model::readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!in || ec) throw Error("cannot open " + path.string());
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) {
    throw Error("cannot read " + path.string());
  }
  return parse(text);
}

}  // namespace ifc
