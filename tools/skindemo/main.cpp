// skindemo: the sample skin at work, for a person to look at.
//   skindemo                 opens the window: right-click its client area for a
//                            skinned popup menu, rest on a caption button for its
//                            hint; the notification-area icon has a menu too
//   skindemo --render DIR    draws the window alone, with its popup menu and
//                            submenu open, with the menu bar's first menu open,
//                            and with a hint: DIR/frame.png, menu.png, menubar.png, hint.png
// Without a screen (the headless build) only --render shows anything.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "PngFile.h"
#include "SkinDemo.h"
#include "platform/Application.h"
#include "platform/BmpFile.h"
#include "platform/Input.h"
#include "skFrameMessages.h"

namespace {

namespace fs = std::filesystem;
using platform::Bitmap;
using platform::Point;
using platform::Rect;

// Where the pictures put the window, with room for the menus beside it.
constexpr Point kPictureOrigin{16, 16};
constexpr int kPictureMargin = 16;
constexpr Point kMenuClientPoint{40, 30};
constexpr platform::Colour kBackdrop = platform::Rgb(255, 255, 255);

using skindemo::SkinDemo;

// What a popup or child window paints, inside its shape, with its top-left
// corner at `at` of `out`.
void DrawPainted(Bitmap& out, platform::Window& window, Point at) {
  const Rect b = window.BoundsRect();
  Bitmap image(b.Width(), b.Height());
  window.Perform(platform::msg::kPaint, 0, reinterpret_cast<std::intptr_t>(&image));
  const auto& region = window.WindowRegion();
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (!region || region->Contains(x, y)) out.SetPixel(at.x + x, at.y + y, image.Pixel(x, y));
}

// A window's children, and theirs, with its client area's top-left corner at `origin`.
void DrawChildren(Bitmap& out, platform::Window& parent, Point origin) {
  for (platform::Window* child : parent.Children()) {
    const Rect c = child->BoundsRect();
    const Point at{origin.x + c.left, origin.y + c.top};
    DrawPainted(out, *child, at);
    DrawChildren(out, *child, at);
  }
}

// The window as the screen shows it (frame and client background inside the
// window's region), and the given popups over it, on a white backdrop.
Bitmap Picture(SkinDemo& demo, const std::vector<platform::Window*>& popups) {
  const Rect bounds = demo.form.BoundsRect();
  Rect extent = bounds;
  for (platform::Window* p : popups) {
    const Rect r = p->BoundsRect();
    extent = {std::min(extent.left, r.left), std::min(extent.top, r.top), std::max(extent.right, r.right),
              std::max(extent.bottom, r.bottom)};
  }
  Bitmap out(extent.right + kPictureMargin, extent.bottom + kPictureMargin);
  out.FillRect(out.BoundsRect(), kBackdrop);

  Bitmap window = demo.skinForm.FrameImage();
  const Rect client = demo.skinForm.Layout().NewClientRect;
  Bitmap background(client.Width(), client.Height());
  demo.form.Perform(skin::WM_ERASEBKGND, 0, reinterpret_cast<std::intptr_t>(&background));
  window.CopyRect(client.left, client.top, background, background.BoundsRect());
  const auto& region = demo.skinForm.WindowRegion();
  for (int y = 0; y < window.Height(); ++y)
    for (int x = 0; x < window.Width(); ++x)
      if (!region || region->Contains(x, y)) out.SetPixel(bounds.left + x, bounds.top + y, window.Pixel(x, y));
  // The controls inside the client area (each over its parent), then the popups over everything.
  DrawChildren(out, demo.form, {bounds.left + client.left, bounds.top + client.top});
  for (platform::Window* p : popups) DrawPainted(out, *p, {p->BoundsRect().left, p->BoundsRect().top});
  return out;
}

void Save(const fs::path& file, const Bitmap& picture) {
  platform::WriteFileBytes(file.string(), skinview::EncodePng(picture));
  std::printf("%s: %d x %d\n", file.string().c_str(), picture.Width(), picture.Height());
}

void Render(SkinDemo& demo, const fs::path& dir) {
  fs::create_directories(dir);
  demo.form.SetPosition(kPictureOrigin.x, kPictureOrigin.y);
  demo.form.Show();
  demo.form.Perform(skin::WM_ACTIVATE, 1, 0);
  Save(dir / "frame.png", Picture(demo, {}));

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
  Save(dir / "menu.png", Picture(demo, levels));
  controller.CloseAllMenus();

  // The main menu bar with its first item's menu open, as a press opens it.
  if (demo.menuBar.ItemCount() == 0) throw platform::Exception("the menu bar has no items");
  const Rect item = demo.menuBar.Item(0)->ObjectRect;
  demo.menuBar.Perform(platform::msg::kLButtonDown, 0, platform::PointToParam({item.left + 3, item.top + 3}));
  if (controller.Levels.empty()) throw platform::Exception("the menu bar's item did not open its menu");
  levels.clear();
  for (auto& level : controller.Levels) levels.push_back(level.get());
  Save(dir / "menubar.png", Picture(demo, levels));
  demo.menuBar.Perform(platform::msg::kLButtonUp, 0, platform::PointToParam({item.left + 3, item.top + 3}));
  controller.CloseAllMenus();

  // The close button's hint, where the hint would show below the cursor.
  for (const auto& object : demo.skinForm.ObjectList) {
    if (object->IDName != "closebutton") continue;
    const Rect r = object->ObjectRect;
    const Rect bounds = demo.form.BoundsRect();
    skin::TskSkinHintWindow tip;
    tip.ActivateHint({bounds.left + r.left, bounds.top + r.bottom + 4, 0, 0}, "关闭 (Close)");
    Save(dir / "hint.png", Picture(demo, {&tip}));
  }
}

int Run(int argc, char** argv) {
  std::string renderDir;
  if (argc == 3 && std::string(argv[1]) == "--render") {
    renderDir = argv[2];
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: skindemo [--render DIR]\n");
    return 2;
  }
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
  if (!renderDir.empty()) {
    Render(demo, renderDir);
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
