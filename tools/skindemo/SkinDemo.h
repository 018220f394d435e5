// The skin demo's window: a sizable form in the generated sample skin with a
// skinned main menu bar, one control of each skinned kind, a popup menu on the
// right button, hints on the caption buttons and on some controls, and an icon
// in the notification area. The demo program shows it; tests drive it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"
#include "skControl.h"
#include "skMainMenuBar.h"
#include "skSkinData.h"
#include "skSkinForm.h"
#include "skSkinHint.h"
#include "skSkinMenus.h"
#include "skTrayIcon.h"

namespace skindemo {

inline constexpr char kCaption[] = "Tarnwick 皮肤演示";
inline constexpr int kClientWidth = 760, kClientHeight = 490;

class SkinDemo {
 public:
  // Generates the sample skin into `skinFolder` and builds the window (hidden).
  explicit SkinDemo(const std::string& skinFolder);

  skin::TskStoredSkin stored;
  platform::Window form;
  skin::TskSkinData data{&form};
  skin::TskSkinForm skinForm{form};
  skin::TskSkinHint hint{&form};
  skin::TskSkinMainMenu mainMenu;
  skin::TskSkinMainMenuBar menuBar{form};
  skin::TskSkinPopupMenu menu{&form};
  skin::TskSkinPopupMenu trayMenu{&form};
  skin::TskTrayIcon tray{&form};
  // One of each skinned control kind, in the client area below the bar.
  std::vector<std::unique_ptr<skin::TskControl>> controls;

 private:
  void AddControls();
};

}  // namespace skindemo
