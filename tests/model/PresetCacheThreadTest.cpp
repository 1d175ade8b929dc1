// The audio thread stores fetched payloads while the UI thread reads the
// list; run under ThreadSanitizer this also proves the tables are guarded.

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "model/PresetCache.h"
#include "tests/model/FileBytes.h"

namespace {

using kr7::kPayloadNameOffset;
using kr7::kPresetPayloadSize;
using kr7::PresetCache;

TEST(PresetCacheThreads, StoresWhileTheListIsRead) {
  kr7::test::TempFolder temp;
  const kr7::DataFolder folder(temp / "KR7Control");
  ASSERT_TRUE(folder.CreateAll());
  PresetCache cache(folder);
  std::vector<std::uint8_t> payload(kPresetPayloadSize, 0);
  payload[kPayloadNameOffset] = 'Z';
  const kr7::PresetChecksum checksum = PresetCache::ComputeChecksum(payload);

  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int s = 0; s < PresetCache::kNumSlots; ++s) {
      cache.RecordFetched(s, payload, checksum, 0);
      cache.WriteSlotFile(s, payload);
    }
    done.store(true);
  });
  while (!done.load()) {
    // Whatever a reader sees is either the old or the new text of a slot.
    const std::string first = cache.ListTexts()[0];
    // (EXPECT, not ASSERT: returning early would leave the thread unjoined.)
    EXPECT_TRUE(first.empty() || first == PresetCache::FormatListText(0, "Z")) << first;
    (void)cache.LowestStaleSlot();
  }
  audio.join();

  EXPECT_EQ(cache.StaleCount(), 0);
  for (int s = 0; s < PresetCache::kNumSlots; ++s) {
    ASSERT_EQ(cache.ListText(s), PresetCache::FormatListText(s, "Z")) << s;
    ASSERT_EQ(cache.Checksum(s), checksum) << s;
  }
}

}  // namespace
