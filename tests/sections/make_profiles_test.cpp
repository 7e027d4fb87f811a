// The kind table and the run cache of makeProfiles, under IFC2X3 and IFC4.
#include "sections/make_profiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <ostream>
#include <set>
#include <thread>
#include <tuple>

#include "profile_geometry.h"
#include "sections/tapered_kinds.h"

namespace {

using sections_test::sectionArea;

constexpr double kPi = std::numbers::pi;

struct Expected {
  std::string type;
  std::string name;
  double area;
};

struct KindCase {
  std::string label;
  double kind;
  std::string text;
  std::vector<Expected> profiles;
};

// Keeps the parameter's text short and stable in test listings.
void PrintTo(const KindCase& c, std::ostream* os) { *os << c.kind << " '" << c.text << "'"; }

const std::string kRect = "IfcRectangleProfileDef";
const std::string kCircle = "IfcCircleProfileDef";
const std::string kHollowCircle = "IfcCircleHollowProfileDef";
const std::string kOutline = "IfcArbitraryClosedProfileDef";
const std::string kVoids = "IfcArbitraryProfileDefWithVoids";
const std::string kDerived = "IfcDerivedProfileDef";
const std::string kComposite = "IfcCompositeProfileDef";
const std::string kI = "IfcIShapeProfileDef";

// Areas in closed form, from the shapes' plates.
const double kCross = 2 * 300 * 16 + 10 * (500 - 32) + 2 * 250 * 12 + 8 * (400 - 24) - 10 * 8;
const std::string kCrossName = "DI_10*500*16*300*8*400*12*250";

// clang-format off
const std::vector<KindCase> kCases = {
    {"RectangleReadsItemsOneAndTwo", 1, "x,300,500,77", {{kRect, "Rec_300*500", 150000}}},
    {"IShape", 2, "0,8,400,200,13", {{kI, "I_200*400*8*13", 8192}}},
    {"Circle", 3, "0,300", {{kCircle, "Circle_300", kPi * 150 * 150}}},
    {"Hexagon", 4, "0,200,6", {{kOutline, "NGon_200*6", 1.5 * std::sqrt(3.0) * 100 * 100}}},
    {"ChannelWithEqualFlanges", 5, "0,8,200,100,10,100,10",
     {{kDerived, "U_100*200*8*10", 3440}}},
    {"ChannelWithUnequalFlanges", 5, "0,10,300,100,12,80,15",
     {{kOutline, "U_10*300*100*12*80*15", 3000 + 90 * 12 + 70 * 15}}},
    {"PlateCross", 6, "0,20,400,100,10,150,100",
     {{kOutline, "HV_20*400*100*10*150*100", 20 * 400 + 250 * 10}}},
    {"TubeWithOneWall", 7, "0,200,300,10,10,10,10",
     {{"IfcRectangleHollowProfileDef", "RH_200*300*10", 9600}}},
    {"TubeWithFourWalls", 7, "0,200,300,10,12,14,16",
     {{kVoids, "RH_200*300*10*12*14*16", 60000 - 172 * 276}}},
    {"HollowCircle", 8, "0,219,199", {{kHollowCircle, "CH_219*199", kPi * 2090}}},
    {"DoubleChannel", 9, "0,10,300,100,12,80,6",
     {{kComposite, "DU_10*300*100*12*80*12*6", 2 * (3000 + 90 * 12 + 70 * 12)}}},
    {"CrossOfTwoIShapes", 10, "0,10,500,16,300,8,400,12,250", {{kOutline, kCrossName, kCross}}},
    {"Trapezium", 11, "0,200,300,50", {{"IfcTrapeziumProfileDef", "Trap_200*300*50*50", 75000}}},
    {"FilledTube", 12, "0,300,280",
     {{kHollowCircle, "CH_300*280", kPi * 2900}, {kCircle, "Circle_280", kPi * 140 * 140}}},
    {"EncasedIShape", 13, "0,400,600,8,400,200,13",
     {{kRect, "Rec_400*600", 240000}, {kI, "I_200*400*8*13", 8192}}},
    {"FilledBoxReducedByTwoWalls", 14, "0,300,400,300,400,10,12",
     {{kRect, "Rec_280*376", 280 * 376}, {kVoids, "RH_300*400*12*10*12*10", 120000 - 280 * 376}}},
    {"EncasedBoxKeepsItsRectangle", 14, "0,250,350,300,400,10,10",
     {{kRect, "Rec_250*350", 250 * 350},
      {"IfcRectangleHollowProfileDef", "RH_300*400*10", 120000 - 280 * 380}}},
    {"EncasedCross", 15, "0,500,500,10,16,500,300",
     {{kRect, "Rec_500*500", 250000},
      {kOutline, "I_300*500*10*16", 2 * (2 * 300 * 16 + 10 * 468) - 100}}},
    {"TaperedRectangle", 21, "0,300,500,700",
     {{kRect, "Rec_300*500", 150000}, {kRect, "Rec_300*700", 210000}}},
    {"TaperedIShape", 22, "0,200,200,400,600,8,13,13",
     {{kI, "I_200*400*8*13", 8192}, {kI, "I_200*600*8*13", 120000 - 192 * 574}}},
    {"TaperedUnequalIShape", 22, "0,250,200,400,600,8,14,12",
     {{kOutline, "I_8*400*250*200*14*12", 3500 + 2400 + 8 * 374},
      {kOutline, "I_8*600*250*200*14*12", 3500 + 2400 + 8 * 574}}},
    {"TaperedBox", 23, "0,300,400,600,10,12",
     {{kVoids, "RH_300*400*12*10*12*10", 120000 - 280 * 376},
      {kVoids, "RH_300*600*12*10*12*10", 180000 - 280 * 576}}},
    {"BoxWithCoverPlates", 24, "0,300,500,20,10,20,12",
     {{kComposite, "Comp1_300*500*20*10*20*12", 12000 + 9200 + 2 * 260 * 12}}},
    {"BoxWithLongWebs", 25, "0,300,500,20,10,20,50",
     {{kComposite, "Comp2_300*500*20*10*20*50", 12000 + 9200 + 4 * 10 * 50}}},
    {"HollowCircleWithoutBoreIsARoundBar", 8, "0,300,0", {{kCircle, "CH_300*0", kPi * 150 * 150}}},
    {"KindWithoutProfiles", 26, "0,300,500", {}},
    {"AngleOfOneThickness", 28, "0,10,100,90,10", {{kDerived, "L_100*100*10", 1900}}},
    {"AngleWithoutOutstandIsAFlatBar", 28, "0,10,100,0,10", {{kRect, "L_10*100*10", 1000}}},
    {"AngleOfTwoThicknesses", 28, "0,8,100,75,10", {{kDerived, "I_83*100*8*10", 1550}}},
    {"TShape", 29, "0,10,300,200,20", {{kDerived, "T_200*300*10*20", 6800}}},
    {"TaperedHollowCircle", 30, "0,300,280,200,180",
     {{kHollowCircle, "CH_300*280", kPi * 2900}, {kHollowCircle, "CH_200*180", kPi * 1900}}},
    {"TaperedCrossWithoutStartHeight", 50, "0,10,500,16,300,8,400,12,250",
     {{kOutline, kCrossName, kCross}, {kOutline, kCrossName, kCross}}},
    {"TaperedCrossWithStartHeight", 50, "0,10,500,16,300,8,400,12,250,700",
     {{kOutline, "DI_10*700*16*300*8*400*12*250", kCross + 10 * 200},
      {kOutline, kCrossName, kCross}}},
    {"TaperedCrossWithEmptyStartHeight", 50, "0,10,500,16,300,8,400,12,250, ",
     {{kOutline, kCrossName, kCross}, {kOutline, kCrossName, kCross}}},
    {"TaperedTOnI", 51, "0,400,600,50,100,20,300,500,30,200",
     {{kOutline, "TI_400*600*50*100*20*300*30*200", 200000 + 10000 + 20 * 270 + 6000},
      {kOutline, "TI_400*600*50*100*20*500*30*200", 200000 + 10000 + 20 * 470 + 6000}}},
    {"RectangleAroundCross", 101, "0,600,600,10,16,500,300,8,12,400,250",
     {{kRect, "Rec_600*600", 360000}, {kOutline, kCrossName, kCross}}},
    {"RectangleAroundTube", 102, "0,400,400,300,280",
     {{kRect, "Rec_400*400", 160000}, {kHollowCircle, "CH_300*280", kPi * 2900}}},
    {"CircleAroundIShape", 103, "0,600,8,400,200,13",
     {{kCircle, "Circle_600", kPi * 300 * 300}, {kI, "I_200*400*8*13", 8192}}},
    {"CircleAroundTube", 104, "0,600,300,280",
     {{kCircle, "Circle_600", kPi * 300 * 300}, {kHollowCircle, "CH_300*280", kPi * 2900}}},
    {"CircleAroundCross", 105, "0,800,10,16,500,300,8,12,400,250",
     {{kCircle, "Circle_800", kPi * 400 * 400}, {kOutline, kCrossName, kCross}}},
    {"UnknownKind301", 301, "0,1,2", {}},
    {"UnknownKind405", 405, "0,1,2", {}},
    {"CodeNotInTheTable", 77, "0,1,2", {}},
};
// clang-format on

class EveryKind : public ::testing::TestWithParam<std::tuple<std::string, KindCase>> {};

TEST_P(EveryKind, WritesTheProfilesOfItsRowWithTheirNamesAndAreas) {
  const auto& [schema, c] = GetParam();
  ifc::Model model(schema);
  Sect::ProfileCache cache;
  const auto list = Sect::makeProfiles(model, cache, c.kind, c.text);
  ASSERT_NE(list, nullptr);

  const bool none = schema == "IFC2X3" && Sect::isTaperedKind(c.kind);
  const std::vector<Expected> expected = none ? std::vector<Expected>{} : c.profiles;
  ASSERT_EQ(list->size(), expected.size());
  sections_test::expectValidAndConforming(model);

  // Read back from the written text, as a reader of the file sees it.
  const auto back = ifc::Model::parse(model.toString());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const ifc::Entity profile = back->entity((*list)[i].id());
    EXPECT_EQ(profile.type(), expected[i].type) << "profile " << i;
    EXPECT_EQ(profile.get("ProfileName").asString(), expected[i].name) << "profile " << i;
    EXPECT_EQ(profile.get("ProfileType").asEnum(), "AREA");
    EXPECT_NEAR(sectionArea(profile), expected[i].area, 1e-6 * expected[i].area) << "profile " << i;
  }
  EXPECT_TRUE(back->validate().empty());
}

