#include "sections/make_profiles.h"

#include <cmath>
#include <optional>

#include "sections/builders.h"
#include "sections/tapered_kinds.h"
#include "text/number_text.h"
#include "text/split.h"

namespace Sect {

// One key's list, built once. `profiles` is null until built; a build that throws leaves it
// null, and the next caller tries again (and fails the same way).
struct ProfileCache::Entry {
  std::mutex mutex;  // held by the caller that builds the list
  std::shared_ptr<const ProfileList> profiles;
  std::optional<std::uint32_t> group;  // the model's shared group of the list's entities
  // Set once the list is built: profiles and group are read without the lock from then on.
  std::atomic<bool> built{false};
  // The earliest position the group was placed at (slot and phase in one number): a later
  // caller has nothing to place, and does not queue on the model's lock to learn so.
  std::atomic<std::uint64_t> placedAt{~std::uint64_t{0}};
};

ProfileCache::ProfileCache() = default;
ProfileCache::ProfileCache(std::shared_ptr<ProfileStore> store) : store_(std::move(store)) {}
ProfileCache::~ProfileCache() = default;

std::shared_ptr<const ProfileList> ProfileCache::find(double kind, std::string_view text) const {
  if (std::isnan(kind)) return nullptr;
  std::shared_ptr<Entry> entry;
  {
    const std::scoped_lock lock(mutex_);
    const auto it = entries_.find(Key{kind, std::string(text)});
    if (it == entries_.end()) return nullptr;
    entry = it->second;
  }
  const std::scoped_lock lock(entry->mutex);
  return entry->profiles;
}

std::size_t ProfileCache::size() const {
  std::vector<std::shared_ptr<Entry>> all;
  {
    const std::scoped_lock lock(mutex_);
    for (const auto& [key, entry] : entries_) all.push_back(entry);
  }
  std::size_t built = 0;
  for (const auto& entry : all) {
    const std::scoped_lock lock(entry->mutex);
    if (entry->profiles) ++built;
  }
  return built;
}

void ProfileCache::forEach(
    const std::function<void(std::string_view, const ProfileList&)>& visit) const {
  const std::scoped_lock lock(mutex_);
  for (const auto& [key, entry] : entries_) {
    if (entry->built.load(std::memory_order_acquire)) visit(key.second, *entry->profiles);
  }
}

namespace {

// The items of one dimension text, converted on demand.
class Items {
 public:
  Items(long kind, std::string_view text)
      : kind_(kind), text_(text), items_(text::split(text, ',')) {}

  [[nodiscard]] bool has(std::size_t n) const { return n < items_.size(); }
  // Present and not blank.
  [[nodiscard]] bool hasText(std::size_t n) const {
    return has(n) && items_[n].find_first_not_of(" \t\r\n\f\v") != std::string::npos;
  }

  [[nodiscard]] double operator[](std::size_t n) const {
    if (!has(n)) {
      throw SectionError("dimension text \"" + std::string(text_) + "\" of section kind " +
                         std::to_string(kind_) + " has no item " + std::to_string(n));
    }
    try {
      return text::parseFloat(items_[n]);
    } catch (const text::ParseError&) {
      throw SectionError("item " + std::to_string(n) + " \"" + items_[n] +
                         "\" of dimension text \"" + std::string(text_) + "\" is not a number");
    }
  }

