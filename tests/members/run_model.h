#pragma once
// A model of one run for the member tests: the run's header template under a schema, its run
// context and profile cache, and the model written and read back as a user's reader sees it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/header_template.h"
#include "ifc/model.h"
#include "members/run_context.h"
#include "sections/make_profiles.h"

namespace members_test {

class RunModel {
 public:
  explicit RunModel(const char* schema)
      : model(ifc::Model::parse(Verdamo::fillTemplate(schema, "t.ifc", 0))),
        ctx(Utils::makeRunContext(*model, profiles)) {}

  // A centred b x h rectangle from the run's profile cache.
  ifc::Entity rectangle(double b, double h) {
    const std::string text = "1," + std::to_string(b) + "," + std::to_string(h);
    return Sect::makeProfiles(*model, profiles, 1, text)->front();
  }

  // The model written as ISO 10303-21 text and parsed again; fails the test unless the text
  // validates. Entity numbers survive the trip, so handles are found again by id.
  std::unique_ptr<ifc::Model> readBack() const {
    auto back = ifc::Model::parse(model->toString());
    EXPECT_EQ(back->validate(), std::vector<std::string>{});
    return back;
  }

  std::unique_ptr<ifc::Model> model;
  Sect::ProfileCache profiles;
  Utils::RunContext ctx;
};

// The entity of the read-back model with the number of e.
inline ifc::Entity in(const ifc::Model& back, const ifc::Entity& e) { return back.entity(e.id()); }

// The three ratios or coordinates of an IfcDirection or IfcCartesianPoint.
inline std::vector<double> triple(const ifc::Entity& e) {
  std::vector<double> out;
  const char* attribute = e.is_a("IfcDirection") ? "DirectionRatios" : "Coordinates";
  const ifc::Value list = e.get(attribute);
  for (const ifc::Value& v : list.asList()) out.push_back(v.asDouble());
  return out;
}

}  // namespace members_test
