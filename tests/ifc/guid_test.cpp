#include "ifc/guid.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <thread>

#include "ifc/model.h"

namespace {

TEST(GlobalId, CompressesTheFirstByteIntoTwoCharactersAndEachThreeBytesIntoFour) {
  ifc::Uuid u{};
  EXPECT_EQ(ifc::compressGuid(u), "0000000000000000000000");
  u.fill(0xFF);
  EXPECT_EQ(ifc::compressGuid(u), "3$$$$$$$$$$$$$$$$$$$$$");
  // 0123456789abcdef0123456789abcdef
  u = {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef,
       0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};
  EXPECT_EQ(ifc::compressGuid(u), "018qLdYQlDxm4ZHMU9gytl");
}

TEST(GlobalId, ExpandsBackToTheSameUuid) {
  std::mt19937 rng(7);
  for (int k = 0; k < 1000; ++k) {
    ifc::Uuid u;
    for (auto& b : u) b = static_cast<std::uint8_t>(rng());
    ASSERT_EQ(ifc::expandGuid(ifc::compressGuid(u)), u);
  }
}

TEST(GlobalId, ExpandRefusesMalformedText) {
  EXPECT_THROW((void)ifc::expandGuid("0000"), ifc::Error);
  EXPECT_THROW((void)ifc::expandGuid("000000000000000000000-"), ifc::Error);
  EXPECT_THROW((void)ifc::expandGuid("4000000000000000000000"), ifc::Error);
}

TEST(GlobalId, IsATimeBasedUuidWithARandomMulticastNodeFixedForTheProcess) {
  const ifc::Uuid a = ifc::expandGuid(ifc::createGuid());
  const ifc::Uuid b = ifc::expandGuid(ifc::createGuid());
  EXPECT_EQ(a[6] >> 4, 1) << "version 1";
  EXPECT_EQ(a[8] >> 6, 2) << "RFC 4122 variant";
  EXPECT_EQ(a[10] & 1, 1) << "multicast bit of the node";
  EXPECT_TRUE(std::equal(a.begin() + 8, a.end(), b.begin() + 8)) << "same clock sequence and node";
  EXPECT_NE(a, b);
}

TEST(GlobalId, IsUniqueAcrossThreadsCallingAtOnce) {
  constexpr int kThreads = 8, kPerThread = 20000;
  std::vector<std::vector<std::string>> made(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&made, t] {
      for (int k = 0; k < kPerThread; ++k)
        made[static_cast<std::size_t>(t)].push_back(ifc::createGuid());
    });
  }
  for (auto& th : threads) th.join();
  std::set<std::string> all;
  for (const auto& v : made) {
    for (const auto& g : v) {
      ASSERT_EQ(g.size(), 22u);
      all.insert(g);
    }
  }
  EXPECT_EQ(all.size(), std::size_t{kThreads} * kPerThread);
}

}  // namespace
