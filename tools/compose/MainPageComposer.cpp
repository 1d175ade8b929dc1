#include "tools/compose/MainPageComposer.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>

namespace kr7::tools {
namespace {

struct Knob {
  const char* image;
  double cx, cy;
  double value;
};

// Pedal knobs at their centres, with a plausible sound dialled in.
constexpr std::array<Knob, 8> kPedalKnobs = {{
    {"knobrotate.png", 770, 189, 0.62},     {"knobrotate.png", 913, 190, 0.55},
    {"knobrotate.png", 1055.5, 191, 0.70},  {"knobrotate.png", 1198.5, 191, 0.58},
    {"knobrotate.png", 1342, 191, 0.25},    {"knobrotate.png", 984.5, 347.5, 0.10},
    {"knobrotate.png", 1127.5, 347.5, 0.5}, {"knobrotatebig.png", 769.5, 349.5, 0.66},
}};

constexpr std::array<const char*, 19> kPresetNames = {
    "Glassy Clean",  "Liverpool Chime", "Brit Crunch",   "Cali Rhythm",        "Boutique Overdrive",
    "Tweed Blues",   "Top Boost Jangle", "Plexi Stack",  "Metal Rhythm",       "Singing Lead",
    "Surf Spring",   "Texas Blues",     "Jazz Box",      "Country Twang",      "Funk Rhythm",
    "Classic Rock",  "Hard Rock Lead",  "Modern High Gain", "Thrash Chug"};

constexpr std::array<const char*, 9> kCabinetRows = {"Off",       "VALVORA",   "BLONDE 2x12",
                                                     "TWEED 4x10", "CALI 1x12", "CALI 4x12",
                                                     "BLUE 2x12", "BRIT 2x12", "BOUTIQUE 4x12"};

void Rgba(cairo_t* cr, int a, int r, int g, int b) {
  cairo_set_source_rgba(cr, r / 255.0, g / 255.0, b / 255.0, a / 255.0);
}

void Text(cairo_t* cr, const char* family, bool bold, double size, double x, double y, const char* s,
          int align = 0) {
  cairo_select_font_face(cr, family, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, s, &e);
  const double dx = align == 1 ? -e.x_advance / 2 : align == 2 ? -e.x_advance : 0;
  cairo_move_to(cr, x + dx, y);
  cairo_show_text(cr, s);
}

void RoundRect(cairo_t* cr, double x0, double y0, double x1, double y1, double r) {
  cairo_new_path(cr);
  cairo_arc(cr, x1 - r, y0 + r, r, -std::numbers::pi / 2, 0);
  cairo_arc(cr, x1 - r, y1 - r, r, 0, std::numbers::pi / 2);
  cairo_arc(cr, x0 + r, y1 - r, r, std::numbers::pi / 2, std::numbers::pi);
  cairo_arc(cr, x0 + r, y0 + r, r, std::numbers::pi, 1.5 * std::numbers::pi);
  cairo_close_path(cr);
}

void GreyButton(cairo_t* cr, double x0, double y0, double x1, double y1, const char* label, double size) {
  const double r = std::min(x1 - x0, y1 - y0) / 2;
  RoundRect(cr, x0 + 2, y0 + 2, x1 + 2, y1 + 2, r);
  Rgba(cr, 60, 0, 0, 0);
  cairo_fill(cr);
  RoundRect(cr, x0, y0, x1, y1, r);
  Rgba(cr, 255, 116, 116, 116);
  cairo_fill_preserve(cr);
  Rgba(cr, 255, 0, 0, 0);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  Text(cr, "Roboto", false, size, (x0 + x1) / 2, (y0 + y1) / 2 + size * 0.35, label, 1);
}

bool DrawRotated(cairo_t* cr, const std::string& path, double cx, double cy, double degrees) {
  cairo_surface_t* img = cairo_image_surface_create_from_png(path.c_str());
  const bool ok = cairo_surface_status(img) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    const double w = cairo_image_surface_get_width(img);
    const double h = cairo_image_surface_get_height(img);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, degrees * std::numbers::pi / 180.0);
    cairo_set_source_surface(cr, img, -w / 2, -h / 2);
    cairo_paint(cr);
    cairo_restore(cr);
  }
  cairo_surface_destroy(img);
  return ok;
}

