// Every image decodes to its stated design size and its @2x twin to twice
// the pixels; two-frame images split into frames as the toolkit splits them.

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

#include <string>
#include <vector>

#include "tests/resources/ResourceTestSupport.h"

namespace kr7 {
namespace {

struct ImageSpec {
  const char* name;  // without extension
  int frameWidth;    // design units
  int frameHeight;
  int frames;        // stacked vertically
};

// Frame sizes as the page layout places them.
const std::vector<ImageSpec> kImages = {
    {"background", 1920, 1200, 1}, {"knobrotate", 102, 102, 1},   {"knobrotatebig", 130, 130, 1},
    {"fswitch", 75, 85, 2},        {"led", 16, 16, 1},            {"save", 38, 76, 2},
    {"editorbg", 742, 517, 1},     {"irbg", 630, 460, 1},         {"mic", 50, 30, 1},
    {"micbg", 50, 432, 1},         {"globalbg", 1920, 1080, 1},   {"fwbg", 1920, 1080, 1},
    {"about", 1920, 1200, 1},      {"midilynxet", 512, 120, 1},   {"amp-blond", 163, 35, 2},
    {"amp-liverpool", 140, 35, 2}, {"amp-british", 140, 35, 2},   {"amp-caliclassic", 140, 35, 2},
    {"amp-boutiquea", 162, 35, 2}, {"amp-tweed", 163, 35, 2},     {"amp-topboost", 140, 35, 2},
    {"amp-plexi", 140, 35, 2},     {"amp-calimetal", 140, 35, 2}, {"amp-boutiqueb", 162, 35, 2},
    {"radio-room", 163, 35, 2},    {"radio-hall", 140, 35, 2},    {"radio-spring", 140, 35, 2},
    {"radio-plate", 140, 35, 2},   {"radio-chorus", 162, 35, 2},  {"radio-echo", 163, 35, 2},
    {"radio-echoverb", 140, 35, 2},
};

struct Decoded {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;
};

Decoded Decode(const std::string& fileName) {
  Decoded d;
  const auto bytes = test::Embedded(fileName);
  if (bytes.empty()) {
    return d;
  }
  int channels = 0;
  unsigned char* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &d.width, &d.height,
                                                &channels, 4);
  EXPECT_NE(pixels, nullptr) << fileName << ": " << stbi_failure_reason();
  if (pixels != nullptr) {
    d.rgba.assign(pixels, pixels + static_cast<std::size_t>(d.width) * static_cast<std::size_t>(d.height) * 4);
    stbi_image_free(pixels);
  }
  return d;
}

// The toolkit's rule: frame height = image height / scale / frames, in whole units.
int FrameHeight(int imageHeight, int scale, int frames) {
  return imageHeight / scale / frames;
}

// Sum of channel differences between two frames of a vertically stacked image.
long FrameDifference(const Decoded& d, int frameHeightPixels) {
  long sum = 0;
  for (int y = 0; y < frameHeightPixels; ++y) {
    for (int x = 0; x < d.width * 4; ++x) {
      const auto a = static_cast<std::size_t>(y * d.width * 4 + x);
      const auto b = static_cast<std::size_t>((y + frameHeightPixels) * d.width * 4 + x);
      sum += std::abs(static_cast<int>(d.rgba[a]) - static_cast<int>(d.rgba[b]));
    }
  }
  return sum;
}

TEST(ImageResources, EveryImageHasItsDesignSizeAndATwiceAsLargeTwin) {
  for (const auto& expected : kImages) {
    SCOPED_TRACE(expected.name);
    const Decoded one = Decode(std::string(expected.name) + ".png");
    const Decoded two = Decode(std::string(expected.name) + "@2x.png");
    EXPECT_EQ(one.width, expected.frameWidth);
    EXPECT_EQ(FrameHeight(one.height, 1, expected.frames), expected.frameHeight);
    EXPECT_EQ(two.width, 2 * one.width);
    EXPECT_EQ(two.height, 2 * one.height);
    EXPECT_EQ(FrameHeight(two.height, 2, expected.frames), expected.frameHeight);
  }
}

TEST(ImageResources, BlockButtonsOfOddHeightSplitIntoFramesOf35) {
  // 71 rows: two frames of 35 and one spare row that is never shown.
  const Decoded d = Decode("amp-british.png");
  EXPECT_EQ(d.height, 71);
  EXPECT_EQ(FrameHeight(d.height, 1, 2), 35);
  const Decoded d2 = Decode("radio-echo@2x.png");
  EXPECT_EQ(d2.height, 142);
  EXPECT_EQ(FrameHeight(d2.height, 2, 2), 35);
}

TEST(ImageResources, TwoFrameImagesShowADifferentSelectedFrame) {
  for (const auto& expected : kImages) {
    if (expected.frames != 2) {
      continue;
    }
    SCOPED_TRACE(expected.name);
    const Decoded d = Decode(std::string(expected.name) + ".png");
    ASSERT_FALSE(d.rgba.empty());
    const long difference = FrameDifference(d, expected.frameHeight);
    // At least a mean difference of 8 per channel over the frame.
    EXPECT_GT(difference, 8L * expected.frameWidth * expected.frameHeight * 4 / 4);
  }
}

TEST(ImageResources, KnobsAreTransparentInTheCornersAndOpaqueInTheMiddle) {
  for (const char* name : {"knobrotate.png", "knobrotatebig.png"}) {
    SCOPED_TRACE(name);
    const Decoded d = Decode(name);
    ASSERT_FALSE(d.rgba.empty());
    const auto alphaAt = [&d](int x, int y) { return d.rgba[static_cast<std::size_t>((y * d.width + x) * 4 + 3)]; };
    EXPECT_EQ(alphaAt(0, 0), 0);
    EXPECT_EQ(alphaAt(d.width - 1, d.height - 1), 0);
    EXPECT_EQ(alphaAt(d.width / 2, d.height / 2), 255);
  }
}

TEST(ImageResources, BackgroundsAreOpaqueWherePagesCoverTheWindow) {
  const Decoded d = Decode("background.png");
  ASSERT_FALSE(d.rgba.empty());
  for (int y = 0; y < d.height; y += 97) {
    for (int x = 0; x < d.width; x += 89) {
      ASSERT_EQ(d.rgba[static_cast<std::size_t>((y * d.width + x) * 4 + 3)], 255) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace kr7
