#pragma once
// Helpers shared by the message tests: block expectations and sample data.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/Messages.h"

namespace kr7::testing {

// 256 bytes 0, 1, ..., 127, 0, 1, ..., 127: block checksum 0x3F80 (7F 00).
inline Bytes RampPayload() {
  Bytes p(kPresetPayloadSize);
  for (std::size_t i = 0; i < p.size(); ++i) p[i] = static_cast<std::uint8_t>(i & kDataByteMask);
  return p;
}

// A 267-byte block: its first eight bytes, its 256 contents and its last three.
inline void ExpectBlock(const Bytes& m, const Bytes& firstEight, ByteSpan contents,
                        const Bytes& lastThree) {
  ASSERT_EQ(m.size(), kBlockMessageSize);
  EXPECT_EQ(Bytes(m.begin(), m.begin() + kOffsetBlockContents), firstEight);
  Bytes expectedContents(kBlockContentsSize, 0);
  std::copy_n(contents.begin(), std::min(contents.size(), kBlockContentsSize),
              expectedContents.begin());
  EXPECT_EQ(Bytes(m.begin() + kOffsetBlockContents, m.begin() + kOffsetBlockChecksumHigh),
            expectedContents);
  EXPECT_EQ(Bytes(m.begin() + kOffsetBlockChecksumHigh, m.end()), lastThree);
}

// Every span a recognised value holds must lie inside the message it came from.
inline bool Inside(ByteSpan part, ByteSpan whole) {
  if (part.empty()) return true;
  return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

}  // namespace kr7::testing
