// screencapture OUTPUT.png: waits for a window of any program to come to the
// front, lets it paint, and writes what the screen shows of it, with a margin,
// to OUTPUT.png. It photographs windows that have no screenshot mode of their
// own, such as the launcher's update window. Needs a screen (the Windows build;
// under Wine, tools/screenshots).
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <thread>

#include "PngFile.h"
#include "platform/BmpFile.h"
#include "platform/Screen.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kPatience = 30s;
constexpr auto kPoll = 100ms;
// A window that just appeared is given this long to draw itself (an animation
// has shown some frames by then).
constexpr auto kPaintTime = 1500ms;
constexpr int kMargin = 8;

int Run(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screencapture OUTPUT.png\n");
    return 2;
  }
  std::optional<platform::Rect> found;
  for (auto waited = 0ms; !(found = platform::ForegroundWindowBounds()); waited += kPoll) {
    if (waited >= kPatience) {
      std::fprintf(stderr, "screencapture: no window came to the front\n");
      return 1;
    }
    std::this_thread::sleep_for(kPoll);
  }
  std::this_thread::sleep_for(kPaintTime);
  if (auto moved = platform::ForegroundWindowBounds()) found = moved;
  const platform::Rect& b = *found;
  const platform::Bitmap picture =
      platform::CaptureScreen({b.left - kMargin, b.top - kMargin, b.right + kMargin, b.bottom + kMargin});
  platform::WriteFileBytes(argv[1], skinview::EncodePng(picture));
  std::printf("%s: %d x %d\n", argv[1], picture.Width(), picture.Height());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "screencapture: %s\n", e.what());
    return 1;
  }
}