INSTANTIATE_TEST_SUITE_P(Sections, EveryKind,
                         ::testing::Combine(::testing::Values("IFC2X3", "IFC4"),
                                            ::testing::ValuesIn(kCases)),
                         [](const auto& info) {
                           return std::get<0>(info.param) + "_Kind" +
                                  std::to_string(static_cast<int>(std::get<1>(info.param).kind)) +
                                  "_" + std::get<1>(info.param).label;
                         });

// The outlines of a written profile as a reader places them: an outline as drawn, a derived
// profile's outline or rectangle through its operator, a composite as its parts in order.
using Ring = std::vector<sections_test::Point2>;

std::vector<Ring> placedRings(const ifc::Entity& profile) {
  if (profile.type() == kComposite) {
    std::vector<Ring> rings;
    for (const ifc::Value& part : sections_test::listOf(profile, "Profiles")) {
      for (Ring& r : placedRings(part.asEntity())) rings.push_back(std::move(r));
    }
    return rings;
  }
  if (profile.type() == kDerived) {
    const ifc::Entity parent = profile.get("ParentProfile").asEntity();
    if (parent.type() != kRect) return {sections_test::placedOutline(profile)};
    const auto frame = sections_test::operatorFrame(profile.get("Operator").asEntity());
    const double x = parent.get("XDim").asDouble() / 2, y = parent.get("YDim").asDouble() / 2;
    Ring corners{{-x, -y}, {x, -y}, {x, y}, {-x, y}};
    for (auto& p : corners) p = frame.apply(p);
    return {corners};
  }
  return {sections_test::outline(profile)};
}

