// Texts of SchemaError messages.
#include "ifc/schema_error_text.h"

#include <cmath>

#include "ifc/model_impl.h"
#include "ifc/step_text.h"

namespace ifc::detail {

namespace sc = schema;

namespace {

// A short STEP-like rendering of a value, for error messages.
void describeTo(std::string& out, const Value& v) {
  switch (v.kind()) {
    case Value::Kind::Unset:
      out += '$';
      break;
    case Value::Kind::Derived:
      out += '*';
      break;
    case Value::Kind::Boolean:
      out += v.asBool() ? ".T." : ".F.";
      break;
    case Value::Kind::Logical:
      out += v.asLogical() == Logical::True    ? ".T."
             : v.asLogical() == Logical::False ? ".F."
                                               : ".U.";
      break;
    case Value::Kind::Integer:
      out += std::to_string(v.asInt());
      break;
    case Value::Kind::Real: {
      char buf[step::kMaxRealChars];
      if (std::isfinite(v.asDouble())) {
        out.append(buf, step::formatReal(v.asDouble(), buf));
      } else {
        out += std::to_string(v.asDouble());
      }
      break;
    }
    case Value::Kind::String: {
      std::string_view s = v.asString();
      out += '\'';
      out += s.substr(0, 60);
      out += s.size() > 60 ? "...'" : "'";
      break;
    }
    case Value::Kind::Enum:
      out += '.' + v.asEnum() + '.';
      break;
    case Value::Kind::Entity:
      out += idText(v.asEntity().id());
      break;
    case Value::Kind::Typed:
      out += v.typeName() + '(';
      describeTo(out, v.inner());
      out += ')';
      break;
    case Value::Kind::List: {
      out += '(';
      const List& l = v.asList();
      for (std::size_t k = 0; k < l.size() && k < 8; ++k) {
        if (k) out += ',';
        describeTo(out, l[k]);
      }
      out += l.size() > 8 ? ",...)" : ")";
      break;
    }
  }
}

}  // namespace

std::string describe(const Value& v) {
  std::string s;
  describeTo(s, v);
  return s;
}

std::string nodeName(const sc::SchemaDef& s, std::uint16_t node) {
  const sc::TypeNode& n = s.nodes[node];
  switch (n.kind) {
    case sc::NodeKind::Simple: {
      static constexpr const char* kSimple[] = {"REAL",    "INTEGER", "NUMBER", "BOOLEAN",
                                                "LOGICAL", "STRING",  "BINARY"};
      return kSimple[n.ref];
    }
    case sc::NodeKind::Entity:
      return s.entities[n.ref].name;
    case sc::NodeKind::Defined:
      return s.definedTypes[n.ref].name;
    case sc::NodeKind::Enumeration:
      return s.enumerations[n.ref].name;
    case sc::NodeKind::Select:
      return s.selects[n.ref].name;
    case sc::NodeKind::List:
      return "LIST OF " + nodeName(s, n.ref);
    case sc::NodeKind::Set:
      return "SET OF " + nodeName(s, n.ref);
    case sc::NodeKind::Array:
      return "ARRAY OF " + nodeName(s, n.ref);
    case sc::NodeKind::Bag:
      return "BAG OF " + nodeName(s, n.ref);
  }
  return "?";
}

}  // namespace ifc::detail
