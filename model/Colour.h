#pragma once
// The colour value shared by the window-free logic and the control toolkit.
// It lives here, below both, so that the logic can name colours without
// including anything of the toolkit.

namespace igraphics {

// Colours are written alpha, red, green, blue, each 0..255.
struct Colour {
  int A = 255, R = 0, G = 0, B = 0;
  constexpr Colour() = default;
  constexpr Colour(int a, int r, int g, int b) : A(a), R(r), G(g), B(b) {}
  friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kColourTransparent{0, 0, 0, 0};
inline constexpr Colour kColourBlack{255, 0, 0, 0};
inline constexpr Colour kColourWhite{255, 255, 255, 255};

}  // namespace igraphics
