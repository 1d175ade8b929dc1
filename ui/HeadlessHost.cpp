#include "ui/HeadlessHost.h"

#include <cstdint>

namespace igraphics {

HeadlessHost::HeadlessHost(IGraphics& graphics) : mGraphics(graphics) {
  mGraphics.SetHost(this);
  mGraphics.SetClock([this] { return mNow; });
  MakeSurface(mGraphics.WindowWidth(), mGraphics.WindowHeight());
}

HeadlessHost::~HeadlessHost() {
  mGraphics.SetHost(nullptr);
  mGraphics.SetClock(nullptr);
  if (mSurface != nullptr) cairo_surface_destroy(mSurface);
}

void HeadlessHost::MakeSurface(int width, int height) {
  if (mSurface != nullptr) cairo_surface_destroy(mSurface);
  mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, width), std::max(1, height));
  mGraphics.SetAllControlsDirty();
}

Rect HeadlessHost::Render() {
  Rect drawn;
  const std::vector<Rect> areas = mGraphics.TakeDirtyRects();
  if (areas.empty()) return drawn;
  cairo_t* cr = cairo_create(mSurface);
  for (const Rect& area : areas) {
    mGraphics.Draw(cr, area);
    drawn = drawn.Union(area);
  }
  cairo_destroy(cr);
  cairo_surface_flush(mSurface);
  return drawn;
}

void HeadlessHost::RenderAll() {
  mGraphics.TakeDirtyRect();
  cairo_t* cr = cairo_create(mSurface);
  mGraphics.Draw(cr, mGraphics.GetBounds());
  cairo_destroy(cr);
  cairo_surface_flush(mSurface);
}

bool HeadlessHost::WritePng(const std::string& path) const {
  return cairo_surface_write_to_png(mSurface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

Colour HeadlessHost::PixelAt(int x, int y) const {
  const int w = cairo_image_surface_get_width(mSurface);
  const int h = cairo_image_surface_get_height(mSurface);
  if (x < 0 || y < 0 || x >= w || y >= h) return kColourTransparent;
  const unsigned char* data = cairo_image_surface_get_data(mSurface);
  const int stride = cairo_image_surface_get_stride(mSurface);
  const auto word = *reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride + x * 4);
  const int a = static_cast<int>(word >> 24);
  if (a == 0) return kColourTransparent;
  auto unpremultiply = [a](std::uint32_t c) { return static_cast<int>((c * 255 + static_cast<std::uint32_t>(a) / 2) / static_cast<std::uint32_t>(a)); };
  return {a, unpremultiply((word >> 16) & 0xFF), unpremultiply((word >> 8) & 0xFF), unpremultiply(word & 0xFF)};
}

void HeadlessHost::Replay(const std::vector<PointerEvent>& events) {
  for (const PointerEvent& e : events) {
    switch (e.Type) {
      case PointerEvent::Kind::Down: mGraphics.OnMouseDown(e.X, e.Y, e.Mod); break;
      case PointerEvent::Kind::Up: mGraphics.OnMouseUp(e.X, e.Y, e.Mod); break;
      case PointerEvent::Kind::Drag: mGraphics.OnMouseDrag(e.X, e.Y, e.DX, e.DY, e.Mod); break;
      case PointerEvent::Kind::DoubleClick: mGraphics.OnMouseDblClick(e.X, e.Y, e.Mod); break;
      case PointerEvent::Kind::Wheel: mGraphics.OnMouseWheel(e.X, e.Y, e.Mod, e.DX); break;
      case PointerEvent::Kind::Over: mGraphics.OnMouseOver(e.X, e.Y, e.Mod); break;
      case PointerEvent::Kind::Out: mGraphics.OnMouseOut(); break;
      case PointerEvent::Kind::Key: mGraphics.OnKeyDown(e.Key); break;
    }
  }
}

void HeadlessHost::DragBy(float x, float y, float dx, float dy, int steps, const IMouseMod& mod) {
  mGraphics.OnMouseDown(x, y, mod);
  float px = x, py = y;
  for (int i = 0; i < steps; ++i) {
    px += dx;
    py += dy;
    mGraphics.OnMouseDrag(px, py, dx, dy, mod);
  }
  mGraphics.OnMouseUp(px, py, mod);
}

void HeadlessHost::Click(float x, float y, const IMouseMod& mod) {
  mGraphics.OnMouseDown(x, y, mod);
  mGraphics.OnMouseUp(x, y, mod);
}

void HeadlessHost::AdvanceMs(double ms) {
  mNow += ms;
  mGraphics.OnIdle();
}

EMsgBoxResult HeadlessHost::ShowMessage(std::string_view text, std::string_view, EMsgBoxType buttons) {
  Messages.emplace_back(text);
  return buttons == kMB_OK ? kOK : MessageAnswer;
}

FileDialogResult HeadlessHost::AskForFile(std::string_view, std::string_view, EFileAction, std::string_view extension) {
  FileRequests.emplace_back(extension);
  return FileAnswer;
}

bool HeadlessHost::OpenLink(std::string_view address) {
  if (!InternetConnected) return false;
  OpenedLinks.emplace_back(address);
  return true;
}

void HeadlessHost::OnScaleChanged(int widthPixels, int heightPixels) { MakeSurface(widthPixels, heightPixels); }

}  // namespace igraphics
