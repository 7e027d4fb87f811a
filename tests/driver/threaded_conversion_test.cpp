// Threaded member building writes the file a sequential run writes: the same entities with the
// same numbers in the same order, GlobalIds and the time of writing aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "driver/verdamo.h"
#include "modeldb/synthetic.h"
#include "test_support.h"

namespace {

using driver_test::readText;

bool isGuidChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '$';
}

// The file without what differs from run to run: GlobalIds (every quoted text of 22 GlobalId
// characters), the header's name and time stamp, and the owner history's creation time.
std::string comparable(const std::string& ifc) {
  std::string text;
  text.reserve(ifc.size());
  for (std::size_t i = 0; i < ifc.size(); ++i) {
    if (ifc[i] == '\'' && i + 23 < ifc.size() && ifc[i + 23] == '\'' &&
        std::all_of(ifc.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    ifc.begin() + static_cast<std::ptrdiff_t>(i) + 23, isGuidChar)) {
      text += "''";
      i += 23;
    } else {
      text += ifc[i];
    }
  }
  // The header's FILE_NAME, and the last attribute of the owner history (its creation time).
  if (const std::size_t name = text.find("FILE_NAME("); name != std::string::npos) {
    text.erase(name, text.find('\n', name) - name);
  }
  if (const std::size_t owner = text.find("IFCOWNERHISTORY("); owner != std::string::npos) {
    const std::size_t close = text.find(");", owner);
    const std::size_t last = text.rfind(',', close) + 1;
    text.erase(last, close - last);
  }
  return text;
}

class ThreadedConversion : public driver_test::ScratchDir {};

TEST_F(ThreadedConversion, WritesTheSequentialFileOfTheSyntheticModel) {
  const auto input = dir / "synthetic.sdb";
  modeldb::writeSynthetic(modeldb::syntheticPreset("medium"), input);
  auto convert = [&](const char* name, bool mt) {
    ::testing::internal::CaptureStdout();
    Verdamo::Create(input, dir / name, mt);
    std::string printed = ::testing::internal::GetCapturedStdout();
    if (mt) {
      EXPECT_EQ(printed.rfind("use multithread\n", 0), 0U);
      printed.erase(0, printed.find('\n') + 1);
    }
    return std::make_pair(comparable(readText(dir / name)), printed);
  };
  const auto sequential = convert("sequential.ifc", false);
  ASSERT_GT(sequential.first.size(), 1000000U);
  for (int attempt = 0; attempt < 2; ++attempt) {
    const auto threaded = convert("threaded.ifc", true);
    EXPECT_EQ(threaded.second, sequential.second);
    ASSERT_TRUE(threaded.first == sequential.first) << "attempt " << attempt;
  }
}

}  // namespace
