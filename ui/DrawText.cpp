#include "ui/DrawText.h"

#include <algorithm>
#include <numbers>
#include <string>

namespace igraphics {

void SetSourceColour(cairo_t* cr, Colour c) {
  cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
}

void FillRect(cairo_t* cr, const Rect& r, Colour c) {
  if (c.A == 0) return;
  SetSourceColour(cr, c);
  cairo_rectangle(cr, r.L, r.T, r.W(), r.H());
  cairo_fill(cr);
}

void RoundedRectPath(cairo_t* cr, const Rect& r, float radius) {
  const double rad = std::clamp<double>(radius, 0.0, std::min(r.W(), r.H()) * 0.5);
  if (rad <= 0.0) {
    cairo_rectangle(cr, r.L, r.T, r.W(), r.H());
    return;
  }
  constexpr double kQuarter = std::numbers::pi / 2.0;
  cairo_new_sub_path(cr);
  cairo_arc(cr, r.R - rad, r.T + rad, rad, -kQuarter, 0.0);
  cairo_arc(cr, r.R - rad, r.B - rad, rad, 0.0, kQuarter);
  cairo_arc(cr, r.L + rad, r.B - rad, rad, kQuarter, 2.0 * kQuarter);
  cairo_arc(cr, r.L + rad, r.T + rad, rad, 2.0 * kQuarter, 3.0 * kQuarter);
  cairo_close_path(cr);
}

void SelectFont(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style) {
  cairo_set_font_face(cr, fonts.Face(style.Font()));
  cairo_set_font_size(cr, std::max(style.Size, 0.f));
}

float MeasureText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, std::string_view text) {
  SelectFont(cr, fonts, style);
  const std::string s(text);
  cairo_text_extents_t te;
  cairo_text_extents(cr, s.c_str(), &te);
  return static_cast<float>(te.x_advance);
}

void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text) {
  DrawText(cr, fonts, style, r, text, style.TextColour);
}

void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text, Colour colour) {
  if (text.empty() || colour.A == 0 || style.Size <= 0.f) return;
  const std::string s(text);
  cairo_save(cr);
  SelectFont(cr, fonts, style);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(cr, s.c_str(), &te);
  if (style.Angle != 0.f) {
    cairo_translate(cr, r.MW(), r.MH());
    cairo_rotate(cr, style.Angle * std::numbers::pi / 180.0);
    cairo_translate(cr, -r.MW(), -r.MH());
  }
  double x = r.L;
  if (style.Align == EAlign::Centre) x = r.MW() - te.x_advance * 0.5;
  if (style.Align == EAlign::Far) x = r.R - te.x_advance;
  double y = r.T + fe.ascent;
  if (style.VAlign == EVAlign::Middle) y = r.MH() + (fe.ascent - fe.descent) * 0.5;
  if (style.VAlign == EVAlign::Bottom) y = r.B - fe.descent;
  SetSourceColour(cr, colour);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, s.c_str());
  cairo_restore(cr);
}

}  // namespace igraphics

namespace igraphics {
float MeasureText(const FontRegistry& fonts, const TextStyle& style, std::string_view text) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  cairo_t* cr = cairo_create(surface);
  const float width = MeasureText(cr, fonts, style, text);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return width;
}
}  // namespace igraphics