 private:
  long kind_;
  std::string_view text_;
  std::vector<std::string> items_;
};

// The kind table: the builders of each kind with the items they take.
ProfileList buildProfiles(ifc::Model& m, long kind, const Items& it) {
  switch (kind) {
    case 1: {
      const double b = it[1], h = it[2];
      return {Rect_Section(m, b, h)};
    }
    case 2: {
      const double tw = it[1], D = it[2], W = it[3], tf = it[4];
      return {I_Section(m, W, D, tw, tf, 0.0)};
    }
    case 3:
      return {Circle_Section(m, it[1])};
    case 4: {
      const double diameter = it[1], edges = it[2];
      return {NGon_Section(m, diameter, edges)};
    }
    case 5: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      if (i3 == i5 && i4 == i6) return {U_Section(m, i3, i2, i1, i4, 0.0)};
      return {U_Section_Ex(m, i1, i2, i3, i4, i5, i6)};
    }
    case 6: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      return {HV_Section(m, i1, i2, i3, i4, i5, i6)};
    }
    case 7: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      if (i3 == i4 && i4 == i5 && i5 == i6) return {RH_Section(m, i1, i2, i3)};
      return {RH_Section_Ex(m, i1, i2, i3, i4, i5, i6)};
    }
    case 8: {
      const double outD = it[1], inD = it[2];
      return {CH_Section(m, outD, inD)};
    }
    case 9: {
      // Item 4 gives both flange thicknesses, item 5 only the bottom width.
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      return {Double_U_Section(m, i1, i2, i3, i4, i5, i4, i6)};
    }
    case 10: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6],
                   i7 = it[7], i8 = it[8];
      return {Double_I_Section_Ex(m, i1, i2, i3, i4, i5, i6, i7, i8)};
    }
    case 11: {
      const double i1 = it[1], i2 = it[2], i3 = it[3];
      return {Trap_Section(m, i1, i2, i3, i3)};
    }
    case 12: {
      const double i1 = it[1], i2 = it[2];
      const ifc::Entity first = CH_Section(m, i1, i2);
      return {first, Circle_Section(m, i2)};
    }
    case 13: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      const ifc::Entity first = Rect_Section(m, i1, i2);
      return {first, I_Section(m, i5, i4, i3, i6, 0.0)};
    }
    case 14: {
      // Two independent tests: the rectangle is reduced when it has the tube's size, and the
      // tube has one wall thickness or two.
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      const bool reduce = i1 == i3 && i2 == i4;
      const ifc::Entity first =
          reduce ? Rect_Section(m, i1 - 2 * i5, i2 - 2 * i6) : Rect_Section(m, i1, i2);
      if (i5 != i6) return {first, RH_Section_Ex(m, i3, i4, i6, i5, i6, i5)};
      return {first, RH_Section(m, i3, i4, i5)};
    }
    case 15: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      const ifc::Entity first = Rect_Section(m, i1, i2);
      return {first, Double_I_Section(m, i6, i5, i3, i4)};
    }
    case 21: {
      const double i1 = it[1], i2 = it[2], i3 = it[3];
      const ifc::Entity start = Rect_Section(m, i1, i2);
      return {start, Rect_Section(m, i1, i3)};
    }
    case 22: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6],
                   i7 = it[7];
      if (i1 == i2 && i6 == i7) {
        const ifc::Entity start = I_Section(m, i2, i3, i5, i7, 0.0);
        return {start, I_Section(m, i2, i4, i5, i7, 0.0)};
      }
      const ifc::Entity start = I_Section_Ex(m, i5, i3, i1, i2, i6, i7);
      return {start, I_Section_Ex(m, i5, i4, i1, i2, i6, i7)};
    }
    case 23: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5];
      const ifc::Entity start = RH_Section_Ex(m, i1, i2, i5, i4, i5, i4);
      return {start, RH_Section_Ex(m, i1, i3, i5, i4, i5, i4)};
    }
    case 24: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      return {Comp1_Section(m, i1, i2, i3, i4, i5, i6)};
    }
    case 25: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6];
      return {Comp2_Section(m, i1, i2, i3, i4, i5, i6)};
    }
    case 28: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4];
      if (i1 != i4) return {L_Section_Ex(m, i3, i2, i1, i4)};
      return {L_Section(m, i3, i2, i1, 0.0)};
    }
    case 29: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4];
      return {T_Section(m, i3, i2, i1, i4, 0.0)};
    }
    case 30: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4];
      const ifc::Entity start = CH_Section(m, i1, i2);
      return {start, CH_Section(m, i3, i4)};
    }
    case 50: {
      // Items 1 to 8 as kind 10 for the end; the start's vertical height is item 9 when the
      // text has one, else the end's (a prismatic member). A trailing empty item counts as
      // none.
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6],
                   i7 = it[7], i8 = it[8];
      const double startHeight = it.hasText(9) ? it[9] : i2;
      const ifc::Entity start = Double_I_Section_Ex(m, i1, startHeight, i3, i4, i5, i6, i7, i8);
      return {start, Double_I_Section_Ex(m, i1, i2, i3, i4, i5, i6, i7, i8)};
    }
    case 51: {
      const double B = it[1], H = it[2], T = it[3], F = it[4], U = it[5], D = it[6], endD = it[7],
                   L = it[8], P = it[9];
      const ifc::Entity start = TI_Section(m, B, H, T, F, U, D, L, P);
      return {start, TI_Section(m, B, H, T, F, U, endD, L, P)};
    }
    case 101: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6],
                   i7 = it[7], i8 = it[8], i9 = it[9], i10 = it[10];
      const ifc::Entity first = Rect_Section(m, i1, i2);
      return {first, Double_I_Section_Ex(m, i3, i5, i4, i6, i7, i9, i8, i10)};
    }
    case 102: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4];
      const ifc::Entity first = Rect_Section(m, i1, i2);
      return {first, CH_Section(m, i3, i4)};
    }
    case 103: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5];
      const ifc::Entity first = Circle_Section(m, i1);
      return {first, I_Section(m, i4, i3, i2, i5, 0.0)};
    }
    case 104: {
      const double i1 = it[1], i2 = it[2], i3 = it[3];
      const ifc::Entity first = Circle_Section(m, i1);
      return {first, CH_Section(m, i2, i3)};
    }
    case 105: {
      const double i1 = it[1], i2 = it[2], i3 = it[3], i4 = it[4], i5 = it[5], i6 = it[6],
                   i7 = it[7], i8 = it[8], i9 = it[9];
      const ifc::Entity first = Circle_Section(m, i1);
      return {first, Double_I_Section_Ex(m, i2, i4, i3, i5, i6, i8, i7, i9)};
    }
    default:  // 26, 301, 302, 303, 405 and every other code: no profiles
      return {};
  }
}

