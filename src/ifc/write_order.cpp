// Write positions: the order of the written file, independent of the order in which threads
// created the entities (see WritePosition in model.h).
#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <vector>

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

namespace {

// The state this thread last used in each of a few models, by model serial. A serial is never
// reused, so an entry of a model that is gone is never matched again.
struct CachedState {
  std::uint64_t serial = 0;
  Model::Impl::ThreadState* state = nullptr;
};
thread_local std::array<CachedState, 4> cachedStates;

}  // namespace

std::uint64_t detail::newModelSerial() {
  static std::atomic<std::uint64_t> next{1};
  return next++;
}

Model::Impl::ThreadState& Model::Impl::threadState() {
  for (const CachedState& c : cachedStates) {
    if (c.serial == serial) return *c.state;
  }
  ThreadState* state = nullptr;
  {
    const std::scoped_lock lock(arenasMutex);
    arenas.push_back(std::make_unique<detail::Arena>());
    threadStates.push_back(std::make_unique<ThreadState>());
    state = threadStates.back().get();
    state->arena = arenas.back().get();
  }
  std::rotate(cachedStates.rbegin(), cachedStates.rbegin() + 1, cachedStates.rend());
  cachedStates.front() = CachedState{serial, state};
  return *state;
}

// A scope's thread encodes into an arena of its own, without a lock.
Model::SlotScope::SlotScope(Model& model, std::uint32_t slot) {
  if (slot >= detail::kGroupBit) throw Error("write slot out of range");
  position_.model = model.impl_.get();
  position_.slot = slot;
  position_.blocks = true;
  position_.arena = model.impl_->threadState().arena;
  detail::push(position_);
}

Model::SlotScope::~SlotScope() { detail::pop(position_); }

Model::GroupScope::GroupScope(Model& model, std::uint32_t group) {
  {
    const std::scoped_lock lock(model.impl_->mutex);
    if (group >= model.impl_->groups.size()) {
      throw Error("no shared group " + std::to_string(group));
    }
  }
  position_.model = model.impl_.get();
  position_.slot = group;
  position_.group = true;
  // In a pool's task the group's records join the thread's block like the task's own; built
  // by a thread outside any slot scope they are appended one by one, as that thread's are.
  const detail::ThreadPosition* outer = detail::threadPosition(model.impl_.get());
  position_.blocks = outer != nullptr && outer->blocks;
  position_.arena = model.impl_->threadState().arena;
  detail::push(position_);
}

Model::GroupScope::~GroupScope() { detail::pop(position_); }

Model::Impl::WritePlan Model::Impl::writePlan() const {
  auto positionOf = [this](const detail::Record& r) {
    if ((r.slot & detail::kGroupBit) != 0) return groups[r.slot & ~detail::kGroupBit];
    return WritePosition{r.slot, r.phase};
  };
  const std::size_t end = records.end();
  bool plain = true;  // every index holds a record, in write order
  for (std::size_t k = 0; k < end && plain; ++k) {
    plain = records.has(k) && (k == 0 || !(positionOf(records[k]) < positionOf(records[k - 1])));
  }
  WritePlan plan;
  if (plain) return plan;
  // Stable: entities of one position keep their creation order. The records are bucketed by
  // slot (a counting sort, in index order within a slot), then each slot's records ordered by
  // phase, which a slot seldom needs; a group never placed goes after everything.
  const std::uint64_t buckets = std::uint64_t{main.slot} + 2;
  if (buckets > 2 * std::uint64_t{end} + 2) {
    // Far more slots than records (a model of few entities that reserved many): sorted whole.
    for (std::size_t k = 0; k < end; ++k) {
      if (records.has(k)) plan.order.push_back(static_cast<std::uint32_t>(k));
    }
    std::stable_sort(plan.order.begin(), plan.order.end(), [&](std::uint32_t a, std::uint32_t b) {
      return positionOf(records[a]) < positionOf(records[b]);
    });
  } else {
    auto bucketOf = [&](const detail::Record& r) {
      return std::min<std::uint64_t>(positionOf(r).slot, buckets - 1);
    };
    std::vector<std::uint32_t> starts(buckets + 1, 0);
    for (std::size_t k = 0; k < end; ++k) {
      if (records.has(k)) ++starts[bucketOf(records[k]) + 1];
    }
    for (std::size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
    plan.order.resize(starts.back());
    {
      std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
      for (std::size_t k = 0; k < end; ++k) {
        if (records.has(k))
          plan.order[next[bucketOf(records[k])]++] = static_cast<std::uint32_t>(k);
      }
    }
    auto before = [&](std::uint32_t a, std::uint32_t b) {
      return positionOf(records[a]) < positionOf(records[b]);
    };
    for (std::size_t b = 0; b + 1 < starts.size(); ++b) {
      const auto first = plan.order.begin() + starts[b];
      const auto last = plan.order.begin() + starts[b + 1];
      if (!std::is_sorted(first, last, before)) std::stable_sort(first, last, before);
    }
  }
  // Records read from a file keep their numbers (they come first: nothing is placed before
  // them); created ones are numbered on from there in write order, leaving out the indices
  // that hold none, as a single thread would have numbered them.
  plan.numbers.assign(end, 0);
  std::uint64_t next = records.firstCreatedNumber();
  for (const std::uint32_t k : plan.order) {
    plan.numbers[k] =
        k < records.firstCreatedIndex() ? records[k].id : static_cast<std::uint32_t>(next++);
  }
  return plan;
}

}  // namespace ifc
