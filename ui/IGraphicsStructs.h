#pragma once
// Value types of the toolkit: rectangles, styles and the colour (which the
// window-free logic names too, so it lives in model/). Header-only and free
// of any drawing library.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstddef>
#include <string>
#include <utility>

#include "model/Colour.h"

namespace igraphics {

// Rectangles are in design units of the 1920 x 1200 surface.
struct Rect {
  float L = 0.f, T = 0.f, R = 0.f, B = 0.f;
  constexpr Rect() = default;
  constexpr Rect(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}
  constexpr float W() const { return R - L; }
  constexpr float H() const { return B - T; }
  constexpr float MW() const { return (L + R) * 0.5f; }
  constexpr float MH() const { return (T + B) * 0.5f; }
  constexpr bool Empty() const { return W() <= 0.f || H() <= 0.f; }
  constexpr bool Contains(float x, float y) const { return x >= L && x < R && y >= T && y < B; }
  constexpr bool Intersects(const Rect& o) const { return L < o.R && o.L < R && T < o.B && o.T < B; }
  constexpr bool Holds(const Rect& o) const { return o.L >= L && o.R <= R && o.T >= T && o.B <= B; }
  constexpr Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
  }
  constexpr Rect Intersection(const Rect& o) const {
    const Rect r{std::max(L, o.L), std::max(T, o.T), std::min(R, o.R), std::min(B, o.B)};
    return r.Empty() ? Rect{} : r;
  }
  // Grows by d on every side; a negative d shrinks.
  constexpr Rect GetPadded(float d) const { return {L - d, T - d, R + d, B + d}; }
  // Cell `index` of a grid of nRows x nCols equal cells, counted row by row from
  // the top left. An index outside the grid yields the empty rectangle.
  constexpr Rect GetGridCell(int index, int nRows, int nCols) const {
    if (nRows <= 0 || nCols <= 0 || index < 0 || index >= nRows * nCols) return {};
    const float cw = W() / static_cast<float>(nCols);
    const float ch = H() / static_cast<float>(nRows);
    const int row = index / nCols;
    const int col = index % nCols;
    return {L + cw * static_cast<float>(col), T + ch * static_cast<float>(row),
            L + cw * static_cast<float>(col + 1), T + ch * static_cast<float>(row + 1)};
  }
  // A rectangle of the given size centred on this one.
  constexpr Rect GetCentredInside(float w, float h) const {
    return {MW() - w * 0.5f, MH() - h * 0.5f, MW() + w * 0.5f, MH() + h * 0.5f};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

enum class EAlign { Near = 0, Centre = 1, Far = 2 };
enum class EVAlign { Top = 0, Middle = 1, Bottom = 2 };

inline constexpr const char* kDefaultFontId = "Roboto-Regular";
inline constexpr std::size_t kMaxFontIdLength = 63;

struct TextStyle {
  std::string FontId;  // empty selects kDefaultFontId; longer ids are cut to 63 characters
  float Size = 14.f;
  Colour TextColour = kColourBlack;
  Colour EntryBackground = kColourWhite;
  Colour EntryForeground = kColourBlack;
  float Angle = 0.f;  // degrees
  EAlign Align = EAlign::Centre;
  EVAlign VAlign = EVAlign::Middle;

  TextStyle() = default;
  TextStyle(float size, Colour colour, std::string fontId = {}, EAlign align = EAlign::Centre,
            EVAlign vAlign = EVAlign::Middle)
      : FontId(std::move(fontId)), Size(size), TextColour(colour), Align(align), VAlign(vAlign) {
    if (FontId.size() > kMaxFontIdLength) FontId.resize(kMaxFontIdLength);
  }
  std::string Font() const {
    return FontId.empty() ? std::string(kDefaultFontId) : FontId.substr(0, kMaxFontIdLength);
  }

  TextStyle WithSize(float v) const { TextStyle s = *this; s.Size = v; return s; }
  TextStyle WithColour(Colour v) const { TextStyle s = *this; s.TextColour = v; return s; }
  TextStyle WithAlign(EAlign v) const { TextStyle s = *this; s.Align = v; return s; }
  TextStyle WithVAlign(EVAlign v) const { TextStyle s = *this; s.VAlign = v; return s; }
};

// Indices of the nine colours of a WidgetStyle, in their stated order.
enum EWidgetColour { kBG = 0, kFG, kPR, kFR, kHL, kSH, kX1, kX2, kX3, kNumWidgetColours };

struct WidgetStyle {
  bool HideCursor = true;
  bool ShowLabel = true;
  bool ShowValue = true;
  bool DrawFrame = true;
  bool DrawShadows = true;
  bool Emboss = false;
  float Roundness = 0.f;  // 0..1
  float FrameThickness = 1.f;
  float ShadowOffset = 3.f;
  float WidgetFrac = 1.f;
  float Angle = 0.f;
  std::array<Colour, kNumWidgetColours> Colours{
      kColourTransparent,      Colour(255, 200, 200, 200), Colour(255, 240, 240, 240),
      kColourBlack,            Colour(25, 0, 0, 0),        Colour(60, 0, 0, 0),
      Colour(255, 255, 0, 0),  Colour(255, 0, 255, 0),     Colour(255, 0, 0, 255)};
  TextStyle LabelText{14.f, kColourBlack};
  TextStyle ValueText{14.f, kColourBlack};

  Colour GetColour(EWidgetColour c) const { return Colours[static_cast<std::size_t>(c)]; }

  WidgetStyle WithColour(EWidgetColour c, Colour v) const {
    WidgetStyle s = *this; s.Colours[static_cast<std::size_t>(c)] = v; return s;
  }
  WidgetStyle WithRoundness(float v) const {
    WidgetStyle s = *this; s.Roundness = std::clamp(v, 0.f, 1.f); return s;
  }
  WidgetStyle WithFrameThickness(float v) const { WidgetStyle s = *this; s.FrameThickness = v; return s; }
  WidgetStyle WithShadowOffset(float v) const { WidgetStyle s = *this; s.ShadowOffset = v; return s; }
  WidgetStyle WithWidgetFrac(float v) const { WidgetStyle s = *this; s.WidgetFrac = v; return s; }
  WidgetStyle WithAngle(float v) const { WidgetStyle s = *this; s.Angle = v; return s; }
  WidgetStyle WithHideCursor(bool v) const { WidgetStyle s = *this; s.HideCursor = v; return s; }
  WidgetStyle WithShowLabel(bool v) const { WidgetStyle s = *this; s.ShowLabel = v; return s; }
  WidgetStyle WithShowValue(bool v) const { WidgetStyle s = *this; s.ShowValue = v; return s; }
  WidgetStyle WithDrawFrame(bool v) const { WidgetStyle s = *this; s.DrawFrame = v; return s; }
  WidgetStyle WithDrawShadows(bool v) const { WidgetStyle s = *this; s.DrawShadows = v; return s; }
  WidgetStyle WithEmboss(bool v) const { WidgetStyle s = *this; s.Emboss = v; return s; }
  WidgetStyle WithLabelText(const TextStyle& v) const { WidgetStyle s = *this; s.LabelText = v; return s; }
  WidgetStyle WithValueText(const TextStyle& v) const { WidgetStyle s = *this; s.ValueText = v; return s; }
};

}  // namespace igraphics
