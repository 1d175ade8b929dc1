#include <string>

#include "tests/resources/ResourceTestSupport.h"

namespace kr7 {
namespace {

// Page objects, not the page tree ("/Type /Pages").
std::size_t CountPages(const std::string& pdf) {
  std::size_t count = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
    count += pdf.compare(at, 12, "/Type /Pages") != 0;
  }
  return count;
}

TEST(ManualResource, IsAMultiPagePdfUnderItsIdAndName) {
  const auto byId = FindResource(kResourceIdManual);
  ASSERT_TRUE(byId.has_value());
  const auto bytes = test::Embedded(kManualFileName);
  EXPECT_EQ(bytes.data(), byId->data());
  const std::string pdf(bytes.begin(), bytes.end());
  ASSERT_GT(pdf.size(), 1000u);
  EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
  EXPECT_NE(pdf.find("%%EOF", pdf.size() - 32), std::string::npos);
  EXPECT_GT(CountPages(pdf), 1u);
}

TEST(ManualResource, PageCounterSkipsThePageTree) {
  EXPECT_EQ(CountPages("<< /Type /Pages /Kids [] >> << /Type /Page >> << /Type /Page >>"), 2u);
  EXPECT_EQ(CountPages("<< /Type /Pages >>"), 0u);
}

}  // namespace
}  // namespace kr7