// The vector knob of the block editor: track, value arc and pointer.
void VectorKnob(cairo_t* cr, double x, double value, const char* caption, const char* text, const char* unit,
                bool upper) {
  const double top = upper ? 820 : 890;
  const double cx = x + 100, cy = top + 100;
  const double radius = (100 - 9) * 0.9;
  auto angle = [](double deg) { return (deg - 90) * std::numbers::pi / 180.0; };
  auto arc = [&](double width, int a, int r, int g, int b, double toDegrees) {
    cairo_new_path(cr);
    cairo_set_line_width(cr, width);
    Rgba(cr, a, r, g, b);
    cairo_arc(cr, cx, cy, radius, angle(-135), angle(toDegrees));
    cairo_stroke(cr);
  };
  const double valueAngle = -135 + 270 * value;
  arc(18, 255, 70, 70, 70, 135);
  arc(18 * 1.7, 127, 0, 128, 128, valueAngle);
  arc(18, 255, 51, 255, 255, valueAngle);
  cairo_new_path(cr);
  cairo_set_line_width(cr, 2.5);
  Rgba(cr, 255, 0, 0, 0);
  cairo_move_to(cr, cx + 0.1 * radius * std::cos(angle(valueAngle)), cy + 0.1 * radius * std::sin(angle(valueAngle)));
  cairo_line_to(cr, cx + radius * std::cos(angle(valueAngle)), cy + radius * std::sin(angle(valueAngle)));
  cairo_stroke(cr);
  Rgba(cr, 255, 102, 102, 102);
  Text(cr, "Roboto Condensed", true, 26, cx, top - 40 + 24, caption, 1);
  Rgba(cr, 255, 204, 204, 204);
  Text(cr, "Roboto Condensed", true, 40, cx, top + 75 + 32, text, 1);
  Rgba(cr, 255, 102, 102, 102);
  Text(cr, "Roboto Condensed", true, 34, cx, top + 150 + 28, unit, 1);
}

void BlockTitle(cairo_t* cr, const char* title) {
  Rgba(cr, 255, 204, 204, 204);
  Text(cr, "Roboto Condensed", true, 44, 400, 664 + 40, title);
}

bool DrivingBlock(cairo_t* cr, const std::string& dir) {
  static constexpr std::array<const char*, 10> kAmps = {
      "amp-blond", "amp-liverpool", "amp-british", "amp-caliclassic", "amp-boutiquea",
      "amp-tweed", "amp-topboost",  "amp-plexi",   "amp-calimetal",  "amp-boutiqueb"};
  static constexpr std::array<double, 6> kLeft = {354, 517, 657, 798, 938, 1100};
  bool ok = true;
  for (std::size_t k = 0; k < kAmps.size(); ++k) {
    const double x = kLeft[k % 5];
    const double y = k < 5 ? 730 : 765;
    ok &= DrawImage(cr, dir + "/" + kAmps[k] + ".png", x, y, k == 7 ? 1 : 0, 2);
  }
  BlockTitle(cr, "DRIVE");
  VectorKnob(cr, 380, 0.6, "PRE-AMP", "60.00", "%", false);
  VectorKnob(cr, 630, 0.35, "PRESENCE", "35.00", "%", false);
  VectorKnob(cr, 880, 0.2, "COMPRESSION", "20.00", "%", false);
  return ok;
}

bool AmbienceBlock(cairo_t* cr, const std::string& dir) {
  static constexpr std::array<const char*, 7> kTypes = {"radio-room",   "radio-hall", "radio-spring",
                                                        "radio-plate",  "radio-chorus", "radio-echo",
                                                        "radio-echoverb"};
  static constexpr std::array<double, 5> kLeft = {354, 517, 657, 798, 938};
  bool ok = true;
  for (std::size_t k = 0; k < kTypes.size(); ++k) {
    ok &= DrawImage(cr, dir + "/" + kTypes[k] + ".png", kLeft[k % 5], k < 5 ? 730 : 765, k == 1 ? 1 : 0, 2);
  }
  BlockTitle(cr, "AMBIENCE");
  VectorKnob(cr, 380, 0.3, "LEVEL", "30.00", "%", false);
  VectorKnob(cr, 630, 0.55, "DECAY", "55.00", "%", false);
  return ok;
}

