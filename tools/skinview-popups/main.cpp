// skinview-popups [SKIN] OUTPUT.png: shows what the skinned popups look like.
// SKIN is a skin definition (SKIN.INI); without one the project's sample skin is
// generated into a temporary folder. The picture holds two scenes side by side,
// skinned and plain: a menu open with its submenu, and a hint below them.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <chrono>
#include <string>

#include "PngFile.h"
#include "SkinGenerator.h"
#include "platform/Application.h"
#include "platform/BmpFile.h"
#include "platform/Input.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skSkinHint.h"
#include "skSkinMenus.h"

namespace {

namespace headless = platform::headless;
using platform::Bitmap;
using platform::Rect;

constexpr int kSceneWidth = 420, kSceneHeight = 300;
constexpr int kMenuX = 10, kMenuY = 10;
constexpr int kChecker = 8;
constexpr platform::Colour kCheckerLight = platform::Rgb(204, 204, 204), kCheckerDark = platform::Rgb(153, 153, 153);

void BuildMenu(platform::Menu& menu) {
  platform::MenuItem& items = menu.Items;
  items.Add("&Open...").ShortCut = "Ctrl+O";
  items.Add("&Save").Checked = true;
  platform::MenuItem& recent = items.Add("&Recent files");
  recent.Add("物流报表.xls");
  recent.Add("&Second file");
  recent.Add("-");
  platform::MenuItem& radio = recent.Add("&Radio choice");
  radio.RadioItem = true;
  radio.Checked = true;
  items.Add("-");
  items.Add("&Print").Enabled = false;
  items.Add("&Restore").Name = skin::SKF_RESTORE;
  items.Add("Mi&nimize").Name = skin::SKF_MINITEM;
  items.Add("&Close").Name = skin::SKF_CLOSE;
}

// Opens the menu at the scene's corner, then its submenu with the keyboard.
void OpenScene(skin::TskSkinMenu& controller, skin::TskSkinData* data, platform::Menu& menu, int sceneX) {
  controller.ShowMenu(nullptr, data, 0, {sceneX + kMenuX, kMenuY, sceneX + kMenuX, kMenuY}, menu.Items, false);
  skin::TskSkinPopupWindow& level = *controller.Levels.front();
  level.HandleKey(platform::vk::kDown);
  level.HandleKey(platform::vk::kDown);
  level.HandleKey(platform::vk::kRight);
}

// Every visible window's last picture, inside its shape, over a checkerboard.
Bitmap Compose(int width, int height) {
  Bitmap out(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      out.SetPixel(x, y, ((x / kChecker + y / kChecker) % 2) ? kCheckerDark : kCheckerLight);
  for (platform::Window* w : headless::VisibleWindows()) {
    if (w->Kind() != platform::WindowKind::Popup) continue;
    const Rect b = w->BoundsRect();
    const Bitmap& image = headless::WindowImage(*w);
    const auto& region = w->WindowRegion();
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if (!region || region->Contains(x, y)) out.SetPixel(b.left + x, b.top + y, image.Pixel(x, y));
  }
  return out;
}

int Run(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: skinview-popups [SKIN.INI] OUTPUT.png\n");
    return 2;
  }
  const std::string output = argv[argc - 1];
  std::string definition;
  std::filesystem::path temp;
  if (argc == 3) {
    definition = argv[1];
  } else {
    temp = std::filesystem::temp_directory_path() / ("skinview-popups-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    definition = skingen::GenerateSkinFolder((temp / "skin").string());
  }
  headless::SetEcho(false);
  headless::UseVirtualClock(true);
  headless::SetDesktopSize(2 * kSceneWidth, kSceneHeight);

  platform::Application app;
  platform::Window form;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(definition);
  skin::TskSkinData data;
  data.LoadFromStoredSkin(stored);
  if (!temp.empty()) std::filesystem::remove_all(temp);
  if (data.Empty) throw platform::Exception("\"" + definition + "\" holds no usable skin");

  platform::Menu menu;
  BuildMenu(menu);
  skin::TskSkinMenu skinned(&form), plain(&form);
  OpenScene(skinned, &data, menu, 0);
  OpenScene(plain, nullptr, menu, kSceneWidth);

  // Hints under the menus: one in the skin, one plain.
  skin::TskSkinHint hint(&form);
  skin::TskSkinHintWindow skinnedHint, plainHint;
  hint.SetSkinData(&data);
  skinnedHint.ActivateHint({kMenuX, kSceneHeight - 50, 0, 0}, "提示: a skinned hint");
  hint.SetSkinData(nullptr);
  plainHint.ActivateHint({kSceneWidth + kMenuX, kSceneHeight - 50, 0, 0}, "A plain hint");

  const auto png = skinview::EncodePng(Compose(2 * kSceneWidth, kSceneHeight));
  platform::WriteFileBytes(output, png);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skinview-popups: %s\n", e.what());
    return 1;
  }
}
