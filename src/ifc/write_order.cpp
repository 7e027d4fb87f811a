// Write positions: the order of the written file, independent of the order in which threads
// created the entities (see WritePosition in model.h).
#include <algorithm>
#include <array>
#include <atomic>
#include <limits>
#include <thread>
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

namespace {

// Runs work(part, begin, end) on `parts` consecutive ranges of [0, n) at once, the first on
// the calling thread.
template <typename Work>
void inRanges(std::size_t parts, std::size_t n, const Work& work) {
  auto range = [&](std::size_t part) { work(part, n * part / parts, n * (part + 1) / parts); };
  std::vector<std::thread> threads;
  for (std::size_t part = 1; part < parts; ++part) threads.emplace_back(range, part);
  range(0);
  for (std::thread& t : threads) t.join();
}

}  // namespace

Model::Impl::WritePlan Model::Impl::writePlan(unsigned threads) const {
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
  auto before = [&](std::uint32_t a, std::uint32_t b) {
    return positionOf(records[a]) < positionOf(records[b]);
  };
  // Each pass below works on ranges of records (or slots) at once, a range per thread.
  const std::size_t parts = threads > 1 && end >= (std::size_t{1} << 16) ? threads : 1;
  // Stable: entities of one position keep their creation order. The records are bucketed by
  // slot (a counting sort, in index order within a slot), then each slot's records ordered by
  // phase, which a slot seldom needs; a group never placed goes after everything.
  const std::uint64_t buckets = std::uint64_t{main.slot} + 2;
  if (buckets > 2 * std::uint64_t{end} + 2) {
    // Far more slots than records (a model of few entities that reserved many): sorted whole.
    for (std::size_t k = 0; k < end; ++k) {
      if (records.has(k)) plan.order.push_back(static_cast<std::uint32_t>(k));
    }
    std::stable_sort(plan.order.begin(), plan.order.end(), before);
  } else {
    constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> bucketOf(end);
    // counts[part][bucket]: records of the bucket in the part's range, then where the part's
    // first one of the bucket goes.
    std::vector<std::vector<std::uint32_t>> counts(parts, std::vector<std::uint32_t>(buckets));
    inRanges(parts, end, [&](std::size_t part, std::size_t first, std::size_t last) {
      for (std::size_t k = first; k < last; ++k) {
        if (!records.has(k)) {
          bucketOf[k] = kNone;
          continue;
        }
        const auto b = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(positionOf(records[k]).slot, buckets - 1));
        bucketOf[k] = b;
        ++counts[part][b];
      }
    });
    std::vector<std::uint32_t> starts(buckets + 1, 0);
    std::uint32_t placed = 0;
    for (std::size_t b = 0; b < buckets; ++b) {
      starts[b] = placed;
      for (std::vector<std::uint32_t>& c : counts) {
        const std::uint32_t n = c[b];
        c[b] = placed;
        placed += n;
      }
    }
    starts[buckets] = placed;
    plan.order.resize(placed);
    inRanges(parts, end, [&](std::size_t part, std::size_t first, std::size_t last) {
      for (std::size_t k = first; k < last; ++k) {
        if (bucketOf[k] != kNone)
          plan.order[counts[part][bucketOf[k]]++] = static_cast<std::uint32_t>(k);
      }
    });
    inRanges(parts, buckets, [&](std::size_t, std::size_t first, std::size_t last) {
      for (std::size_t b = first; b < last; ++b) {
        const auto from = plan.order.begin() + starts[b];
        const auto to = plan.order.begin() + starts[b + 1];
        if (!std::is_sorted(from, to, before)) std::stable_sort(from, to, before);
      }
    });
  }
  // Records read from a file keep their numbers (they come first: nothing is placed before
  // them); created ones are numbered on from there in write order, leaving out the indices
  // that hold none, as a single thread would have numbered them. Each range of the order
  // numbers on from the created records before it.
  plan.numbers.assign(end, 0);
  const std::size_t firstCreated = records.firstCreatedIndex();
  std::vector<std::uint64_t> createdBefore(parts + 1, 0);
  inRanges(parts, plan.order.size(), [&](std::size_t part, std::size_t first, std::size_t last) {
    createdBefore[part + 1] = static_cast<std::uint64_t>(
        std::count_if(plan.order.begin() + static_cast<std::ptrdiff_t>(first),
                      plan.order.begin() + static_cast<std::ptrdiff_t>(last),
                      [&](std::uint32_t k) { return k >= firstCreated; }));
  });
  for (std::size_t part = 0; part < parts; ++part) createdBefore[part + 1] += createdBefore[part];
  inRanges(parts, plan.order.size(), [&](std::size_t part, std::size_t first, std::size_t last) {
    std::uint64_t next = records.firstCreatedNumber() + createdBefore[part];
    for (std::size_t i = first; i < last; ++i) {
      const std::uint32_t k = plan.order[i];
      plan.numbers[k] = k < firstCreated ? records[k].id : static_cast<std::uint32_t>(next++);
    }
  });
  return plan;
}

}  // namespace ifc