bool ImpulseBlock(cairo_t* cr, const std::string& dir) {
  bool ok = DrawImage(cr, dir + "/editorbg.png", 356, 645);
  ok &= DrawImage(cr, dir + "/irbg.png", 429, 705);
  ok &= DrawImage(cr, dir + "/micbg.png", 380, 717);
  ok &= DrawImage(cr, dir + "/mic.png", 380, 717 + 0.4 * (432 - 30));
  Rgba(cr, 255, 204, 204, 204);
  Text(cr, "Roboto Condensed", true, 44, 400, 664 + 40, "IMPULSE RESPONSE");
  for (std::size_t j = 0; j < kCabinetRows.size(); ++j) {
    Rgba(cr, j == 5 ? 255 : 200, 100, 255, 255);
    Text(cr, "Roboto", false, 24, 495, 713 + 50.0 * static_cast<double>(j) + 30, kCabinetRows[j]);
  }
  for (int row = 0; row < 2; ++row) {
    const double y = 1072 + 50.0 * row;
    RoundRect(cr, 740, y, 800, y + 28, 14);
    Rgba(cr, 255, 70, 70, 70);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_arc(cr, 754, y + 14, 12, 0, 2 * std::numbers::pi);
    Rgba(cr, 255, 51, 255, 255);
    cairo_fill(cr);
    // Gain knobs are disabled until a user response is chosen.
    cairo_new_path(cr);
    cairo_arc(cr, 830, y + 13, 14, 0, 2 * std::numbers::pi);
    Rgba(cr, 64, 51, 255, 255);
    cairo_fill(cr);
    Rgba(cr, 255, 51, 255, 255);
    Text(cr, "Roboto Condensed", true, 22, 930, y + 27, "0.00", 1);
    cairo_push_group(cr);
    GreyButton(cr, 984, y - 4, 1054, y + 34, "IMPORT", 18);
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, 0.25);
  }
  // A cabinet-like curve in the response screen.
  Rgba(cr, 255, 100, 255, 255);
  cairo_set_line_width(cr, 2.5);
  for (int i = 0; i <= 672; ++i) {
    const double t = i / 672.0;
    const double db = 8 * std::exp(-std::pow((t - 0.18) / 0.07, 2)) + 9 * std::exp(-std::pow((t - 0.72) / 0.06, 2)) -
                      4 * std::exp(-std::pow((t - 0.45) / 0.08, 2)) - (t > 0.8 ? 400 * std::pow(t - 0.8, 2) : 0) -
                      (t < 0.08 ? 900 * std::pow(0.08 - t, 2) : 0);
    const double y = 685 + (30 - db) / 100 * 450;
    if (i == 0) {
      cairo_move_to(cr, 1200 + i, y);
    } else {
      cairo_line_to(cr, 1200 + i, y);
    }
  }
  cairo_stroke(cr);
  return ok;
}

void PresetColumn(cairo_t* cr, int selected) {
  for (int i = 0; i < 19; ++i) {
    const double top = 228 + 50.0 * i;
    Rgba(cr, 255, 38, 38, 38);
    cairo_rectangle(cr, 1, top, 260, 48);
    cairo_fill(cr);
    char row[64];
    std::snprintf(row, sizeof row, " %02d %s", i, kPresetNames[static_cast<std::size_t>(i)]);
    Rgba(cr, i == selected ? 255 : 150, 100, 255, 255);
    Text(cr, "Roboto", false, 27, 1, top + 24 + 10, row);
  }
  // Scroll bar at the top of its travel.
  RoundRect(cr, 272, 232, 288, 1168, 3);
  Rgba(cr, 255, 94, 94, 94);
  cairo_fill(cr);
  RoundRect(cr, 266, 232, 294, 244, 3);
  Rgba(cr, 255, 169, 169, 169);
  cairo_fill(cr);
  Rgba(cr, 255, 100, 255, 255);
  Text(cr, "Roboto", false, 24, 20, 141, kPresetNames[static_cast<std::size_t>(selected)]);
  GreyButton(cr, 15, 170, 130, 215, "IMPORT", 18);
  GreyButton(cr, 135, 170, 250, 215, "EXPORT", 18);
}

