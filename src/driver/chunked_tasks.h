#pragma once
// The products of a floor mapped, copied or placed under a storey: one small piece of work per
// product, run in order or, threaded, a chunk of products per task of the member pool.

#include <cstddef>
#include <functional>

#include "ifc/model.h"

namespace Verdamo {

// Products handled per task: enough to outweigh a task's own cost, few enough to share out.
inline constexpr std::size_t kProductsPerTask = 64;

// Runs each(0) .. each(count - 1) in order or, threaded, kProductsPerTask at a time on the
// member pool (see Utils::runMemberTasks): the file is the one running them in order writes.
void forEachProduct(ifc::Model& model, bool threaded, std::size_t count,
                    const std::function<void(std::size_t)>& each);

}  // namespace Verdamo
