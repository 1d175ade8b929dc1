#pragma once
// Text and shape drawing shared by the controls.

#include <cairo.h>

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
// Draws text aligned in r by the style, in colour (the style's by default).
void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text);
void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text, Colour colour);

}  // namespace igraphics

namespace igraphics {
// Width of text without a drawing context at hand (a scratch one is used).
float MeasureText(const FontRegistry& fonts, const TextStyle& style, std::string_view text);
}  // namespace igraphics
