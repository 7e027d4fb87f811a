#include "express_gen.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace ifc_schema_gen {
namespace {

std::string upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

struct Token {
  std::string text;
  int line = 0;
};

// Splits EXPRESS text into identifiers, numbers, strings and single punctuation characters,
// dropping (* *) and -- comments.
std::vector<Token> tokenize(std::string_view src) {
  std::vector<Token> out;
  int line = 1;
  std::size_t i = 0;
  const std::size_t n = src.size();
  auto isIdent = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  };
  while (i < n) {
    const char c = src[i];
    if (c == '\n') {
      ++line;
      ++i;
    } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
      ++i;
    } else if (c == '(' && i + 1 < n && src[i + 1] == '*') {
      const std::size_t end = src.find("*)", i + 2);
      if (end == std::string_view::npos) throw GenError("unterminated comment");
      line += static_cast<int>(std::count(src.begin() + i, src.begin() + end, '\n'));
      i = end + 2;
    } else if (c == '-' && i + 1 < n && src[i + 1] == '-') {
      while (i < n && src[i] != '\n') ++i;
    } else if (c == '\'') {
      std::size_t j = i + 1;
      while (j < n && src[j] != '\'') ++j;
      out.push_back({std::string(src.substr(i, j + 1 - i)), line});
      i = j + 1;
    } else if (isIdent(c)) {
      std::size_t j = i;
      while (j < n && isIdent(src[j])) ++j;
      out.push_back({std::string(src.substr(i, j - i)), line});
      i = j;
    } else {
      out.push_back({std::string(1, c), line});
      ++i;
    }
  }
  return out;
}

struct TypeExpr {
  enum class Kind { Simple, Named, Aggregate } kind = Kind::Simple;
  std::string name;  // simple type keyword, named type, or aggregate keyword
  std::int32_t lower = 0;
  std::int32_t upper = -1;
  std::shared_ptr<TypeExpr> element;
};

struct Attribute {
  std::string name;
  TypeExpr type;
  bool optional = false;
  bool derived = false;
};

struct Inverse {
  std::string name;
  std::string entity;
  std::string forward;
};

struct EntityDecl {
  std::string name;
  std::string supertype;
  bool abstract = false;
  std::vector<Attribute> own;
  std::vector<Attribute> redeclared;  // explicit SELF\X.a redeclarations
  std::vector<std::string> derived;   // SELF\X.a : ... := ... in DERIVE
  std::vector<Inverse> inverses;
  int line = 0;
};