struct OutlineCase {
  double kind;
  std::string text;
  std::vector<std::vector<Ring>> profiles;  // per profile of the list, its rings
};

void PrintTo(const OutlineCase& c, std::ostream* os) { *os << c.kind << " '" << c.text << "'"; }

// Vertical I 10, 500, 16, 300 and horizontal I 8, 400, 12, 250, crossed.
// clang-format off
const Ring kCrossRing = {
    {-150, -250}, {150, -250}, {150, -234}, {5, -234}, {5, -4}, {188, -4}, {188, -125},
    {200, -125}, {200, 125}, {188, 125}, {188, 4}, {5, 4}, {5, 234}, {150, 234}, {150, 250},
    {-150, 250}, {-150, 234}, {-5, 234}, {-5, 4}, {-188, 4}, {-188, 125}, {-200, 125},
    {-200, -125}, {-188, -125}, {-188, -4}, {-5, -4}, {-5, -234}, {-150, -234}};

Ring box(double cx, double cy, double w, double h) {
  return {{cx - w / 2, cy - h / 2}, {cx + w / 2, cy - h / 2}, {cx + w / 2, cy + h / 2},
          {cx - w / 2, cy + h / 2}};
}

// Shapes whose area stays the same when items are swapped or the shape is mirrored: only
// their vertices show that each item reached its place.
const std::vector<OutlineCase> kOutlineCases = {
    {5, "0,10,300,100,12,80,15",
     {{{{-75, -150}, {5, -150}, {5, 150}, {-95, 150}, {-95, 138}, {-5, 138}, {-5, -135},
        {-75, -135}}}}},
    {6, "0,20,400,100,10,150,100",
     {{{{-10, -200}, {10, -200}, {10, 90}, {110, 90}, {110, 100}, {10, 100}, {10, 200},
        {-10, 200}, {-10, 100}, {-160, 100}, {-160, 90}, {-10, 90}}}}},
    {9, "0,10,300,100,12,80,6",
     {{{{-83, -150}, {-3, -150}, {-3, 150}, {-103, 150}, {-103, 138}, {-13, 138}, {-13, -138},
        {-83, -138}},
       {{83, -150}, {3, -150}, {3, 150}, {103, 150}, {103, 138}, {13, 138}, {13, -138},
        {83, -138}}}}},
    {10, "0,10,500,16,300,8,400,12,250", {{kCrossRing}}},
    {22, "0,250,200,400,600,8,14,12",
     {{{{-125, -200}, {125, -200}, {125, -186}, {4, -186}, {4, 188}, {100, 188}, {100, 200},
        {-100, 200}, {-100, 188}, {-4, 188}, {-4, -186}, {-125, -186}}},
      {{{-125, -300}, {125, -300}, {125, -286}, {4, -286}, {4, 288}, {100, 288}, {100, 300},
        {-100, 300}, {-100, 288}, {-4, 288}, {-4, -286}, {-125, -286}}}}},
    {24, "0,300,500,20,10,20,12",
     {{box(0, 240, 300, 20), box(0, -240, 300, 20), box(125, 0, 10, 460), box(-125, 0, 10, 460),
       box(0, 256, 260, 12), box(0, -256, 260, 12)}}},
    {25, "0,300,500,20,10,20,50",
     {{box(0, 240, 300, 20), box(0, -240, 300, 20), box(125, 0, 10, 460), box(-125, 0, 10, 460),
       box(-125, 275, 10, 50), box(125, 275, 10, 50), box(-125, -275, 10, 50),
       box(125, -275, 10, 50)}}},
    {28, "0,8,100,-75,10",
     {{{{79, -50}, {-4, -50}, {-4, 50}, {4, 50}, {4, -40}, {79, -40}}}}},
    {28, "0,8,-100,75,10",
     {{{{-79, 50}, {4, 50}, {4, -50}, {-4, -50}, {-4, 40}, {-79, 40}}}}},
    {51, "0,400,600,50,100,20,300,500,30,200",
     {{{{-100, -500}, {100, -500}, {100, -470}, {10, -470}, {10, -200}, {250, -200},
        {250, -50}, {300, -50}, {300, 50}, {250, 50}, {250, 200}, {-250, 200}, {-250, 50},
        {-300, 50}, {-300, -50}, {-250, -50}, {-250, -200}, {-10, -200}, {-10, -470},
        {-100, -470}}},
      {{{-100, -700}, {100, -700}, {100, -670}, {10, -670}, {10, -200}, {250, -200},
        {250, -50}, {300, -50}, {300, 50}, {250, 50}, {250, 200}, {-250, 200}, {-250, 50},
        {-300, 50}, {-300, -50}, {-250, -50}, {-250, -200}, {-10, -200}, {-10, -670},
        {-100, -670}}}}},
    {101, "0,600,600,10,16,500,300,8,12,400,250", {{}, {kCrossRing}}},
    {105, "0,800,10,16,500,300,8,12,400,250", {{}, {kCrossRing}}},
};
// clang-format on

class EveryOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(EveryOutline, PlacesEachVertexWhereItsItemsSayInTheWrittenFile) {
  const OutlineCase& c = GetParam();
  ifc::Model model("IFC4");
  Sect::ProfileCache cache;
  const auto list = Sect::makeProfiles(model, cache, c.kind, c.text);
  ASSERT_EQ(list->size(), c.profiles.size());
  const auto back = ifc::Model::parse(model.toString());
  for (std::size_t i = 0; i < c.profiles.size(); ++i) {
    const ifc::Entity profile = back->entity((*list)[i].id());
    if (c.profiles[i].empty()) continue;  // a parameterized profile, checked by its name
    const std::vector<Ring> rings = placedRings(profile);
    ASSERT_EQ(rings.size(), c.profiles[i].size()) << "profile " << i;
    for (std::size_t r = 0; r < rings.size(); ++r) {
      SCOPED_TRACE("profile " + std::to_string(i) + ", ring " + std::to_string(r));
      sections_test::expectPoints(rings[r], c.profiles[i][r]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sections, EveryOutline, ::testing::ValuesIn(kOutlineCases),
                         [](const auto& info) {
                           return "Kind" + std::to_string(static_cast<int>(info.param.kind)) + "_" +
                                  std::to_string(info.index);
                         });

class ProfileCacheTest : public ::testing::TestWithParam<std::string> {
 protected:
  ifc::Model model{GetParam()};
  Sect::ProfileCache cache;
  void TearDown() override { sections_test::expectValidAndConforming(model); }
};

TEST_P(ProfileCacheTest, GivesTheSameListForTheSameKindAndTextWithoutNewEntities) {
  const auto first = Sect::makeProfiles(model, cache, 1, "0,300,500");
  const std::size_t entities = model.size();
  const auto second = Sect::makeProfiles(model, cache, 1, "0,300,500");
  EXPECT_EQ(first, second);
  EXPECT_EQ(model.size(), entities);
  EXPECT_EQ(cache.size(), 1u);
}

TEST_P(ProfileCacheTest, KeepsTwoKindsWithTheSameTextApart) {
  const auto rect = Sect::makeProfiles(model, cache, 1, "0,8,400,200,13");
  const auto ishape = Sect::makeProfiles(model, cache, 2, "0,8,400,200,13");
  ASSERT_EQ(rect->size(), 1u);
  ASSERT_EQ(ishape->size(), 1u);
  EXPECT_EQ(rect->front().get("ProfileName").asString(), "Rec_8*400");
  EXPECT_EQ(ishape->front().get("ProfileName").asString(), "I_200*400*8*13");
}

TEST_P(ProfileCacheTest, DoesNotLetAnUnknownKindHideASupportedOneWithTheSameText) {
  const auto unknown = Sect::makeProfiles(model, cache, 26, "0,300,500");
  EXPECT_TRUE(unknown->empty());
  EXPECT_EQ(Sect::makeProfiles(model, cache, 26, "0,300,500"), unknown);
  EXPECT_EQ(Sect::makeProfiles(model, cache, 1, "0,300,500")->size(), 1u);
}

TEST_P(ProfileCacheTest, MatchesAKindByItsNumericValue) {
  const auto integral = Sect::makeProfiles(model, cache, 1.0, "0,300,500");
  EXPECT_EQ(Sect::makeProfiles(model, cache, 1, "0,300,500"), integral);
  EXPECT_TRUE(Sect::makeProfiles(model, cache, 1.5, "0,300,500")->empty());
  EXPECT_TRUE(Sect::makeProfiles(model, cache, std::nan(""), "0,300,500")->empty());
}

TEST_P(ProfileCacheTest, GivesTaperedKindsOnlyUnderIfc4) {
  const auto a = Sect::makeProfiles(model, cache, 21, "0,300,500,700");
  const auto b = Sect::makeProfiles(model, cache, 21, "0,300,500,700");
  if (GetParam() == "IFC2X3") {
    EXPECT_TRUE(a->empty());
    EXPECT_NE(a, b) << "each call gets a list of its own";
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_TRUE(Sect::makeProfiles(model, cache, 22, "0,1")->empty()) << "no item is read";
  } else {
    EXPECT_EQ(a->size(), 2u);
    EXPECT_EQ(a, b);
  }
  EXPECT_EQ(Sect::makeProfiles(model, cache, 1, "0,300,500,700")->size(), 1u);
}

TEST_P(ProfileCacheTest, RefusesTooFewItemsOrANonNumberAndStoresNothing) {
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 1, "0,300"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 101, "0,600,600,10,16,500,300,8,12,400"),
               Sect::SectionError);
  try {
    (void)Sect::makeProfiles(model, cache, 2, "0,8,4OO,200,13");
    ADD_FAILURE() << "no error";
  } catch (const Sect::SectionError& e) {
    EXPECT_NE(std::string(e.what()).find("4OO"), std::string::npos) << e.what();
  }
  EXPECT_EQ(cache.size(), 0u);
  EXPECT_EQ(cache.find(1, "0,300"), nullptr);
}

TEST_P(ProfileCacheTest, RefusesDimensionsThatMakeNoValidProfile) {
  const std::size_t before = model.size();
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 1, "0,0,500"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 4, "0,200,2"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 8, "0,200,250"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 2, "0,8,400,200,-13"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 14, "0,300,400,300,400,150,12"),
               Sect::SectionError);
  // Finite items whose sum overflows: a fault of the section's data like any other.
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 11, "0,1e308,300,1e308"), Sect::SectionError);
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 28, "0,1e308,1.7e308,1.7e308,1e308"),
               Sect::SectionError);
  // The rectangle is valid, the I shape is not: nothing of either is written.
  EXPECT_THROW((void)Sect::makeProfiles(model, cache, 13, "0,400,600,8,400,200,200"),
               Sect::SectionError);
  EXPECT_EQ(model.size(), before);
  EXPECT_EQ(cache.size(), 0u);
}

