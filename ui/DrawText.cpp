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

namespace {

// Three full stops: every face we use has them.
constexpr std::string_view kEllipsis = "...";

// Pen position and ink of s at the selected font, aligned in r.
void AlignIn(cairo_t* cr, const TextStyle& style, const Rect& r, const std::string& s, TextPlacement& p) {
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_text_extents_t te;
  cairo_text_extents(cr, s.c_str(), &te);
  p.X = r.L;
  if (style.Align == EAlign::Centre) p.X = r.MW() - te.x_advance * 0.5;
  if (style.Align == EAlign::Far) p.X = r.R - te.x_advance;
  p.Y = r.T + fe.ascent;
  if (style.VAlign == EVAlign::Middle) p.Y = r.MH() + (fe.ascent - fe.descent) * 0.5;
  if (style.VAlign == EVAlign::Bottom) p.Y = r.B - fe.descent;
  p.Ink = {static_cast<float>(p.X + te.x_bearing), static_cast<float>(p.Y + te.y_bearing),
           static_cast<float>(p.X + te.x_bearing + te.width), static_cast<float>(p.Y + te.y_bearing + te.height)};
}

// Moves the pen by however far the ink leaves r on one side, as long as the
// other side stays inside.
double Nudge(float inkLow, float inkHigh, float low, float high) {
  if (inkLow < low) return std::min<double>(low - inkLow, std::max(0.f, high - inkHigh));
  if (inkHigh > high) return -std::min<double>(inkHigh - high, std::max(0.f, inkLow - low));
  return 0.0;
}

// Drops whole UTF-8 characters from the end of s.
void DropLastCharacter(std::string& s) {
  while (!s.empty() && (static_cast<unsigned char>(s.back()) & 0xC0) == 0x80) s.pop_back();
  if (!s.empty()) s.pop_back();
}

}  // namespace

TextPlacement PlaceText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
                        std::string_view text, bool fit) {
  TextPlacement p;
  p.Size = std::max(style.Size, 0.f);
  p.Shown = std::string(text);
  TextStyle sized = style;
  SelectFont(cr, fonts, sized);
  AlignIn(cr, style, r, p.Shown, p);
  if (!fit || style.Angle != 0.f || text.empty() || r.Holds(p.Ink)) return p;
  // Smaller, in proportion to how far the ink overflows, down to the floor.
  const float floor = style.Size * kMinFitRatio;
  while (!r.Holds(p.Ink) && p.Size > floor) {
    const float ratio = std::min(p.Ink.W() > r.W() ? r.W() / p.Ink.W() : 1.f, p.Ink.H() > r.H() ? r.H() / p.Ink.H() : 1.f);
    if (ratio >= 1.f) break;  // small enough; only the alignment puts it outside
    p.Size = std::max(floor, std::min(p.Size * ratio, p.Size - 0.25f));
    sized.Size = p.Size;
    SelectFont(cr, fonts, sized);
    AlignIn(cr, style, r, p.Shown, p);
  }
  // Still too wide: cut, with an ellipsis.
  if (p.Ink.W() > r.W()) {
    std::string kept = p.Shown;
    while (!kept.empty() && p.Ink.W() > r.W()) {
      DropLastCharacter(kept);
      while (!kept.empty() && kept.back() == ' ') kept.pop_back();
      p.Shown = kept + std::string(kEllipsis);
      AlignIn(cr, style, r, p.Shown, p);
    }
  }
  const double dx = Nudge(p.Ink.L, p.Ink.R, r.L, r.R);
  const double dy = Nudge(p.Ink.T, p.Ink.B, r.T, r.B);
  p.X += dx;
  p.Y += dy;
  p.Ink = {p.Ink.L + static_cast<float>(dx), p.Ink.T + static_cast<float>(dy), p.Ink.R + static_cast<float>(dx),
           p.Ink.B + static_cast<float>(dy)};
  return p;
}

void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text) {
  DrawText(cr, fonts, style, r, text, style.TextColour);
}

void DrawText(cairo_t* cr, const FontRegistry& fonts, const TextStyle& style, const Rect& r,
              std::string_view text, Colour colour, bool fit) {
  if (text.empty() || colour.A == 0 || style.Size <= 0.f) return;
  cairo_save(cr);
  const TextPlacement p = PlaceText(cr, fonts, style, r, text, fit);
  if (style.Angle != 0.f) {
    cairo_translate(cr, r.MW(), r.MH());
    cairo_rotate(cr, style.Angle * std::numbers::pi / 180.0);
    cairo_translate(cr, -r.MW(), -r.MH());
  }
  SetSourceColour(cr, colour);
  cairo_move_to(cr, p.X, p.Y);
  cairo_show_text(cr, p.Shown.c_str());
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
