#pragma once
// An IFC model of one schema (IFC2X3 or IFC4): entities created by type name with
// positional attributes, checked against the schema at every create and set, numbered in
// creation order, written to and read from ISO 10303-21 text.
//
// Thread safety: every member function of Model and of Entity may be called from several
// threads at once; creation, attribute setting, numbering and the inverse index are
// synchronised inside the model.

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ifc/value.h"

namespace ifc {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A create or set that the schema refuses; the message names the entity type, the
// attribute and the value.
class SchemaError : public Error {
 public:
  using Error::Error;
};

// Malformed ISO 10303-21 text; the message names the line.
class ParseError : public Error {
 public:
  using Error::Error;
};

class Model {
 public:
  // schemaName is "IFC2X3" or "IFC4"; anything else throws Error.
  explicit Model(std::string_view schemaName);
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  // Reads a whole ISO 10303-21 text. The schema comes from FILE_SCHEMA; the header records
  // are kept as read and written back unchanged; entity numbers are kept, and new entities
  // continue after the largest number read.
  [[nodiscard]] static std::unique_ptr<Model> parse(std::string_view text);
  [[nodiscard]] static std::unique_ptr<Model> readFile(const std::filesystem::path& path);

  [[nodiscard]] const std::string& schemaName() const;

  // Creates an entity of a non-abstract type (name case-insensitive). Attributes are
  // positional in schema order, inherited ones first; missing trailing ones stay unset.
  // A text given for an enumeration attribute is taken as its item ("AREA"); an integer
  // given for a real attribute is taken as a real.
  Entity create(std::string_view type, std::initializer_list<Value> attributes = {});
  Entity create(std::string_view type, std::vector<Value> attributes);

  // The entity numbered id; throws Error when there is none.
  [[nodiscard]] Entity entity(std::uint32_t id) const;
  // Entities of the type and its subtypes, in number order.
  [[nodiscard]] std::vector<Entity> by_type(std::string_view type) const;
  [[nodiscard]] std::size_t size() const;

  // Every problem found, each naming #id, entity type and attribute: unset mandatory
  // attributes, unresolved references, aggregate bounds, GlobalIds not unique or not well
  // formed. Empty when the model is valid.
  [[nodiscard]] std::vector<std::string> validate() const;

  void write(std::ostream& out) const;
  // Replaces the file at path only once the whole text is written (see OutputFile); throws
  // Error naming path and the system's reason.
  void writeFile(const std::filesystem::path& path) const;
  [[nodiscard]] std::string toString() const;

  struct Impl;

 private:
  Entity createFrom(std::string_view type, const Value* values, std::size_t count);

  std::unique_ptr<Impl> impl_;
  friend class Entity;
  friend Impl& implOf(const Model& model);
};

}  // namespace ifc
