#include "tests/window/X11Windows.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <iterator>
#include <thread>

namespace kr7::test {

X11Display::X11Display() {
  // Xvfb resets itself when its last client leaves (the previous test's
  // editor), and refuses connections for a moment while it does.
  if (!std::getenv("DISPLAY")) return;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!(mDisplay = XOpenDisplay(nullptr)) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

X11Display::~X11Display() {
  if (mDisplay) XCloseDisplay(mDisplay);
}

std::string X11Display::TitleOf(Window window) {
  const Atom netName = XInternAtom(mDisplay, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(mDisplay, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(mDisplay, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data) {
    title.assign(reinterpret_cast<char*>(data), count);
    XFree(data);
    return title;
  }
  char* name = nullptr;
  if (XFetchName(mDisplay, window, &name) && name) {
    title = name;
    XFree(name);
  }
  return title;
}

void X11Display::Collect(Window parent, const std::string& title, std::vector<Window>& found) {
  Window root = 0, parentOut = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(mDisplay, parent, &root, &parentOut, &children, &count)) return;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(mDisplay, children[i], &attributes) &&
        attributes.map_state == IsViewable && TitleOf(children[i]) == title)
      found.push_back(children[i]);
  }
  if (children) XFree(children);
}

std::vector<Window> X11Display::FindByTitle(const std::string& title) {
  std::vector<Window> found;
  if (mDisplay) Collect(DefaultRootWindow(mDisplay), title, found);
  return found;
}

Window X11Display::WaitForTitle(const std::string& title, std::chrono::milliseconds timeout,
                                 std::size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    std::vector<Window> found = FindByTitle(title);
    if (found.size() >= count) return found.back();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

bool X11Display::RequestClose(Window window) {
  if (!mDisplay) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(mDisplay, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(mDisplay, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const bool sent = XSendEvent(mDisplay, window, False, NoEventMask, &event) != 0;
  XFlush(mDisplay);
  return sent;
}

bool X11Display::Attributes(Window window, XWindowAttributes& attributes) {
  return mDisplay && XGetWindowAttributes(mDisplay, window, &attributes);
}

bool X11Display::MovePointer(Window window, int x, int y) {
  if (!mDisplay) return false;
  int rootX = 0, rootY = 0;
  Window child = 0;
  if (!XTranslateCoordinates(mDisplay, window, DefaultRootWindow(mDisplay), x, y, &rootX, &rootY, &child))
    return false;
  const bool moved = XTestFakeMotionEvent(mDisplay, DefaultScreen(mDisplay), rootX, rootY, CurrentTime) != 0;
  XFlush(mDisplay);
  return moved;
}

bool X11Display::LeftButton(bool press) {
  if (!mDisplay) return false;
  const bool sent = XTestFakeButtonEvent(mDisplay, 1, press ? True : False, CurrentTime) != 0;
  XFlush(mDisplay);
  return sent;
}

bool X11Display::TypeChord(Window window, std::initializer_list<KeySym> chord) {
  if (!mDisplay) return false;
  XSetInputFocus(mDisplay, window, RevertToPointerRoot, CurrentTime);
  bool sent = true;
  for (KeySym key : chord) sent &= XTestFakeKeyEvent(mDisplay, XKeysymToKeycode(mDisplay, key), True, 0) != 0;
  for (auto k = std::rbegin(chord); k != std::rend(chord); ++k)
    sent &= XTestFakeKeyEvent(mDisplay, XKeysymToKeycode(mDisplay, *k), False, 0) != 0;
  return XFlush(mDisplay) && sent;
}

unsigned long X11Display::PixelAt(Window window, int x, int y) {
  XImage* image = mDisplay ? XGetImage(mDisplay, window, x, y, 1, 1, AllPlanes, ZPixmap) : nullptr;
  const unsigned long pixel = image ? XGetPixel(image, 0, 0) & 0xFFFFFF : 0;
  if (image) XDestroyImage(image);
  return pixel;
}

}  // namespace kr7::test