// The kind as a code of the table, or none for a kind that is not a whole number.
std::optional<long> kindCode(double kind) {
  if (!std::isfinite(kind) || kind != std::floor(kind) || std::abs(kind) > 1e9) return std::nullopt;
  return static_cast<long>(kind);
}

// Tapered kinds need IFC4; under IFC2X3 they have no profiles, and nothing is stored.
bool taperedUnderIfc2x3(const ifc::Model& ifcfile, std::optional<long> code) {
  return code && isTaperedKind(static_cast<double>(*code)) && ifcfile.schemaName() == "IFC2X3";
}

// Builds the profiles on a scratch model, to be done before building them in the run's
// model: a row whose second builder refuses its dimensions then leaves no entities of the
// first one behind there.
void tryOnScratch(const ifc::Model& ifcfile, long code, const Items& items) {
  ifc::Model trial(ifcfile.schemaName());
  (void)buildProfiles(trial, code, items);
}

// makeProfiles with the caller's store: one caller at a time, so a text's list is built once.
std::shared_ptr<const ProfileList> makeStoredProfiles(ifc::Model& ifcfile, ProfileStore& store,
                                                      double kind, std::string_view shapeValue) {
  if (auto found = store.find(shapeValue)) return found;
  const std::optional<long> code = kindCode(kind);
  if (taperedUnderIfc2x3(ifcfile, code)) return std::make_shared<const ProfileList>();
  ProfileList built;
  if (code) {
    const Items items(*code, shapeValue);
    tryOnScratch(ifcfile, *code, items);
    built = buildProfiles(ifcfile, *code, items);
  }
  auto profiles = std::make_shared<const ProfileList>(std::move(built));
  store.store(shapeValue, *profiles);
  return profiles;
}

}  // namespace

std::shared_ptr<const ProfileList> makeProfiles(ifc::Model& ifcfile, ProfileCache& cache,
                                                double kind, std::string_view shapeValue) {
  if (cache.store_) {
    const std::scoped_lock lock(cache.storeMutex_);
    return makeStoredProfiles(ifcfile, *cache.store_, kind, shapeValue);
  }
  const std::optional<long> code = kindCode(kind);
  if (taperedUnderIfc2x3(ifcfile, code)) return std::make_shared<const ProfileList>();
  if (std::isnan(kind)) return std::make_shared<const ProfileList>();

  // Taken before the lookup, by every caller: the list's entities are written at the
  // earliest such position, where a sequential run creates them.
  const ifc::WritePosition use = ifcfile.takePosition();
  std::shared_ptr<ProfileCache::Entry> entry;
  {
    const std::scoped_lock lock(cache.mutex_);
    auto& slot = cache.entries_[ProfileCache::Key{kind, std::string(shapeValue)}];
    if (!slot) slot = std::make_shared<ProfileCache::Entry>();
    entry = slot;
  }
  // Builds the entry's list unless another caller has; only the callers of this key wait
  // meanwhile.
  auto build = [&](ProfileCache::Entry& e) {
    const std::scoped_lock building(e.mutex);
    if (!e.profiles) {
      ProfileList built;
      if (code) {
        const Items items(*code, shapeValue);
        tryOnScratch(ifcfile, *code, items);
        const std::uint32_t group = ifcfile.createGroup();
        const ifc::Model::GroupScope scope(ifcfile, group);
        built = buildProfiles(ifcfile, *code, items);
        e.group = group;
      }
      e.profiles = std::make_shared<const ProfileList>(std::move(built));
    }
    e.built.store(true, std::memory_order_release);
  };
  if (!entry->built.load(std::memory_order_acquire)) build(*entry);
  if (entry->group) {
    const std::uint64_t at = std::uint64_t{use.slot} << 32 | use.phase;
    std::uint64_t placed = entry->placedAt.load();
    while (at < placed) {
      if (entry->placedAt.compare_exchange_weak(placed, at)) {
        ifcfile.placeGroup(*entry->group, use);
        break;
      }
    }
  }
  return entry->profiles;
}

}  // namespace Sect
