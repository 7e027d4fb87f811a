#pragma once
// An IFC model of one schema (IFC2X3 or IFC4): entities created by type name with
// positional attributes, checked against the schema at every create and set, numbered in
// creation order, written to and read from ISO 10303-21 text.
//
// Thread safety: every member function of Model and of Entity may be called from several
// threads at once; creation, attribute setting, numbering and the inverse index are
// synchronised inside the model.
//
// Write order: the file is written in the order of the entities' write positions, which need
// not be their creation order (see WritePosition); the k-th entity written takes the k-th
// smallest number in use, so a model written in creation order keeps its numbers.

#include <atomic>
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

namespace detail {
// The position of the entities one thread creates in one model inside a scope.
struct ThreadPosition {
  const void* model = nullptr;
  std::uint32_t slot = 0;  // the group's index in a group scope
  std::uint32_t phase = 0;
  bool group = false;
  bool blocks = false;    // records go into the thread's index block (inside a slot scope)
  void* arena = nullptr;  // the thread's arena of the model
  ThreadPosition* previous = nullptr;
};
}  // namespace detail

// Where an entity goes in the written file: by slot, then by phase within the slot, and
// entities of one position in creation order.
//
// Without scopes every entity takes the model's own current position, so a model built on
// one thread is written in creation order. A pool that builds tasks on several threads
// reserves one slot per task, in input order, and runs each task in a SlotScope: whatever the
// interleaving of the threads, the file is the one that running the tasks one after another
// writes, provided each task creates the same entities in the same order in both runs.
//
// The entities of a shared group (a profile built once and used by several tasks) are
// written at the earliest position that used the group, which is where running the tasks one
// after another would have created them: a user takes a position with takePosition() before
// it looks the group up, the thread that builds the group does so in a GroupScope, and every
// user places the group at its position with placeGroup().
struct WritePosition {
  std::uint32_t slot = 0;
  std::uint32_t phase = 0;
  friend auto operator<=>(const WritePosition&, const WritePosition&) = default;
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

  // ---- Write order (see WritePosition) ----

  // Reserves n consecutive slots after the model's current one and returns the first;
  // entities created outside any scope afterwards follow all of them.
  std::uint32_t reserveSlots(std::uint32_t n);

  // A new, empty shared group.
  std::uint32_t createGroup();

  // The calling thread's current position, for a shared group used here; entities this
  // thread creates afterwards follow the group. Throws Error inside a GroupScope.
  WritePosition takePosition();

  // Moves the group to `at` when that is earlier than where it is (a new group is nowhere:
  // its first placement puts it).
  void placeGroup(std::uint32_t group, WritePosition at);

  // While alive, the entities this thread creates in the model take `slot`, in phases that
  // start at 0. Scopes nest; each restores the one before. Made and ended on one thread.
  class SlotScope {
   public:
    SlotScope(Model& model, std::uint32_t slot);
    ~SlotScope();
    SlotScope(const SlotScope&) = delete;
    SlotScope& operator=(const SlotScope&) = delete;

   private:
    detail::ThreadPosition position_;
  };

  // While alive, the entities this thread creates in the model belong to the group.
  class GroupScope {
   public:
    GroupScope(Model& model, std::uint32_t group);
    ~GroupScope();
    GroupScope(const GroupScope&) = delete;
    GroupScope& operator=(const GroupScope&) = delete;

   private:
    detail::ThreadPosition position_;
  };

  void write(std::ostream& out) const;
  // With threads > 1, the text is made in pieces on that many threads at once and written in
  // order: the same text as write(out).
  void write(std::ostream& out, unsigned threads) const;
  // Replaces the file at path only once the whole text is written (see OutputFile); throws
  // Error naming path and the system's reason. Threads as for write(). Raising *stop from
  // another thread ends the writing soon, with Error (ECANCELED) and no file.
  void writeFile(const std::filesystem::path& path, unsigned threads = 1,
                 const std::atomic<bool>* stop = nullptr) const;
  [[nodiscard]] std::string toString() const;

  struct Impl;

 private:
  Entity createFrom(std::string_view type, const Value* values, std::size_t count);

  std::unique_ptr<Impl> impl_;
  friend class Entity;
  friend Impl& implOf(const Model& model);
};

}  // namespace ifc
