#pragma once
// The run context of builders called from a script: read from the shared namespace `config`
// (see config.py) for the model the builder is given. Nothing is taken for granted: a context
// that is missing, or made for another model, is refused before any entity is touched.

#include <memory>

#include "host/host_model.h"
#include "members/run_context.h"
#include "sections/make_profiles.h"

namespace host {

// The profile cache of `model` for the current config.dict_profile; with the interpreter lock
// held. Throws Utils::RunContextError when config.dict_profile is not assigned.
[[nodiscard]] std::shared_ptr<Sect::ProfileCache> profileCacheOf(HostModel& model);

// Everything a builder reads, valid while the caller holds `profiles` and the model.
struct BoundRunContext {
  std::shared_ptr<Sect::ProfileCache> profiles;
  Utils::RunContext context;
};

// With the interpreter lock held. Throws Utils::RunContextError naming the first thing missing:
// config.origin, directionX, directionY, directionZ and placement must be entities of `model`
// of their types, config.dict_profile must be assigned, and the model must hold an
// IfcOwnerHistory and an IfcGeometricRepresentationContext.
[[nodiscard]] BoundRunContext runContextOf(HostModel& model);

}  // namespace host
