#include "slab_model.h"

#include <unistd.h>

#include <algorithm>
#include <string>

#include "driver/verdamo.h"

namespace members_test {

void SlabModel::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  // The process id too: two build trees may run the same test at once.
  dir_ = std::filesystem::temp_directory_path() /
         (std::string("sdb2ifc_") + info->test_suite_name() + "_" + info->name() + "_" +
          std::to_string(::getpid()));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  sf = m.add(modeldb::StdFloor{.no = 1, .height = 3000, .para = "0,120"});
  m.add(modeldb::Floor{.stdFlr = sf, .no = 1, .levelB = 0, .height = 3000});
}

void SlabModel::TearDown() { std::filesystem::remove_all(dir_); }

Value SlabModel::jt(double x, double y, double hDiff) {
  auto [it, added] = joints_.try_emplace({x, y});
  if (added) it->second = m.joint(sf, x, y, hDiff);
  return it->second;
}

Value SlabModel::grid(const Corner& a, const Corner& b) {
  const Value ja = jt(a.x, a.y, a.hDiff), jb = jt(b.x, b.y, b.hDiff);
  const auto key = std::minmax({ja.asInteger(), jb.asInteger()});
  auto [it, added] = grids_.try_emplace({key.first, key.second});
  if (added) it->second = m.line(ja, jb);
  return it->second;
}

std::vector<Value> SlabModel::outline(const std::vector<Corner>& corners) {
  std::vector<Value> grids;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    grids.push_back(grid(corners[i], corners[(i + 1) % corners.size()]));
  }
  return grids;
}

Value SlabModel::slab(const std::vector<Corner>& corners, const Value& thick) {
  return m.add(modeldb::Slab{.stdFlr = sf, .grids = outline(corners), .thick = thick});
}

std::string SlabModel::convert(bool mt) {
  const std::filesystem::path input = dir_ / "model.sdb";
  const std::filesystem::path output = dir_ / "model.ifc";
  m.write(input);
  ::testing::internal::CaptureStdout();
  try {
    Verdamo::Create(input, output, mt);
  } catch (...) {
    static_cast<void>(::testing::internal::GetCapturedStdout());
    throw;
  }
  const std::string printed = ::testing::internal::GetCapturedStdout();
  model = ifc::Model::readFile(output);
  EXPECT_EQ(model->validate(), std::vector<std::string>{});
  return printed;
}

}  // namespace members_test
