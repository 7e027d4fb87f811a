#pragma once
// The run context of builders called from a script: read from the shared namespace `config`
// (see config.py) for the model the builder is given. Nothing is taken for granted: a context
// that is missing, or made for another model, is refused before any entity is touched.

#include <memory>

#include "host/host_model.h"
#include "members/run_context.h"
#include "sections/make_profiles.h"

namespace host {

// The profile cache of `model`, whose lists are those of config.dict_profile as the script
// sees it when a builder looks one up (prefilled, cleared or replaced by the script alike);
// with the interpreter lock held. Throws Utils::RunContextError when config.dict_profile is
// not assigned. The cache takes the interpreter lock itself when it reads or fills the
// dictionary, so a builder must call it with the lock released.
[[nodiscard]] std::shared_ptr<Sect::ProfileCache> profileCacheOf(
    const std::shared_ptr<HostModel>& model);

// config.dict_profile; throws Utils::RunContextError when it is not assigned.
[[nodiscard]] pybind11::object dictProfile();

// Everything a builder reads, valid while the caller holds `profiles` and the model.
struct BoundRunContext {
  std::shared_ptr<Sect::ProfileCache> profiles;
  Utils::RunContext context;
};

// With the interpreter lock held. Throws TypeError naming the argument `name` for None as
// the model, and Utils::RunContextError naming the first thing missing: config.origin,
// directionX, directionY, directionZ and placement must be entities of the model of their
// types, config.dict_profile must be assigned, and the model must hold an IfcOwnerHistory
// and an IfcGeometricRepresentationContext.
[[nodiscard]] BoundRunContext runContextOf(const std::shared_ptr<HostModel>& model,
                                           const char* name);

// Assigns config's run context as a run of Verdamo.Create makes it: its model's origin,
// directions and placement, and a new empty config.dict_profile. Returns the host's object
// of the run's model. With the interpreter lock held.
std::shared_ptr<HostModel> assignRunContext(const std::shared_ptr<ifc::Model>& model,
                                            const Utils::RunContext& context);

// Stores the run's profiles in config.dict_profile under their dimension texts, as the
// run's builders would have (the run keeps them in a cache of its own while its threads
// build). With the interpreter lock held, once no builder of the run runs.
void storeRunProfiles(const std::shared_ptr<HostModel>& model, const Sect::ProfileCache& profiles);

}  // namespace host
