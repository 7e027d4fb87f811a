#pragma once
// The profiles of a section: its kind code and dimension text ("ShapeVal", items separated by
// ",", item 0 never read) turned into IFC profile definitions, cached for the whole run.

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ifc/model.h"
#include "sections/section_error.h"

namespace Sect {

// Zero profiles (a kind without profiles, or a tapered kind under IFC2X3), one profile, a
// [start, end] pair for the tapered kinds 21, 22, 23, 30, 50 and 51, or a [first, second]
// pair for the composite kinds 12 to 15 and 101 to 105.
using ProfileList = std::vector<ifc::Entity>;

// A cache kept by the caller instead, such as a host script's own dictionary, keyed by the
// dimension text alone: a list found there is used as it is, and what makeProfiles builds is
// stored there. Called by one thread at a time.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The list stored under the text, or null.
  [[nodiscard]] virtual std::shared_ptr<const ProfileList> find(std::string_view shapeValue) = 0;
  virtual void store(std::string_view shapeValue, const ProfileList& profiles) = 0;
};

// The run's profile cache, keyed by the kind together with the dimension text (compared as
// text: "300" and "300.0" are two keys). A stored list is shared by every caller with the
// same key and never changed. Safe to use from several threads at once: each key's profiles
// are built once, by the first caller, while callers of other keys go on; callers of the same
// key wait for it.
class ProfileCache {
 public:
  ProfileCache();
  // A cache whose lists are those of `store`; its own map stays empty.
  explicit ProfileCache(std::shared_ptr<ProfileStore> store);
  ~ProfileCache();
  ProfileCache(const ProfileCache&) = delete;
  ProfileCache& operator=(const ProfileCache&) = delete;

  // The stored list for the key, or null.
  [[nodiscard]] std::shared_ptr<const ProfileList> find(double kind, std::string_view text) const;
  // The number of stored lists.
  [[nodiscard]] std::size_t size() const;
  // Each stored list with its dimension text, by kind and then text; not while lists are
  // being made.
  void forEach(const std::function<void(std::string_view, const ProfileList&)>& visit) const;

 private:
  friend std::shared_ptr<const ProfileList> makeProfiles(ifc::Model&, ProfileCache&, double,
                                                         std::string_view);
  struct Entry;
  using Key = std::pair<double, std::string>;
  mutable std::mutex mutex_;  // guards the map only, never held while profiles are built
  std::map<Key, std::shared_ptr<Entry>, std::less<>> entries_;
  std::shared_ptr<ProfileStore> store_;
  std::mutex storeMutex_;  // held while a list is looked up, built and stored in store_
};

// The profiles of one section. With a ProfileStore, the list it holds under shapeValue is
// returned before anything else is looked at, and a built list is stored there, as below.
// A list already stored under (kind, shapeValue) is returned
// as is, without reading the text or creating entities. Otherwise the kind's builders are
// called with the items of the text that the kind reads, and the result, an empty list too,
// is stored. A tapered kind under IFC2X3 gets a new empty list that is not stored. A kind is
// matched by numeric value, so 1.0 is kind 1.
//
// A stored list's entities are written where the earliest caller in write order asked for
// them (a shared group of the model, see ifc::WritePosition), so that a threaded run, where a
// later member may build a profile first, writes what a sequential run writes.
//
// Throws SectionError, storing nothing and creating nothing in ifcfile, when the text has too
// few items for its kind, an item read is not a number, or a builder refuses the dimensions.
[[nodiscard]] std::shared_ptr<const ProfileList> makeProfiles(ifc::Model& ifcfile,
                                                              ProfileCache& cache, double kind,
                                                              std::string_view shapeValue);

}  // namespace Sect
