#include "driver/chunked_tasks.h"

#include <algorithm>

#include "members/member_pool.h"

namespace Verdamo {

void forEachProduct(ifc::Model& model, bool threaded, std::size_t count,
                    const std::function<void(std::size_t)>& each) {
  const std::size_t tasks = (count + kProductsPerTask - 1) / kProductsPerTask;
  Utils::runMemberTasks(model, threaded, tasks, [&](std::size_t task) {
    const std::size_t end = std::min(count, (task + 1) * kProductsPerTask);
    for (std::size_t i = task * kProductsPerTask; i < end; ++i) each(i);
  });
}

}  // namespace Verdamo