struct TypeDecl {
  enum class Kind { Defined, Enumeration, Select } kind = Kind::Defined;
  std::string name;
  TypeExpr underlying;
  std::vector<std::string> items;  // enumeration items or select members
};

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : t_(std::move(tokens)) {}

  void run() {
    while (!atEnd()) {
      const std::string kw = upper(peek());
      if (kw == "SCHEMA") {
        next();
        schemaName = next();
        expect(";");
      } else if (kw == "TYPE") {
        parseType();
      } else if (kw == "ENTITY") {
        parseEntity();
      } else if (kw == "FUNCTION" || kw == "RULE") {
        skipPast("END_" + kw);
        expect(";");
      } else if (kw == "END_SCHEMA") {
        next();
        if (!atEnd()) expect(";");
        return;
      } else {
        fail("unexpected '" + peek() + "'");
      }
    }
  }

  std::string schemaName;
  std::vector<EntityDecl> entities;
  std::vector<TypeDecl> types;

 private:
  bool atEnd() const { return p_ >= t_.size(); }
  const std::string& peek() const {
    if (atEnd()) throw GenError("unexpected end of schema");
    return t_[p_].text;
  }
  bool peekIs(std::string_view kw) const { return !atEnd() && upper(t_[p_].text) == kw; }
  std::string next() {
    std::string s = peek();
    ++p_;
    return s;
  }
  [[noreturn]] void fail(const std::string& what) const {
    const int line = atEnd() ? (t_.empty() ? 0 : t_.back().line) : t_[p_].line;
    throw GenError("line " + std::to_string(line) + ": " + what);
  }
  void expect(std::string_view s) {
    if (atEnd() || upper(peek()) != upper(s)) {
      fail("expected '" + std::string(s) + "'" + (atEnd() ? "" : ", found '" + peek() + "'"));
    }
    ++p_;
  }
  void skipPast(const std::string& kw) {
    while (!atEnd() && upper(peek()) != kw) ++p_;
    expect(kw);
  }
  // Skips to the ';' that ends the statement (outside parentheses and brackets).
  void skipStatement() {
    int depth = 0;
    while (true) {
      const std::string s = next();
      if (s == "(" || s == "[") ++depth;
      if (s == ")" || s == "]") --depth;
      if (s == ";" && depth <= 0) return;
    }
  }

  std::int32_t parseBound() {
    std::string s = next();
    if (s == "?") return -1;
    if (std::isdigit(static_cast<unsigned char>(s[0])) != 0 && peek() != "\\" && peek() != "." &&
        peek() != "+" && peek() != "-") {
      return static_cast<std::int32_t>(std::stol(s));
    }
    // A bound given by an expression (only in functions): unbounded.
    while (peek() != ":" && peek() != "]") next();
    return -1;
  }

  TypeExpr parseTypeExpr() {
    TypeExpr e;
    const std::string kw = upper(peek());
    if (kw == "LIST" || kw == "SET" || kw == "ARRAY" || kw == "BAG") {
      next();
      e.kind = TypeExpr::Kind::Aggregate;
      e.name = kw;
      expect("[");
      e.lower = parseBound();
      expect(":");
      e.upper = parseBound();
      expect("]");
      expect("OF");
      while (peekIs("OPTIONAL") || peekIs("UNIQUE")) next();
      e.element = std::make_shared<TypeExpr>(parseTypeExpr());
      return e;
    }
    if (kw == "REAL" || kw == "INTEGER" || kw == "NUMBER" || kw == "BOOLEAN" || kw == "LOGICAL" ||
        kw == "STRING" || kw == "BINARY") {
      next();
      e.kind = TypeExpr::Kind::Simple;
      e.name = kw;
      if (!atEnd() && peek() == "(") {
        while (next() != ")") {
        }
      }
      if (peekIs("FIXED")) next();
      return e;
    }
    e.kind = TypeExpr::Kind::Named;
    e.name = next();
    return e;
  }

  void parseType() {
    expect("TYPE");
    TypeDecl d;
    d.name = next();
    expect("=");
    if (peekIs("ENUMERATION")) {
      next();
      expect("OF");
      d.kind = TypeDecl::Kind::Enumeration;
      d.items = parseNameList();
    } else if (peekIs("SELECT")) {
      next();
      d.kind = TypeDecl::Kind::Select;
      d.items = parseNameList();
    } else {
      d.underlying = parseTypeExpr();
    }
    expect(";");
    skipPast("END_TYPE");
    expect(";");
    types.push_back(std::move(d));
  }

  std::vector<std::string> parseNameList() {
    std::vector<std::string> names;
    expect("(");
    while (true) {
      names.push_back(next());
      const std::string sep = next();
      if (sep == ")") break;
      if (sep != ",") fail("expected ',' or ')' in a list of names");
    }
    return names;
  }

  // SELF\Entity.name -> name
  std::string parseRedeclaredName() {
    expect("SELF");
    expect("\\");
    next();
    expect(".");
    return next();
  }

  void parseEntity() {
    EntityDecl d;
    d.line = t_[p_].line;
    expect("ENTITY");
    d.name = next();
    int depth = 0;
    while (true) {
      const std::string s = next();
      const std::string u = upper(s);
      if (s == "(") ++depth;
      if (s == ")") --depth;
      if (s == ";" && depth == 0) break;
      if (depth == 0 && u == "ABSTRACT") d.abstract = true;
      if (depth == 0 && u == "SUBTYPE") {
        expect("OF");
        expect("(");
        d.supertype = next();
        if (peek() != ")") fail("entity " + d.name + " has several supertypes");
        expect(")");
      }
    }
    enum class Section { Explicit, Derive, Inverse } section = Section::Explicit;
    while (true) {
      const std::string u = upper(peek());
      if (u == "END_ENTITY") {
        next();
        expect(";");
        break;
      }
      if (u == "DERIVE") {
        next();
        section = Section::Derive;
        continue;
      }
      if (u == "INVERSE") {
        next();
        section = Section::Inverse;
        continue;
      }
      if (u == "UNIQUE" || u == "WHERE") {
        skipPast("END_ENTITY");
        expect(";");
        break;
      }
      if (section == Section::Explicit) {
        Attribute a;
        const bool redeclared = u == "SELF";
        std::vector<std::string> names;
        if (redeclared) {
          names.push_back(parseRedeclaredName());
        } else {
          names.push_back(next());
          while (peek() == ",") {
            next();
            names.push_back(next());
          }
        }
        expect(":");
        if (peekIs("OPTIONAL")) {
          next();
          a.optional = true;
        }
        a.type = parseTypeExpr();
        expect(";");
        for (const std::string& name : names) {
          a.name = name;
          (redeclared ? d.redeclared : d.own).push_back(a);
        }
      } else if (section == Section::Derive) {
        if (u == "SELF") d.derived.push_back(parseRedeclaredName());
        skipStatement();
      } else {
        Inverse inv;
        inv.name = u == "SELF" ? parseRedeclaredName() : next();
        expect(":");
        if (peekIs("SET") || peekIs("BAG")) {
          next();
          expect("[");
          parseBound();
          expect(":");
          parseBound();
          expect("]");
          expect("OF");
        }
        inv.entity = next();
        expect("FOR");
        inv.forward = next();
        expect(";");
        d.inverses.push_back(std::move(inv));
      }
    }
    entities.push_back(std::move(d));
  }

  std::vector<Token> t_;
  std::size_t p_ = 0;
};

