// Section depth, taper test and the tapered beam's axis, on the worked values.
#include "members/section_queries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "sections/section_error.h"
#include "sections/tapered_kinds.h"
#include "text/split.h"

namespace {

Utils::SectionItems items(const char* text) { return text::split(text, ','); }

TEST(SectionQueries, TheTaperedKindsAreTheOneListOfTheSections) {
  for (const double kind : {21.0, 22.0, 23.0, 30.0, 50.0, 51.0, 22.0}) {
    EXPECT_TRUE(Utils::IsTaper(kind)) << kind;
  }
  for (const double kind : {0.0, 1.0, 20.0, 24.0, 28.0, 29.0, 31.0, 49.0, 52.0, 101.0, 102.0, 103.0,
                            104.0, 105.0, 21.5}) {
    EXPECT_FALSE(Utils::IsTaper(kind)) << kind;
  }
  for (const long kind : Sect::taperedKinds) EXPECT_TRUE(Utils::IsTaper(double(kind)));
}

TEST(SectionQueries, DepthReadsOnlyTheItemsOfItsKind) {
  const struct {
    double kind;
    const char* text;
    double height;
  } cases[] = {
      {1, "1,300,600", 600.0},
      {3, "3,500,0", 500.0},
      {3, "3,500", 500.0},  // a round section needs no item 2
      {8, "8,219,199", 219.0},
      {12, "12,600,500", 600.0},
      {103, "103,800,10,400,200,20", 800.0},
      {4, "4,400,6", 400.0 * std::cos(std::numbers::pi / 6)},
      {22, "22,10,600,800,400,12", 800.0},
      {21, "21,300,800,500", 800.0},
      {28, "28,10,100,90,10", 100.0},
      {28, "28,10,-100,90,10", 100.0},    // horizontal leg at the top
      {30, "30,500,460,300,260", 500.0},  // the tube's outer diameter
      {2, "2,8,400,200,13", 400.0},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(Utils::getHeightOfSect(c.kind, items(c.text)), c.height, 1e-9) << c.text;
  }
}

TEST(SectionQueries, MissingOrBrokenItemsAreSectionFaultsNamingTheText) {
  const struct {
    double kind;
    const char* text;
    const char* message;
  } cases[] = {
      {1, "1,300", "dimension text \"1,300\" has no item 2"},
      {3, "3", "dimension text \"3\" has no item 1"},
      {1, "1,300,abc", "item 2 \"abc\" of dimension text \"1,300,abc\" is not a number"},
      {1, "1,300,inf", "item 2 \"inf\" of dimension text \"1,300,inf\" is not a number"},
      {4, "4,400,0", "a regular polygon of 0.0 edges has no depth"},
      {22, "22,10,600", "dimension text \"22,10,600\" has no item 3"},
  };
  for (const auto& c : cases) {
    try {
      (void)Utils::getHeightOfSect(c.kind, items(c.text));
      ADD_FAILURE() << "no fault for " << c.text;
    } catch (const Sect::SectionError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_THROW((void)Utils::reviseDirection({6000, 0, 0}, 21, items("21,300,800")),
               Sect::SectionError);
}

TEST(SectionQueries, ATaperedAxisJoinsTheCentresOfBothEnds) {
  const struct {
    double kind;
    const char* text;
    App::Vector revised;
  } cases[] = {
      {21, "21,300,800,500", {6000, 0, 150}},
      {23, "23,300,800,500,10,12", {6000, 0, 150}},
      {22, "22,10,600,800,400,12", {6000, 0, 200}},
      {30, "30,500,460,300,260", {6000, 0, 0}},
      {50, "50", {6000, 0, 0}},
      {51, "51", {6000, 0, 0}},
  };
  for (const auto& c : cases) {
    const App::Vector v(6000, 0, 0);
    const App::Vector revised = Utils::reviseDirection(v, c.kind, items(c.text));
    EXPECT_EQ(revised.to_np(), c.revised.to_np()) << c.text;
    EXPECT_EQ(v.to_np(), (App::Vector(6000, 0, 0).to_np()));
  }
}

}  // namespace
