#pragma once
// Drawing shared by the vector controls: the widget face in a WidgetStyle's
// colours, and the label and value texts.

#include <cairo.h>

#include <string_view>

#include "ui/FontRegistry.h"
#include "ui/IGraphicsStructs.h"

namespace igraphics {

// Knob angles are degrees clockwise from 12 o'clock; Cairo counts radians
// clockwise from 3 o'clock (its y axis points down).
double KnobAngleToRadians(double degrees);

// Arc about (cx, cy) from angle a1 to a2 (knob degrees), either way round.
void ArcPath(cairo_t* cr, double cx, double cy, double radius, double a1, double a2);

// Colour with red, green and blue reduced by 127 (not below 0) and alpha 127.
Colour DarkerShade(Colour c);

// A face in the style's colours: shadow, fill (pressed or foreground),
// highlight while hovered, emboss and frame as the flags ask.
void DrawWidgetFace(cairo_t* cr, const WidgetStyle& style, const Rect& r, bool pressed, bool mouseOver);

// The corner radius a style's roundness gives a rectangle.
float CornerRadius(const WidgetStyle& style, const Rect& r);

}  // namespace igraphics
