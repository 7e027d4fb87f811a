// Write positions: the order of the written file, independent of the order in which threads
// created the entities (see WritePosition in model.h).
#include <algorithm>
#include <limits>

#include "ifc/model_impl.h"

namespace ifc {

namespace detail {

namespace {
thread_local ThreadPosition* innermost = nullptr;

void push(ThreadPosition& position) {
  position.previous = innermost;
  innermost = &position;
}

// Scopes are made and ended on their thread like any local: the innermost ends first.
void pop(const ThreadPosition& position) { innermost = position.previous; }

}  // namespace

ThreadPosition* threadPosition(const void* model) {
  for (ThreadPosition* p = innermost; p != nullptr; p = p->previous) {
    if (p->model == model) return p;
  }
  return nullptr;
}

}  // namespace detail

namespace {

// Not placed yet: after everything.
constexpr WritePosition kNowhere{std::numeric_limits<std::uint32_t>::max(),
                                 std::numeric_limits<std::uint32_t>::max()};

}  // namespace

std::uint32_t Model::reserveSlots(std::uint32_t n) {
  const std::scoped_lock lock(impl_->mutex);
  WritePosition& main = impl_->main;
  if (n >= detail::kGroupBit - 1 - main.slot) throw Error("too many write slots reserved");
  const std::uint32_t first = main.slot + 1;
  main = WritePosition{main.slot + n + 1, 0};
  return first;
}

std::uint32_t Model::createGroup() {
  const std::scoped_lock lock(impl_->mutex);
  if (impl_->groups.size() >= detail::kGroupBit) throw Error("too many shared groups");
  impl_->groups.push_back(kNowhere);
  return static_cast<std::uint32_t>(impl_->groups.size() - 1);
}

WritePosition Model::takePosition() {
  // The entities made before stay at the current phase, the group takes the next one and the
  // entities made afterwards the one after.
  auto take = [](std::uint32_t slot, std::uint32_t& phase) {
    if (phase >= std::numeric_limits<std::uint32_t>::max() - 2) {
      throw Error("too many shared groups used in one write slot");
    }
    const WritePosition at{slot, phase + 1};
    phase += 2;
    return at;
  };
  if (detail::ThreadPosition* p = detail::threadPosition(impl_.get())) {
    if (p->group) throw Error("a shared group cannot be used while one is being built");
    return take(p->slot, p->phase);
  }
  const std::scoped_lock lock(impl_->mutex);
  return take(impl_->main.slot, impl_->main.phase);
}

void Model::placeGroup(std::uint32_t group, WritePosition at) {
  const std::scoped_lock lock(impl_->mutex);
  if (group >= impl_->groups.size()) throw Error("no shared group " + std::to_string(group));
  impl_->groups[group] = std::min(impl_->groups[group], at);
}

detail::Arena* Model::Impl::lendArena() {
  const std::scoped_lock lock(arenasMutex);
  if (freeArenas.empty()) {
    arenas.push_back(std::make_unique<detail::Arena>());
    return arenas.back().get();
  }
  detail::Arena* a = freeArenas.back();
  freeArenas.pop_back();
  return a;
}

void Model::Impl::returnArena(detail::Arena* a) {
  const std::scoped_lock lock(arenasMutex);
  freeArenas.push_back(a);
}

// Each scope has an arena of its own while it lives, so that its thread encodes values
// without a lock; the next scope reuses it.
Model::SlotScope::SlotScope(Model& model, std::uint32_t slot) : model_(model) {
  if (slot >= detail::kGroupBit) throw Error("write slot out of range");
  position_.model = model.impl_.get();
  position_.slot = slot;
  position_.arena = model.impl_->lendArena();
  detail::push(position_);
}

Model::SlotScope::~SlotScope() {
  detail::pop(position_);
  model_.impl_->returnArena(static_cast<detail::Arena*>(position_.arena));
}

Model::GroupScope::GroupScope(Model& model, std::uint32_t group) : model_(model) {
  {
    const std::scoped_lock lock(model.impl_->mutex);
    if (group >= model.impl_->groups.size()) {
      throw Error("no shared group " + std::to_string(group));
    }
  }
  position_.model = model.impl_.get();
  position_.slot = group;
  position_.group = true;
  position_.arena = model.impl_->lendArena();
  detail::push(position_);
}

Model::GroupScope::~GroupScope() {
  detail::pop(position_);
  model_.impl_->returnArena(static_cast<detail::Arena*>(position_.arena));
}

std::vector<std::uint32_t> Model::Impl::writeOrder() const {
  auto positionOf = [this](const detail::Record& r) {
    if ((r.slot & detail::kGroupBit) != 0) return groups[r.slot & ~detail::kGroupBit];
    return WritePosition{r.slot, r.phase};
  };
  bool inOrder = true;
  for (std::size_t k = 1; k < records.size() && inOrder; ++k) {
    inOrder = !(positionOf(records[k]) < positionOf(records[k - 1]));
  }
  if (inOrder) return {};
  std::vector<std::uint32_t> order(records.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<std::uint32_t>(k);
  // Stable: entities of one position keep their creation (number) order.
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return positionOf(records[a]) < positionOf(records[b]);
  });
  return order;
}

}  // namespace ifc
