// Times the editor's start to its first drawn frame and reads its resident
// memory afterwards. Run under an X display with a JACK server reachable
// (scripts/bench-startup does both):
//
//   kr7_startup_bench <kr7control> <data-home> <scale> [runs]
//
// The first frame counts as drawn when the pixel at the centre of the window
// is no longer the colour the window had when it was mapped (the pedal
// photograph is drawn over a black panel).

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/window/X11Windows.h"

namespace {

using Clock = std::chrono::steady_clock;

unsigned long CentrePixel(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 0;
  XImage* image = XGetImage(display, window, attributes.width / 2, attributes.height / 2, 1, 1,
                            AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return pixel;
}

long ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <kr7control> <data-home> <scale> [runs]\n", argv[0]);
    return 2;
  }
  const std::string editorPath = argv[1], home = argv[2], scale = argv[3];
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  {
    std::ofstream settings(home + "/KR7Control/settings.ini");
    settings << "[audio]\ndriver=1\n[midi]\nindev=off\noutdev=off\n[gui]\nscale=" << scale << "\n";
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  kr7::test::X11Display finder;
  std::vector<double> times;
  long rss = -1;
  for (int run = 0; run < runs; ++run) {
    kr7::test::ChildProcess editor;
    const auto start = Clock::now();
    if (!editor.Start(editorPath, {}, {{"XDG_DATA_HOME", home}, {"NO_AT_BRIDGE", "1"}})) return 1;
    Window window = 0;
    unsigned long mappedColour = 0;
    double firstFrameMs = -1.0;
    while (Clock::now() - start < std::chrono::seconds(20)) {
      if (!window) {
        const auto found = finder.FindByTitle("KR7Control");
        if (!found.empty()) {
          window = found.front();
          mappedColour = CentrePixel(display, window);
        }
      } else if (CentrePixel(display, window) != mappedColour) {
        firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (firstFrameMs < 0) {
      std::fprintf(stderr, "run %d: no frame within 20 s\n", run);
      return 1;
    }
    times.push_back(firstFrameMs);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    rss = ResidentKiB(editor.Pid());
    if (window) finder.RequestClose(window);
    editor.WaitForExit(std::chrono::seconds(10));
    editor.Stop();
  }
  XCloseDisplay(display);
  std::sort(times.begin(), times.end());
  std::printf("scale %s: first frame median %.0f ms (min %.0f, max %.0f, %d runs); resident %.1f MB\n",
              scale.c_str(), times[times.size() / 2], times.front(), times.back(), runs,
              static_cast<double>(rss) / 1024.0);
  return 0;
}
