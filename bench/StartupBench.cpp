// Times the editor's start to its first drawn frame and reads its resident
// memory afterwards. Run under an X display with a JACK server reachable
// (scripts/bench-startup does both):
//
//   kr7_startup_bench <kr7control> <data-home> <scale> [runs [pedal]]
//
// With "pedal" the editor looks for its pedal (a virtual pedal started
// beforehand) and the memory is read once the presets had time to load.
//
// The first frame counts as drawn when the pixel at the centre of the window
// shows the colour it settles on. An untimed first run learns that colour:
// comparing with the colour seen when the window was found would miss a
// frame drawn before the window was first looked at.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
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

struct Memory {
  long residentKiB = -1;
  // Resident pages of the JACK server's shared segments: mapped by every JACK
  // client, owned by the server.
  long jackSharedKiB = 0;
};

Memory ResidentMemory(pid_t pid) {
  Memory memory;
  std::ifstream maps("/proc/" + std::to_string(pid) + "/smaps");
  std::string line;
  bool jackMapping = false;
  long total = 0;
  while (std::getline(maps, line)) {
    const std::string first = line.substr(0, line.find(' '));
    const bool header = first.find('-') != std::string::npos &&
                        std::all_of(first.begin(), first.end(), [](char c) {
                          return c == '-' || std::isxdigit(static_cast<unsigned char>(c));
                        });
    if (header) {
      jackMapping = line.find("/dev/shm/jack") != std::string::npos;
    } else if (line.rfind("Rss:", 0) == 0) {
      const long kib = std::stol(line.substr(4));
      total += kib;
      if (jackMapping) memory.jackSharedKiB += kib;
    }
  }
  memory.residentKiB = total;
  return memory;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <kr7control> <data-home> <scale> [runs [pedal]]\n", argv[0]);
    return 2;
  }
  const std::string editorPath = argv[1], home = argv[2], scale = argv[3];
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  const bool pedal = argc > 5 && std::string(argv[5]) == "pedal";
  {
    std::ofstream settings(home + "/KR7Control/settings.ini");
    settings << "[audio]\ndriver=1\n" << (pedal ? "" : "[midi]\nindev=off\noutdev=off\n")
             << "[gui]\nscale=" << scale << "\n";
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "no X display\n");
    return 2;
  }
  kr7::test::X11Display finder;
  std::vector<double> times;
  Memory memory;
  std::optional<unsigned long> settledColour;
  for (int run = -1; run < runs; ++run) {
    kr7::test::ChildProcess editor;
    const auto start = Clock::now();
    if (!editor.Start(editorPath, {}, {{"XDG_DATA_HOME", home}, {"NO_AT_BRIDGE", "1"}},
                      "/dev/null"))
      return 1;
    Window window = 0;
    double firstFrameMs = -1.0;
    while (Clock::now() - start < std::chrono::seconds(20)) {
      if (!window) {
        const auto found = finder.FindByTitle("KR7Control");
        if (!found.empty()) window = found.front();
      }
      if (window && (!settledColour || CentrePixel(display, window) == *settledColour)) {
        firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (firstFrameMs < 0) {
      std::fprintf(stderr, "run %d: no frame within 20 s\n", run);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(pedal ? 12 : 2));
    if (settledColour) {
      times.push_back(firstFrameMs);
    } else {
      settledColour = CentrePixel(display, window);
    }
    memory = ResidentMemory(editor.Pid());
    if (window) finder.RequestClose(window);
    editor.WaitForExit(std::chrono::seconds(10));
    editor.Stop();
  }
  XCloseDisplay(display);
  std::sort(times.begin(), times.end());
  std::printf(
      "scale %s: first frame median %.0f ms (min %.0f, max %.0f, %d runs); resident %.1f MB "
      "of its own, %.1f MB JACK's shared segments\n",
      scale.c_str(), times[times.size() / 2], times.front(), times.back(), runs,
      static_cast<double>(memory.residentKiB - memory.jackSharedKiB) / 1024.0,
      static_cast<double>(memory.jackSharedKiB) / 1024.0);
  return 0;
}