// The embedded seven-segment face is unknown to the system, so it is loaded
// from its file. Cairo may keep the face in its caches, so the FreeType face
// lives for the rest of the process.
cairo_font_face_t* DisplayFont(const std::string& dir) {
  static cairo_font_face_t* font = nullptr;
  static FT_Library library = nullptr;
  if (font == nullptr && library == nullptr && FT_Init_FreeType(&library) == 0) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, (dir + "/MyBlueRoom.ttf").c_str(), 0, &face) == 0) {
      font = cairo_ft_font_face_create_for_ft_face(face, 0);
    }
  }
  return font;
}

// Right-aligned in the display rectangle, over its dark "188".
void PresetDisplay(cairo_t* cr, const std::string& dir, int number) {
  cairo_font_face_t* font = DisplayFont(dir);
  if (font == nullptr) {
    return;
  }
  char digits[8];
  std::snprintf(digits, sizeof digits, "%02d", number);
  cairo_save(cr);
  cairo_set_font_face(cr, font);
  cairo_set_font_size(cr, 88);
  const std::array<std::pair<const char*, int>, 2> layers = {{{"188", 51}, {digits, 255}}};
  for (const auto& [text, level] : layers) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    Rgba(cr, 255, level, level, level);
    cairo_move_to(cr, 1383 - e.x_advance, 315 + 88 * 0.9);
    cairo_show_text(cr, text);
  }
  cairo_restore(cr);
}

}  // namespace

bool DrawImage(cairo_t* cr, const std::string& path, double x, double y, int frame, int frames) {
  cairo_surface_t* img = cairo_image_surface_create_from_png(path.c_str());
  const bool ok = cairo_surface_status(img) == CAIRO_STATUS_SUCCESS;
  if (ok) {
    const int w = cairo_image_surface_get_width(img);
    const int frameHeight = cairo_image_surface_get_height(img) / frames;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, img, x, y - frame * frameHeight);
    cairo_paint(cr);
    cairo_restore(cr);
  } else {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
  }
  cairo_surface_destroy(img);
  return ok;
}

bool ComposeMainPage(cairo_t* cr, const std::string& artDir, const PageState& state) {
  Rgba(cr, 255, 127, 127, 127);
  cairo_paint(cr);
  bool ok = DrawImage(cr, artDir + "/background.png", 0, 0);
  const double pedalAlpha = state.connected ? 1.0 : 0.25;
  cairo_push_group(cr);
  for (const Knob& k : kPedalKnobs) {
    ok &= DrawRotated(cr, artDir + "/" + k.image, k.cx, k.cy, k.value * 300 - 150);
  }
  PresetDisplay(cr, artDir, state.presetNumber);
  ok &= DrawImage(cr, artDir + "/fswitch.png", 1460, 486, 0, 2);
  ok &= DrawImage(cr, artDir + "/fswitch.png", 1100, 486, 1, 2);
  ok &= DrawImage(cr, artDir + "/fswitch.png", 733, 486, 0, 2);
  ok &= DrawImage(cr, artDir + "/fswitch.png", 1459, 322, 0, 2);
  ok &= DrawImage(cr, artDir + "/led.png", 1172, 260);
  ok &= DrawImage(cr, artDir + "/save.png", 869, 314, 0, 2);
  cairo_pop_group_to_source(cr);
  cairo_paint_with_alpha(cr, pedalAlpha);

  PresetColumn(cr, state.presetNumber % 19);
  GreyButton(cr, 540, 18, 655, 63, "RECONNECT", 18);
  Rgba(cr, 255, 0, 0, 0);
  Text(cr, "Roboto", false, 22, 666, 24, state.connected ? "KR7 connected (firmware 1.2)" : "");
  Text(cr, "Roboto", false, 22, 666, 46, state.connected ? "Serial number 00417" : "Connecting to the device...");
  Text(cr, "Roboto", false, 22, 666, 68, state.connected ? "128 presets up to date" : "");

  switch (state.block) {
    case EditorBlock::ImpulseResponse:
      ok &= ImpulseBlock(cr, artDir);
      break;
    case EditorBlock::Drive:
      ok &= DrivingBlock(cr, artDir);
      break;
    case EditorBlock::Ambience:
      ok &= AmbienceBlock(cr, artDir);
      break;
  }
  return ok;
}

}  // namespace kr7::tools
