#pragma once
// Draws the editor's main page from the embedded artwork the way the
// window shows it: the background with every image control placed at its
// rectangle, and plain stand-ins for the vector controls. Used for preview
// images and for the pictures of the owner's manual.

#include <cairo.h>

#include <string>

namespace kr7::tools {

enum class EditorBlock { ImpulseResponse, Drive, Ambience };

struct PageState {
  EditorBlock block = EditorBlock::ImpulseResponse;
  bool connected = true;
  int presetNumber = 12;
};

// Draws onto cr in design units (1920 x 1200); the caller sets any scale.
// artDir holds the rasterised PNG files. False when an image is missing.
bool ComposeMainPage(cairo_t* cr, const std::string& artDir, const PageState& state);

// Draws one image file at (x, y) in design units; frame picks one of
// frames stacked vertically. False when the file cannot be read.
bool DrawImage(cairo_t* cr, const std::string& path, double x, double y, int frame = 0, int frames = 1);

}  // namespace kr7::tools
