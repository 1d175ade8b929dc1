#include "tools/manual/Typesetter.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace kr7::tools {
namespace {

constexpr double kPageWidth = 595.0;   // A4 in points
constexpr double kPageHeight = 842.0;
constexpr double kMargin = 56.0;
constexpr double kColumn = kPageWidth - 2 * kMargin;
constexpr double kBodySize = 10.5;
constexpr double kLeading = 1.45;
constexpr double kMaxPictureHeight = 360.0;
constexpr double kPixelsPerPoint = 2.5;  // 180 dpi

void Font(cairo_t* cr, bool bold, double size) {
  cairo_select_font_face(cr, bold ? "Roboto Condensed" : "Roboto", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

}  // namespace

Typesetter::Typesetter(cairo_t* cr) : mCr(cr), mY(kMargin) {}

void Typesetter::Footer() {
  Font(mCr, false, 8);
  cairo_set_source_rgb(mCr, 0.45, 0.45, 0.45);
  cairo_move_to(mCr, kMargin, kPageHeight - 28);
  cairo_show_text(mCr, "KR7Control 1.2.0 - Owner's Manual");
  const std::string number = std::to_string(mPage);
  cairo_text_extents_t e;
  cairo_text_extents(mCr, number.c_str(), &e);
  cairo_move_to(mCr, kPageWidth - kMargin - e.x_advance, kPageHeight - 28);
  cairo_show_text(mCr, number.c_str());
}

void Typesetter::NewPage() {
  Footer();
  cairo_show_page(mCr);
  ++mPage;
  mY = kMargin;
}

void Typesetter::Need(double height) {
  if (mY + height > kPageHeight - kMargin) {
    NewPage();
  }
}

double Typesetter::Wrap(const std::string& text, double x, double width, double size, bool draw) {
  Font(mCr, false, size);
  std::istringstream words(text);
  std::string word, line;
  double y = 0;
  auto flush = [&]() {
    if (draw) {
      cairo_move_to(mCr, x, mY + y + size);
      cairo_show_text(mCr, line.c_str());
    }
    y += size * kLeading;
    line.clear();
  };
  while (words >> word) {
    const std::string candidate = line.empty() ? word : line + " " + word;
    cairo_text_extents_t e;
    cairo_text_extents(mCr, candidate.c_str(), &e);
    if (e.x_advance > width && !line.empty()) {
      flush();
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) {
    flush();
  }
  return y;
}

void Typesetter::Title(const std::string& text, const std::string& subtitle) {
  cairo_set_source_rgb(mCr, 0.37, 0.08, 0.08);
  cairo_rectangle(mCr, 0, 0, kPageWidth, 150);
  cairo_fill(mCr);
  cairo_set_source_rgb(mCr, 0.93, 0.9, 0.81);
  Font(mCr, true, 34);
  cairo_move_to(mCr, kMargin, 82);
  cairo_show_text(mCr, text.c_str());
  Font(mCr, false, 13);
  cairo_move_to(mCr, kMargin, 112);
  cairo_show_text(mCr, subtitle.c_str());
  mY = 180;
}

void Typesetter::Heading(const std::string& text) {
  Need(110);  // never leave a heading alone at the foot of a page
  mY += 10;
  cairo_set_source_rgb(mCr, 0.37, 0.08, 0.08);
  Font(mCr, true, 17);
  cairo_move_to(mCr, kMargin, mY + 17);
  cairo_show_text(mCr, text.c_str());
  mY += 24;
  cairo_set_line_width(mCr, 0.8);
  cairo_new_path(mCr);
  cairo_move_to(mCr, kMargin, mY);
  cairo_line_to(mCr, kPageWidth - kMargin, mY);
  cairo_stroke(mCr);
  mY += 8;
}

void Typesetter::Paragraph(const std::string& text) {
  Need(Wrap(text, kMargin, kColumn, kBodySize, false));
  cairo_set_source_rgb(mCr, 0.1, 0.1, 0.1);
  mY += Wrap(text, kMargin, kColumn, kBodySize, true) + 5;
}

void Typesetter::Bullet(const std::string& text) {
  Need(Wrap(text, kMargin + 14, kColumn - 14, kBodySize, false));
  cairo_set_source_rgb(mCr, 0.37, 0.08, 0.08);
  cairo_new_path(mCr);
  cairo_arc(mCr, kMargin + 4, mY + kBodySize * 0.65, 2, 0, 6.2832);
  cairo_fill(mCr);
  cairo_set_source_rgb(mCr, 0.1, 0.1, 0.1);
  mY += Wrap(text, kMargin + 14, kColumn - 14, kBodySize, true) + 2;
}

void Typesetter::Picture(double designWidth, double designHeight, const std::string& caption,
                         const std::function<void(cairo_t*)>& draw) {
  // Tall pictures are kept to half a page and centred.
  const double scale = std::min(kColumn / designWidth, kMaxPictureHeight / designHeight);
  const double width = designWidth * scale;
  const double height = designHeight * scale;
  const double left = kMargin + (kColumn - width) / 2;
  Need(height + 30);
  // Pictures are rendered at print resolution first, so the PDF holds one
  // image of the right size per picture instead of the full-size artwork.
  const int pixelsWide = static_cast<int>(width * kPixelsPerPoint);
  const int pixelsHigh = static_cast<int>(height * kPixelsPerPoint);
  cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixelsWide, pixelsHigh);
  cairo_t* pc = cairo_create(picture);
  cairo_scale(pc, scale * kPixelsPerPoint, scale * kPixelsPerPoint);
  draw(pc);
  cairo_destroy(pc);
  cairo_save(mCr);
  cairo_translate(mCr, left, mY);
  cairo_scale(mCr, 1.0 / kPixelsPerPoint, 1.0 / kPixelsPerPoint);
  cairo_set_source_surface(mCr, picture, 0, 0);
  cairo_paint(mCr);
  cairo_restore(mCr);
  cairo_surface_destroy(picture);
  cairo_set_source_rgb(mCr, 0.3, 0.3, 0.3);
  cairo_set_line_width(mCr, 0.5);
  cairo_new_path(mCr);
  cairo_rectangle(mCr, left, mY, width, height);
  cairo_stroke(mCr);
  mY += height + 4;
  Font(mCr, false, 8.5);
  cairo_set_source_rgb(mCr, 0.35, 0.35, 0.35);
  cairo_move_to(mCr, left, mY + 9);
  cairo_show_text(mCr, caption.c_str());
  mY += 22;
}

}  // namespace kr7::tools