TEST_P(ProfileCacheTest, BuildsATextOnceWhenManyThreadsAskAtOnce) {
  constexpr int kThreads = 8;
  std::vector<std::shared_ptr<const Sect::ProfileList>> results(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      for (int k = 0; k < 20; ++k) {
        results[i] = Sect::makeProfiles(model, cache, 24, "0,300,500,20,10,20,12");
        (void)Sect::makeProfiles(model, cache, 1, "0," + std::to_string(100 + k) + ",500");
      }
    });
  }
  for (auto& t : threads) t.join();
  for (const auto& r : results) {
    EXPECT_EQ(r, results.front());
    EXPECT_EQ(r->size(), 1u);
  }
  EXPECT_EQ(model.by_type("IfcCompositeProfileDef").size(), 1u);
  EXPECT_EQ(model.by_type("IfcRectangleProfileDef").size(), 3u + 20u);
}

// Members asking for sections in their own order, each making a point of its own after each
// section: the written file must not depend on which thread built a profile first.
std::string buildMembers(const std::string& schema, bool threaded) {
  const std::vector<std::vector<std::pair<double, std::string>>> members = {
      {{1, "0,300,600"}, {24, "0,300,500,20,10,20,12"}},
      {{2, "0,8,400,200,13"}, {1, "0,300,600"}},
      {{13, "0,400,600,8,300,200,12"}, {2, "0,8,400,200,13"}, {1, "0,250,500"}},
      {{1, "0,250,500"}, {26, "0,1"}, {24, "0,300,500,20,10,20,12"}},
      {{13, "0,400,600,8,300,200,12"}},
  };
  ifc::Model model(schema);
  Sect::ProfileCache cache;
  auto build = [&](std::size_t m) {
    for (const auto& [kind, text] : members[m]) {
      (void)Sect::makeProfiles(model, cache, kind, text);
      model.create("IfcCartesianPoint", {ifc::List{double(m), kind, 0.0}});
    }
  };
  if (!threaded) {
    for (std::size_t m = 0; m < members.size(); ++m) build(m);
    return model.toString();
  }
  const std::uint32_t first = model.reserveSlots(static_cast<std::uint32_t>(members.size()));
  std::vector<std::thread> threads;
  for (std::size_t m = members.size(); m-- > 0;) {
    threads.emplace_back([&, m] {
      const ifc::Model::SlotScope scope(model, first + static_cast<std::uint32_t>(m));
      build(m);
    });
  }
  for (auto& t : threads) t.join();
  return model.toString();
}

TEST_P(ProfileCacheTest, WritesAProfileWhereTheFirstMemberInOrderAskedForIt) {
  const std::string sequential = buildMembers(GetParam(), false);
  for (int attempt = 0; attempt < 20; ++attempt) {
    ASSERT_EQ(buildMembers(GetParam(), true), sequential) << "attempt " << attempt;
  }
}

INSTANTIATE_TEST_SUITE_P(Schemas, ProfileCacheTest, ::testing::Values("IFC2X3", "IFC4"));

}  // namespace
