// The main page headless against the virtual pedal: what the user sees at
// start, and what the pedal receives when the user works the page.

#include <gmock/gmock.h>

#include "tests/pages/PagesHarness.h"

namespace kr7::pages::test {
namespace {

TEST(MainPage, StartsOnTheImpulseResponseBlockWithThePedalAsleep) {
  PagesHarness h;
  h.host.RenderAll();
  EXPECT_TRUE(h.host.WritePng(h.Png("mainpage_start")));
  h.Connect();
  h.host.Render();
  EXPECT_TRUE(h.host.WritePng(h.Png("mainpage_connected")));
}

}  // namespace
}  // namespace kr7::pages::test
