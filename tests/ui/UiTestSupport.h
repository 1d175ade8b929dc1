#pragma once
// Shared fixtures of the toolkit tests: a parameter owner standing in for the
// application, in-memory images and a real TrueType font.

#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ui/HeadlessHost.h"
#include "ui/IEditorDelegate.h"
#include "ui/IGraphics.h"

namespace kr7::test {

using igraphics::HeadlessHost;

// Records what the controls told the application.
class FakeDelegate : public iplug::IEditorDelegate {
 public:
  iplug::IParam& Add() { return mParams.emplace_back(); }
  iplug::IParam* GetParam(int paramIdx) override {
    return paramIdx >= 0 && paramIdx < static_cast<int>(mParams.size()) ? &mParams[static_cast<std::size_t>(paramIdx)]
                                                                         : nullptr;
  }
  const iplug::IParam* GetParam(int paramIdx) const override {
    return paramIdx >= 0 && paramIdx < static_cast<int>(mParams.size()) ? &mParams[static_cast<std::size_t>(paramIdx)]
                                                                         : nullptr;
  }
  void SendParameterValueFromUI(int paramIdx, double normalisedValue) override {
    Sent.emplace_back(paramIdx, normalisedValue);
    if (auto* p = GetParam(paramIdx)) p->SetNormalized(normalisedValue);
  }
  std::vector<std::pair<int, double>> Sent;

 private:
  std::deque<iplug::IParam> mParams;
};

// A control bound to a parameter that draws nothing.
class BoundControl : public igraphics::IControl {
 public:
  explicit BoundControl(int paramIdx, const igraphics::Rect& r = {0, 0, 10, 10}) : IControl(r, paramIdx) {}
  void Draw(cairo_t*) override {}
};

// Files served to the toolkit by name, as the embedded resources would be.
class MemoryResources {
 public:
  void Put(const std::string& name, std::vector<std::uint8_t> bytes) { mFiles[name] = std::move(bytes); }
  igraphics::ResourceProvider Provider() {
    return [this](std::string_view name) -> std::optional<std::span<const std::uint8_t>> {
      const auto it = mFiles.find(std::string(name));
      if (it == mFiles.end()) return std::nullopt;
      return std::span<const std::uint8_t>(it->second);
    };
  }
  std::vector<std::string> Asked;

 private:
  std::map<std::string, std::vector<std::uint8_t>> mFiles;
};

inline std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline constexpr const char* kRobotoPath = "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf";

// A PNG whose upper half is `top` and lower half `bottom` (two stacked frames).
inline std::vector<std::uint8_t> MakeTwoFramePng(int width, int height, igraphics::Colour top,
                                                 igraphics::Colour bottom) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, top.R / 255.0, top.G / 255.0, top.B / 255.0, top.A / 255.0);
  cairo_rectangle(cr, 0, 0, width, height / 2);
  cairo_fill(cr);
  cairo_set_source_rgba(cr, bottom.R / 255.0, bottom.G / 255.0, bottom.B / 255.0, bottom.A / 255.0);
  cairo_rectangle(cr, 0, height / 2, width, height - height / 2);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::vector<std::uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(s);
  return bytes;
}

// A PNG of width x height filled with colour.
inline std::vector<std::uint8_t> MakePng(int width, int height, igraphics::Colour colour) {
  return MakeTwoFramePng(width, height, colour, colour);
}

// Two image surfaces of the same size and format hold the same bytes.
inline bool SamePixels(cairo_surface_t* a, cairo_surface_t* b) {
  const int h = cairo_image_surface_get_height(a);
  const int stride = cairo_image_surface_get_stride(a);
  if (h != cairo_image_surface_get_height(b) || stride != cairo_image_surface_get_stride(b)) return false;
  return std::memcmp(cairo_image_surface_get_data(a), cairo_image_surface_get_data(b),
                     static_cast<std::size_t>(h) * static_cast<std::size_t>(stride)) == 0;
}

}  // namespace kr7::test
