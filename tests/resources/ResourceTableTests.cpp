#include <algorithm>
#include <set>
#include <string>

#include "tests/resources/ResourceTestSupport.h"

namespace kr7 {
namespace {

TEST(ResourceTable, FindsTheManualBankAndCabinetsById) {
  const auto manual = FindResource(kResourceIdManual);
  ASSERT_TRUE(manual.has_value());
  EXPECT_EQ(manual->data(), FindResource(kManualFileName)->data());

  const auto bank = FindResource(kResourceIdFactoryBank);
  ASSERT_TRUE(bank.has_value());
  EXPECT_EQ(bank->data(), FindResource(kFactoryBankFileName)->data());

  for (int k = 0; k < kNumFactoryCabinets; ++k) {
    const auto byId = FindResource(kResourceIdFirstCabinet + k);
    ASSERT_TRUE(byId.has_value()) << k;
    const auto byName = FindResource(kFactoryCabinetFileNames[static_cast<std::size_t>(k)]);
    ASSERT_TRUE(byName.has_value()) << k;
    EXPECT_EQ(byId->data(), byName->data());
    EXPECT_EQ(byId->size(), byName->size());
  }
}

TEST(ResourceTable, UnknownIdsAndNamesFindNothing) {
  EXPECT_FALSE(FindResource(0).has_value());  // the id of files found by name only
  EXPECT_FALSE(FindResource(-1).has_value());
  EXPECT_FALSE(FindResource(101).has_value());
  EXPECT_FALSE(FindResource(kResourceIdFirstCabinet + kNumFactoryCabinets).has_value());
  EXPECT_FALSE(FindResource("").has_value());
  EXPECT_FALSE(FindResource("KNOBROTATE.PNG").has_value());
  EXPECT_FALSE(FindResource(std::string_view("knobrotate.png\0x", 16)).has_value());
  EXPECT_FALSE(FindResource("../background.png").has_value());
}

TEST(ResourceTable, NamesAreUniqueAndEveryFileHasBytes) {
  const auto names = ResourceNames();
  const std::set<std::string_view> unique(names.begin(), names.end());
  EXPECT_EQ(unique.size(), names.size());
  for (const auto name : names) {
    const auto bytes = FindResource(name);
    ASSERT_TRUE(bytes.has_value()) << name;
    EXPECT_FALSE(bytes->empty()) << name;
  }
}

TEST(ResourceTable, CarriesTheSixFontsAsTrueType) {
  for (const std::string_view font : {"Roboto-Regular.ttf", "forkawesome-webfont.ttf", "fontaudio.ttf", "ni7seg.ttf",
                                      "MyBlueRoom.ttf", "Knowledge-Bold.ttf"}) {
    const auto bytes = test::Embedded(font);
    ASSERT_GE(bytes.size(), 12u) << font;
    // sfnt version 1.0 (TrueType outlines) or "true"
    const bool trueType = (bytes[0] == 0x00 && bytes[1] == 0x01 && bytes[2] == 0x00 && bytes[3] == 0x00) ||
                          test::Chars(bytes, 0, 4) == "true";
    EXPECT_TRUE(trueType) << font;
  }
}

}  // namespace
}  // namespace kr7
