#pragma once
// A host without a window: renders the context into an image surface, writes
// it as PNG, replays pointer and key events, and answers the modal
// operations with canned replies. Used by tests, benchmarks and for looking
// at the drawing.

#include <cairo.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/IGraphics.h"

namespace igraphics {

// One recorded pointer or key event, in design units.
struct PointerEvent {
  enum class Kind { Down, Up, Drag, DoubleClick, Wheel, Over, Out, Key };
  Kind Type = Kind::Down;
  float X = 0.f;
  float Y = 0.f;
  float DX = 0.f;  // drag movement, or wheel notches in DX
  float DY = 0.f;
  IMouseMod Mod{};
  IKeyPress Key{};
};

class HeadlessHost : public IGraphicsHost {
 public:
  // Attaches itself to graphics as its host and uses a manual clock.
  explicit HeadlessHost(IGraphics& graphics);
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;
  ~HeadlessHost() override;

  // Draws what is dirty (everything the first time or after a rescale);
  // returns the smallest rectangle around the areas drawn, in design units.
  Rect Render();
  // Draws the whole surface regardless of what is dirty.
  void RenderAll();
  bool WritePng(const std::string& path) const;
  cairo_surface_t* Surface() const { return mSurface; }
  // Pixel at window pixel (x, y), unpremultiplied; transparent outside.
  Colour PixelAt(int x, int y) const;

  // --- Replay -------------------------------------------------------------------
  void Replay(const std::vector<PointerEvent>& events);
  // Down at (x, y), then steps of (dx, dy) each, then up.
  void DragBy(float x, float y, float dx, float dy, int steps, const IMouseMod& mod = {});
  void Click(float x, float y, const IMouseMod& mod = {});
  // Advances the manual clock and runs the idle step.
  void AdvanceMs(double ms);
  double NowMs() const { return mNow; }

  // --- Canned answers and what was asked ----------------------------------------
  EMsgBoxResult MessageAnswer = kOK;
  FileDialogResult FileAnswer;
  bool InternetConnected = true;
  std::vector<std::string> Messages;
  std::vector<std::string> OpenedLinks;
  std::vector<std::string> FileRequests;  // extensions asked for
  int RedrawRequests = 0;
  bool CursorHidden = false;

  EMsgBoxResult ShowMessage(std::string_view text, std::string_view caption, EMsgBoxType buttons) override;
  FileDialogResult AskForFile(std::string_view initialName, std::string_view initialFolder, EFileAction action,
                              std::string_view extension) override;
  bool OpenLink(std::string_view address) override;
  void OnScaleChanged(int widthPixels, int heightPixels) override;
  void RequestRedraw() override { ++RedrawRequests; }
  void HideCursor(bool hide) override { CursorHidden = hide; }

 private:
  void MakeSurface(int width, int height);

  IGraphics& mGraphics;
  cairo_surface_t* mSurface = nullptr;
  double mNow = 0.0;
};

}  // namespace igraphics
