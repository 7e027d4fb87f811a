#pragma once
// A one-storey model (standard floor 3000 mm high, default slab thickness 120 mm, one real
// floor at elevation 0) built in a test, converted, and read back.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "body_geometry.h"
#include "ifc/model.h"
#include "modeldb/modeldb.h"

namespace members_test {

using modeldb::Value;

struct Corner {
  double x;
  double y;
  double hDiff = 0;
};

class SlabModel : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The joint at (x, y), made with hDiff on first use.
  Value jt(double x, double y, double hDiff = 0);
  // A straight grid line between two joints, one per pair.
  Value grid(const Corner& a, const Corner& b);
  // The grid lines around a polygon, in order.
  std::vector<Value> outline(const std::vector<Corner>& corners);
  // A slab over a polygon; its vertex lists are written from the outline's joints.
  Value slab(const std::vector<Corner>& corners, const Value& thick = 9999);

  // Converts the model (threaded when mt), checks the file against its schema and reads it
  // back into `model`. Returns what the run printed.
  std::string convert(bool mt = false);

  // The world box of the one product of that name.
  Box box(std::string_view name) const { return productBox(product(*model, name)); }

  modeldb::ModelDb m;
  Value sf;
  std::unique_ptr<ifc::Model> model;

 private:
  std::filesystem::path dir_;
  std::map<std::pair<double, double>, Value> joints_;
  std::map<std::pair<std::int64_t, std::int64_t>, Value> grids_;
};

}  // namespace members_test
