#pragma once
// Finding the editor's windows on an X display and closing them the way a
// window manager would (WM_DELETE_WINDOW), and moving the pointer the way a
// user would (XTest), for tests under Xvfb.

#include <X11/Xlib.h>

#include <chrono>
#include <initializer_list>
#include <string>
#include <vector>

namespace kr7::test {

class X11Display {
 public:
  X11Display();
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  bool IsOpen() const { return mDisplay != nullptr; }
  // Mapped top-level windows whose title is exactly title.
  std::vector<Window> FindByTitle(const std::string& title);
  // Waits until at least count such windows are mapped and gives the one on
  // top (the newest); 0 on timeout.
  Window WaitForTitle(const std::string& title, std::chrono::milliseconds timeout, std::size_t count = 1);
  bool RequestClose(Window window);
  bool Attributes(Window window, XWindowAttributes& attributes);

  // The pointer as a user moves it (XTest): to window-relative pixel (x, y),
  // and the left button pressed or released where it is.
  bool MovePointer(Window window, int x, int y);
  bool LeftButton(bool press);
  // The keyboard as a user types (XTest) into window, which gets the input
  // focus first: the keys of a chord pressed in order, released in reverse.
  bool TypeChord(Window window, std::initializer_list<KeySym> chord);
  // The colour shown at window-relative pixel (x, y) as 0xRRGGBB.
  unsigned long PixelAt(Window window, int x, int y);

 private:
  std::string TitleOf(Window window);
  void Collect(Window parent, const std::string& title, std::vector<Window>& found);

  Display* mDisplay = nullptr;
};

}  // namespace kr7::test
