#pragma once
// A minimal page typesetter on a Cairo PDF surface: headings, wrapped
// paragraphs, bullet lists and pictures, flowing onto new A4 pages.

#include <cairo.h>

#include <functional>
#include <string>

namespace kr7::tools {

class Typesetter {
 public:
  explicit Typesetter(cairo_t* cr);

  void Title(const std::string& text, const std::string& subtitle);
  void Heading(const std::string& text);
  void Paragraph(const std::string& text);
  void Bullet(const std::string& text);
  // Reserves height points of the column and lets draw paint into a box of
  // the column width scaled from the given design size.
  void Picture(double designWidth, double designHeight, const std::string& caption,
               const std::function<void(cairo_t*)>& draw);
  void NewPage();

 private:
  double Wrap(const std::string& text, double x, double width, double size, bool draw);
  void Need(double height);
  void Footer();

  cairo_t* mCr;
  double mY;
  int mPage = 1;
};

}  // namespace kr7::tools
