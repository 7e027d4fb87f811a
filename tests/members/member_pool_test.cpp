// The member pool: threaded and sequential runs write the same file and print the same lines
// in input order; a fault of the run thrown by a task ends the pool in the calling thread.
#include "members/member_pool.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "members/messages.h"
#include "run_model.h"

namespace {

struct Outcome {
  std::string file;
  std::string printed;
  std::vector<double> pointsX;  // of the gathered points, in the order gathered
  std::size_t products = 0;
  std::string fault;  // what() of the fault thrown again, if any
};

// 60 members of a profile each (every fifth shares one) and a point; member `faultAt` throws
// a fault of the run after reporting a line.
Outcome build(bool threaded, std::size_t faultAt) {
  members_test::RunModel run("IFC2X3");
  std::vector<int> rows(60);
  for (int i = 0; i < 60; ++i) rows[static_cast<std::size_t>(i)] = i;
  Outcome out;
  std::vector<ifc::Entity> products;
  Utils::MessageCapture capture;
  try {
    Utils::buildMemberRows<int>(
        *run.model, threaded, rows,
        [&](int i) {
          Utils::report("member " + std::to_string(i));
          if (static_cast<std::size_t>(i) == faultAt)
            throw std::logic_error("broken " + std::to_string(i));
          const ifc::Entity profile = run.rectangle(100 + i % 5, 200);
          const ifc::Entity point =
              run.model->create("IfcCartesianPoint", {ifc::List{double(i), 0.0, 0.0}});
          return std::vector<ifc::Entity>{profile, point};
        },
        products);
  } catch (const std::logic_error& e) {
    out.fault = e.what();
  }
  out.printed = capture.take();
  out.file = run.model->toString();
  out.products = products.size();
  for (const ifc::Entity& p : products) {
    if (p.is_a("IfcCartesianPoint"))
      out.pointsX.push_back(p.get("Coordinates").asList().at(0).asDouble());
  }
  return out;
}

std::string linesUpTo(int last) {
  std::string lines;
  for (int i = 0; i <= last; ++i) lines += "member " + std::to_string(i) + "\n";
  return lines;
}

TEST(MemberPool, ThreadedWritesAndPrintsWhatSequentialDoes) {
  const Outcome sequential = build(false, std::size_t(-1));
  EXPECT_EQ(sequential.printed, linesUpTo(59));
  ASSERT_EQ(sequential.products, 120U);
  for (int attempt = 0; attempt < 10; ++attempt) {
    const Outcome threaded = build(true, std::size_t(-1));
    ASSERT_EQ(threaded.file, sequential.file) << "attempt " << attempt;
    ASSERT_EQ(threaded.printed, sequential.printed) << "attempt " << attempt;
    ASSERT_EQ(threaded.pointsX.size(), 60U);
    for (std::size_t i = 0; i < 60; ++i) ASSERT_EQ(threaded.pointsX[i], double(i)) << "input order";
  }
}

TEST(MemberPool, AFaultOfTheRunEndsThePoolAfterTheMembersBeforeIt) {
  for (const bool threaded : {false, true}) {
    SCOPED_TRACE(threaded ? "threaded" : "sequential");
    const Outcome out = build(threaded, 23);
    EXPECT_EQ(out.fault, "broken 23");
    EXPECT_EQ(out.printed, linesUpTo(23));
    EXPECT_EQ(out.products, 0U) << "nothing is gathered";
  }
}

}  // namespace
