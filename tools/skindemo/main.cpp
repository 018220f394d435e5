// skindemo: the sample skin at work, for a person to look at.
//   skindemo                 opens the window: right-click its client area for a
//                            skinned popup menu, rest on a caption button for its
//                            hint; the notification-area icon has a menu too
//   skindemo --render DIR    draws the window alone, with its popup menu and
//                            submenu open, with the menu bar's first menu open,
//                            and with a hint: DIR/frame.png, menu.png, menubar.png, hint.png
//   skindemo --screenshot DIR   the same scenes photographed from the real screen
//                            (the Windows build; under Wine, tools/screenshots)
// Without a screen (the headless build) only --render shows anything.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "PngFile.h"
#include "SkinDemo.h"
#include "platform/Application.h"
#include "platform/BmpFile.h"
#include "platform/Input.h"
#include "platform/Screen.h"
#include "ScenePicture.h"

namespace {

namespace fs = std::filesystem;
using platform::Bitmap;
using platform::Point;
using platform::Rect;

// Where the pictures put the window, with room for the menus beside it; on the
// screen, clear of the top-left corner, where a desktop without a shell (Wine's)
// shows the tray icons in a window of its own.
constexpr Point kPictureOrigin{40, 40};
constexpr Point kScreenOrigin{240, 120};
constexpr int kPictureMargin = 16;
constexpr Point kMenuClientPoint{40, 30};
constexpr platform::Colour kBackdrop = platform::Rgb(255, 255, 255);
// How long the screen is given to show a change before it is photographed, in
// steps of letting the messages run.
constexpr std::chrono::milliseconds kSettleTime{400}, kSettleStep{20};

using skindemo::SkinDemo;

// The window and the given popups as the core paints them, on a white backdrop.
Bitmap Picture(SkinDemo& demo, const std::vector<platform::Window*>& popups) {
  const Rect extent = skindemo::SceneBounds(demo.skinForm, popups);
  Bitmap out(extent.Width() + 2 * kPictureMargin, extent.Height() + 2 * kPictureMargin);
  out.FillRect(out.BoundsRect(), kBackdrop);
  skindemo::DrawScene(out, {extent.left - kPictureMargin, extent.top - kPictureMargin}, demo.skinForm, popups);
  return out;
}

// Lets the windows paint and the screen catch up with them.
void Settle() {
  using namespace std::chrono;
  const auto until = steady_clock::now() + kSettleTime;
  while (steady_clock::now() < until) {
    platform::Application::ProcessMessages();
    std::this_thread::sleep_for(kSettleStep);
  }
}

// The same part of the real screen, read back as a screenshot takes it.
Bitmap Screenshot(SkinDemo& demo, const std::vector<platform::Window*>& popups) {
  Settle();
  const Rect extent = skindemo::SceneBounds(demo.skinForm, popups);
  return platform::CaptureScreen({extent.left - kPictureMargin, extent.top - kPictureMargin,
                                  extent.right + kPictureMargin, extent.bottom + kPictureMargin});
}

void Save(const fs::path& file, const Bitmap& picture) {
  platform::WriteFileBytes(file.string(), skinview::EncodePng(picture));
  std::printf("%s: %d x %d\n", file.string().c_str(), picture.Width(), picture.Height());
}

using Photographer = Bitmap (*)(SkinDemo&, const std::vector<platform::Window*>&);

// The window alone, with its popup menu and submenu open, with the bar's first
// menu open and with a hint, each taken by `picture`.
void Render(SkinDemo& demo, const fs::path& dir, Photographer picture, Point origin) {
  fs::create_directories(dir);
  demo.form.SetPosition(origin.x, origin.y);
  demo.form.Show();
  demo.form.Perform(skin::msg::kActivate, 1, 0);
  Save(dir / "frame.png", picture(demo, {}));

  // The menu with its submenu, opened from the keyboard as a user would.
  const Point at = demo.form.ClientToScreen(kMenuClientPoint);
  demo.menu.Popup(at.x, at.y);
  skin::TskSkinMenu& controller = demo.skinForm.SkinMenu();
  if (controller.Levels.empty()) throw platform::Exception("the popup menu did not open");
  controller.Levels.front()->HandleKey(platform::vk::kDown);  // from the first item to "Views"
  controller.Levels.front()->HandleKey(platform::vk::kRight);
  std::vector<platform::Window*> levels;
  for (auto& level : controller.Levels) levels.push_back(level.get());
  if (levels.size() != 2) throw platform::Exception("the submenu did not open");
  Save(dir / "menu.png", picture(demo, levels));
  controller.CloseAllMenus();

  // The main menu bar with its first item's menu open, as a press opens it.
  if (demo.menuBar.ItemCount() == 0) throw platform::Exception("the menu bar has no items");
  const Rect item = demo.menuBar.Item(0)->ObjectRect;
  demo.menuBar.Perform(platform::msg::kLButtonDown, 0, platform::PointToParam({item.left + 3, item.top + 3}));
  if (controller.Levels.empty()) throw platform::Exception("the menu bar's item did not open its menu");
  levels.clear();
  for (auto& level : controller.Levels) levels.push_back(level.get());
  Save(dir / "menubar.png", picture(demo, levels));
  demo.menuBar.Perform(platform::msg::kLButtonUp, 0, platform::PointToParam({item.left + 3, item.top + 3}));
  controller.CloseAllMenus();

  // The close button's hint, where the hint would show below the cursor.
  for (const auto& object : demo.skinForm.ObjectList) {
    if (object->IDName != "closebutton") continue;
    const Rect r = object->ObjectRect;
    const Rect bounds = demo.form.BoundsRect();
    skin::TskSkinHintWindow tip;
    tip.ActivateHint({bounds.left + r.left, bounds.top + r.bottom + 4, 0, 0}, "关闭 (Close)");
    Save(dir / "hint.png", picture(demo, {&tip}));
  }
}

int Run(int argc, char** argv) {
  std::string pictureDir;
  Photographer photographer = nullptr;
  if (argc == 3 && std::string(argv[1]) == "--render") {
    photographer = Picture;
  } else if (argc == 3 && std::string(argv[1]) == "--screenshot") {
    photographer = Screenshot;
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: skindemo [--render DIR | --screenshot DIR]\n");
    return 2;
  }
  if (photographer) pictureDir = argv[2];
  const fs::path skinFolder =
      fs::temp_directory_path() /
      ("skindemo-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  struct RemoveAfter {
    fs::path path;
    ~RemoveAfter() {
      std::error_code ignored;
      fs::remove_all(path, ignored);
    }
  } cleanup{skinFolder};

  platform::Application app;
  app.SetTitle("skindemo");
  SkinDemo demo((skinFolder / "skin").string());
  if (photographer) {
    Render(demo, pictureDir, photographer, photographer == Screenshot ? kScreenOrigin : kPictureOrigin);
    return 0;
  }
  app.Run();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skindemo: %s\n", e.what());
    return 1;
  }
}
