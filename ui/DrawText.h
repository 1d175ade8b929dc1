#pragma once
// Text and shape drawing shared by the controls.

#include <cairo.h>

#include <string>
#include <string_view>

#include "ui/FontRegistry.h"
#include "ui/IGraphicsStructs.h"

namespace igraphics {

void SetSourceColour(cairo_t* cr, Colour c);
void FillRect(cairo_t* cr, const Rect& r, Colour c);
// A rectangle with corners rounded by radius (0 = square corners).
void RoundedRectPath(cairo_t* cr, const Rect& r, float radius);

// Selects the style's face and size on cr.
void SelectFont(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style);
// Width of text in design units in the style's font.
float MeasureText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, std::string_view text);
// Where text goes in r: the size it is drawn at, what is shown of it, the
// pen position and the ink it covers (design units, before any rotation).
struct TextPlacement {
  float Size = 0.f;
  std::string Shown;
  double X = 0.0;
  double Y = 0.0;
  Rect Ink;
};

// Text aligned in r by the style. Fitted (and unrotated), text whose ink
// would leave r is made smaller, down to kMinFitRatio of its size, then cut
// with an ellipsis, and moved inside r where its alignment would put ink
// outside; the rectangle itself never changes. Measured on cr, so at the
// scale the text is drawn at.
inline constexpr float kMinFitRatio = 0.6f;
TextPlacement PlaceText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
                        std::string_view text, bool fit = true);

// Draws text placed in r by PlaceText, in colour (the style's by default).
void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text);
void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text, Colour colour, bool fit = true);

}  // namespace igraphics

namespace igraphics {
// Width of text without a drawing context at hand (a scratch one is used).
float MeasureText(const FontRegistry& fonts, const TextStyle& style, std::string_view text);
}  // namespace igraphics
