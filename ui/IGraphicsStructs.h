#pragma once
// Value types shared by the toolkit and the window-free core. Header-only and
// free of any drawing library so that the core can name them without linking
// the toolkit.

#include <algorithm>
#include <cstdint>

namespace igraphics {

// Colours are written alpha, red, green, blue, each 0..255.
struct Colour {
  int A = 255, R = 0, G = 0, B = 0;
  constexpr Colour() = default;
  constexpr Colour(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
  friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

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
  constexpr Rect Union(const Rect& o) const {
    if (Empty()) return o;
    if (o.Empty()) return *this;
    return {std::min(L, o.L), std::min(T, o.T), std::max(R, o.R), std::max(B, o.B)};
  }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace igraphics