std::string symbolFor(const std::string& schemaName) {
  // IFC2X3 -> kIfc2x3
  std::string s = "k";
  for (std::size_t i = 0; i < schemaName.size(); ++i) {
    const char c = schemaName[i];
    s += i == 0 ? static_cast<char>(std::toupper(static_cast<unsigned char>(c)))
                : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return s;
}

class Emitter {
 public:
  explicit Emitter(Parser& p) : p_(p) {
    for (auto& e : p_.entities) entityOrder_.push_back(&e);
    auto byUpper = [](const auto* a, const auto* b) { return upper(a->name) < upper(b->name); };
    std::sort(entityOrder_.begin(), entityOrder_.end(), byUpper);
    for (std::size_t i = 0; i < entityOrder_.size(); ++i) {
      index_[upper(entityOrder_[i]->name)] = {"Entity", static_cast<int>(i)};
    }
    for (auto& t : p_.types) {
      auto& list = t.kind == TypeDecl::Kind::Defined       ? defined_
                   : t.kind == TypeDecl::Kind::Enumeration ? enums_
                                                           : selects_;
      list.push_back(&t);
    }
    for (auto* list : {&defined_, &enums_, &selects_}) {
      std::sort(list->begin(), list->end(), byUpper);
      for (std::size_t i = 0; i < list->size(); ++i) {
        const TypeDecl* t = (*list)[i];
        const char* kind = t->kind == TypeDecl::Kind::Defined       ? "Defined"
                           : t->kind == TypeDecl::Kind::Enumeration ? "Enumeration"
                                                                    : "Select";
        if (!index_.emplace(upper(t->name), Ref{kind, static_cast<int>(i)}).second) {
          throw GenError("name declared twice: " + t->name);
        }
      }
    }
  }

  std::string emit(std::string_view inputName, std::string_view command) {
    // Nodes of defined types first, then attributes, in table order.
    std::ostringstream defs, ents, attrs, invs, items, sels, mems;
    for (const TypeDecl* t : defined_) {
      defs << "    {\"" << t->name << "\", \"" << upper(t->name) << "\", " << node(t->underlying)
           << "},\n";
    }
    std::size_t itemCount = 0, memberCount = 0, attributeCount = 0, inverseCount = 0;
    for (const TypeDecl* t : enums_) {
      items << "    // " << t->name << "\n";
      for (const auto& item : t->items) items << "    \"" << upper(item) << "\",\n";
      defsEnums_ << "    {\"" << t->name << "\", \"" << upper(t->name) << "\", " << itemCount
                 << ", " << t->items.size() << "},\n";
      itemCount += t->items.size();
    }
    for (const TypeDecl* t : selects_) {
      sels << "    {\"" << t->name << "\", \"" << upper(t->name) << "\", " << memberCount << ", "
           << t->items.size() << "},\n";
      for (const auto& m : t->items) {
        const Ref r = lookup(m);
        mems << "    {K::" << r.kind << ", " << r.index << "},  // " << t->name << ": " << m
             << "\n";
      }
      memberCount += t->items.size();
    }
    for (std::size_t i = 0; i < entityOrder_.size(); ++i) {
      const EntityDecl* e = entityOrder_[i];
      const std::vector<Attribute>& all = flatten(*e);
      const std::vector<Inverse>& inv = flattenInverses(*e);
      int super = -1;
      if (!e->supertype.empty()) {
        const Ref r = lookup(e->supertype);
        if (std::string(r.kind) != "Entity") throw GenError("supertype not an entity: " + e->name);
        super = r.index;
      }
      ents << "    {\"" << e->name << "\", \"" << upper(e->name) << "\", " << super << ", "
           << (e->abstract ? "true" : "false") << ", " << attributeCount << ", " << all.size()
           << ", " << inverseCount << ", " << inv.size() << "},\n";
      attrs << "    // " << e->name << "\n";
      for (const Attribute& a : all) {
        attrs << "    {\"" << a.name << "\", " << node(a.type) << ", "
              << (a.optional ? "true" : "false") << ", " << (a.derived ? "true" : "false")
              << "},\n";
      }
      if (!inv.empty()) invs << "    // " << e->name << "\n";
      for (const Inverse& v : inv) {
        const Ref r = lookup(v.entity);
        const std::vector<Attribute>& fwd = flatten(*entityOrder_[r.index]);
        auto it = std::find_if(fwd.begin(), fwd.end(),
                               [&](const Attribute& a) { return a.name == v.forward; });
        if (it == fwd.end()) {
          throw GenError("inverse " + e->name + "." + v.name + ": no attribute " + v.forward);
        }
        invs << "    {\"" << v.name << "\", " << r.index << ", " << (it - fwd.begin()) << "},\n";
      }
      attributeCount += all.size();
      inverseCount += inv.size();
    }
    for (std::size_t n : {attributeCount, inverseCount, itemCount, memberCount, nodes_.size(),
                          entityOrder_.size()}) {
      if (n > 65535) throw GenError("table too large for 16-bit indices");
    }
    std::ostringstream nodes;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
      nodes << "    " << nodes_[i] << ",  // " << i << " " << nodeNames_[i] << "\n";
    }

    std::ostringstream o;
    o << "// Generated by tools/ifc_schema_gen from " << inputName << ". Do not edit.\n"
      << "// Command: " << command << "\n"
      << "#include \"ifc/schema/schema.h\"\n\n"
      << "namespace ifc::schema {\nnamespace {\n\nusing K = NodeKind;\n\n"
      << "constexpr TypeNode kNodes[] = {\n"
      << nodes.str() << "};\n\n"
      << "constexpr EntityDef kEntities[] = {\n"
      << ents.str() << "};\n\n"
      << "constexpr AttributeDef kAttributes[] = {\n"
      << attrs.str() << "};\n\n"
      << "constexpr InverseDef kInverses[] = {\n"
      << invs.str() << "};\n\n"
      << "constexpr DefinedTypeDef kDefinedTypes[] = {\n"
      << defs.str() << "};\n\n"
      << "constexpr EnumerationDef kEnumerations[] = {\n"
      << defsEnums_.str() << "};\n\n"
      << "constexpr const char* kItems[] = {\n"
      << items.str() << "};\n\n"
      << "constexpr SelectDef kSelects[] = {\n"
      << sels.str() << "};\n\n"
      << "constexpr SelectMember kMembers[] = {\n"
      << mems.str() << "};\n\n"
      << "}  // namespace\n\n"
      << "extern const SchemaDef " << symbolFor(p_.schemaName) << ";\n"
      << "const SchemaDef " << symbolFor(p_.schemaName) << " = {\n"
      << "    \"" << p_.schemaName << "\", kEntities, kAttributes, kInverses, kNodes,\n"
      << "    kDefinedTypes, kEnumerations, kItems, kSelects, kMembers,\n};\n\n"
      << "}  // namespace ifc::schema\n";
    return o.str();
  }

 private:
  struct Ref {
    const char* kind;
    int index;
  };

  Ref lookup(const std::string& name) const {
    auto it = index_.find(upper(name));
    if (it == index_.end()) throw GenError("unknown type " + name);
    return it->second;
  }

  std::size_t node(const TypeExpr& t) {
    std::string text, name;
    switch (t.kind) {
      case TypeExpr::Kind::Simple: {
        static const std::map<std::string, std::string> simple = {
            {"REAL", "Real"},       {"INTEGER", "Integer"}, {"NUMBER", "Number"},
            {"BOOLEAN", "Boolean"}, {"LOGICAL", "Logical"}, {"STRING", "String"},
            {"BINARY", "Binary"}};
        text = "{K::Simple, static_cast<std::uint16_t>(Simple::" + simple.at(t.name) + "), 0, 0}";
        name = t.name;
        break;
      }
      case TypeExpr::Kind::Named: {
        const Ref r = lookup(t.name);
        text = std::string("{K::") + r.kind + ", " + std::to_string(r.index) + ", 0, 0}";
        name = t.name;
        break;
      }
      case TypeExpr::Kind::Aggregate: {
        const std::size_t element = node(*t.element);
        std::string kind = t.name.substr(0, 1) + upper(t.name).substr(1);
        for (std::size_t i = 1; i < kind.size(); ++i) {
          kind[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(kind[i])));
        }
        text = "{K::" + kind + ", " + std::to_string(element) + ", " + std::to_string(t.lower) +
               ", " + (t.upper < 0 ? std::string("kUnbounded") : std::to_string(t.upper)) + "}";
        name = t.name + " [" + std::to_string(t.lower) + ":" +
               (t.upper < 0 ? std::string("?") : std::to_string(t.upper)) + "] OF " +
               nodeNames_[element];
        break;
      }
    }
    auto [it, added] = nodeIndex_.emplace(text, nodes_.size());
    if (added) {
      nodes_.push_back(text);
      nodeNames_.push_back(name);
    }
    return it->second;
  }

  const std::vector<Attribute>& flatten(const EntityDecl& e) {
    if (auto it = flat_.find(e.name); it != flat_.end()) return it->second;
    std::vector<Attribute> all;
    if (!e.supertype.empty()) all = flatten(*entityOrder_[lookup(e.supertype).index]);
    for (const Attribute& r : e.redeclared) {
      auto it = std::find_if(all.begin(), all.end(),
                             [&](const Attribute& a) { return a.name == r.name; });
      if (it == all.end()) throw GenError(e.name + " redeclares unknown attribute " + r.name);
      it->type = r.type;
      it->optional = r.optional;
    }
    for (const std::string& d : e.derived) {
      auto it =
          std::find_if(all.begin(), all.end(), [&](const Attribute& a) { return a.name == d; });
      if (it == all.end()) throw GenError(e.name + " derives unknown attribute " + d);
      it->derived = true;
    }
    all.insert(all.end(), e.own.begin(), e.own.end());
    return flat_[e.name] = std::move(all);
  }

  const std::vector<Inverse>& flattenInverses(const EntityDecl& e) {
    if (auto it = flatInv_.find(e.name); it != flatInv_.end()) return it->second;
    std::vector<Inverse> all;
    if (!e.supertype.empty()) all = flattenInverses(*entityOrder_[lookup(e.supertype).index]);
    for (const Inverse& v : e.inverses) {
      auto it =
          std::find_if(all.begin(), all.end(), [&](const Inverse& a) { return a.name == v.name; });
      if (it != all.end()) {
        *it = v;
      } else {
        all.push_back(v);
      }
    }
    return flatInv_[e.name] = std::move(all);
  }

  Parser& p_;
  std::vector<const EntityDecl*> entityOrder_;
  std::vector<const TypeDecl*> defined_, enums_, selects_;
  std::map<std::string, Ref> index_;
  std::map<std::string, std::size_t> nodeIndex_;
  std::vector<std::string> nodes_, nodeNames_;
  std::map<std::string, std::vector<Attribute>> flat_;
  std::map<std::string, std::vector<Inverse>> flatInv_;
  std::ostringstream defsEnums_;
};

}  // namespace

std::string generate(std::string_view express, std::string_view inputName,
                     std::string_view command) {
  Parser parser(tokenize(express));
  parser.run();
  if (parser.schemaName.empty()) throw GenError("no SCHEMA declaration");
  Emitter emitter(parser);
  return emitter.emit(inputName, command);
}

}  // namespace ifc_schema_gen
