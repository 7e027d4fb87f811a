#pragma once
// The pool that builds the members of one kind of one standard floor: one task per row, run
// one after another on the calling thread or at once on worker threads, with the same file as
// the result either way.
//
// Threaded, each task builds in a write slot of its own reserved in input order (see
// ifc::WritePosition), so the entities are numbered as a sequential run numbers them; each
// task's reports are captured and printed in input order once the pool is done, so lines never
// interleave. A task that throws ends the pool: the tasks before it finish, their reports and
// its own are printed, and its exception is thrown again in the calling thread. Builders
// report faulty member data themselves and return no products, so whatever reaches the pool
// is a fault of the run.

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "ifc/model.h"
#include "ifc/value.h"

namespace Utils {

// Runs task(0) .. task(count - 1) as described above. The number of worker threads is the
// number of processors, at most one per task. Within a StopScope, a raised flag fails the
// next task with RunStopped.
void runMemberTasks(ifc::Model& model, bool threaded, std::size_t count,
                    const std::function<void(std::size_t)>& task);

// Builds every row with `build` (a row in, the row's products out) and appends the products
// to `objectlists` in input order.
template <typename Row, typename Build>
void buildMemberRows(ifc::Model& model, bool threaded, std::span<const Row> rows, Build&& build,
                     std::vector<ifc::Entity>& objectlists) {
  std::vector<std::vector<ifc::Entity>> results(rows.size());
  runMemberTasks(model, threaded, rows.size(), [&](std::size_t i) { results[i] = build(rows[i]); });
  for (const std::vector<ifc::Entity>& products : results) {
    objectlists.insert(objectlists.end(), products.begin(), products.end());
  }
}

}  // namespace Utils
