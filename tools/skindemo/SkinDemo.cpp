#include "SkinDemo.h"

#include "SkinGenerator.h"
#include "platform/Menu.h"

namespace skindemo {

namespace {

void BuildMainMenu(platform::Menu& menu, platform::Window& form) {
  platform::MenuItem& file = menu.Items.Add("&File");
  file.Add("&Open waybill...").ShortCut = "Ctrl+O";
  file.Add("&Print").Enabled = false;
  file.Add("-");
  file.Add("E&xit", [&form](platform::MenuItem&) { form.Close(); });
  platform::MenuItem& view = menu.Items.Add("&View");
  view.Add("&Toolbar").Checked = true;
  platform::MenuItem& sort = view.Add("&Sort by");
  sort.Add("&Date");
  sort.Add("&Destination");
  menu.Items.Add("&Help").Add("&About");
}

void BuildMenu(platform::Menu& menu, platform::Window& form) {
  platform::MenuItem& items = menu.Items;
  items.Add("&New consignment").ShortCut = "Ctrl+N";
  platform::MenuItem& views = items.Add("&Views");
  views.Add("运单列表");
  views.Add("&Vehicles").Checked = true;
  views.Add("-");
  views.Add("&Drivers").Enabled = false;
  items.Add("-");
  items.Add("&Close", [&form](platform::MenuItem&) { form.Close(); });
}

}  // namespace

SkinDemo::SkinDemo(const std::string& skinFolder) {
  stored.LoadFromSkinFile(skingen::GenerateSkinFolder(skinFolder));
  form.SetCaption(kCaption);
  form.SetBorderStyle(platform::BorderStyle::Sizeable);
  form.SetClientSize(kClientWidth, kClientHeight);
  form.CenterOnDesktop();
  data.LoadFromStoredSkin(stored);
  skinForm.SetSkinData(&data);
  hint.SetSkinData(&data);
  skinForm.SetSkinHint(&hint);
  skinForm.ShowObjectHint = true;
  BuildMainMenu(mainMenu, form);
  mainMenu.SetSkinData(&data);
  menuBar.SetSkinData(&data);
  menuBar.SetSkinForm(&skinForm);
  skinForm.SetMainMenuBar(&menuBar);
  menuBar.SetMainMenu(&mainMenu);
  BuildMenu(menu, form);
  // The menu opens where the right button comes up, as a context menu does.
  form.AddMessageHook([this](platform::Window&, platform::Message& m) {
    if (m.msg == platform::msg::kRButtonUp) {
      const platform::Point p = form.ClientToScreen(platform::ParamToPoint(m.lParam));
      menu.Popup(p.x, p.y);
    }
    return false;
  });

  trayMenu.Items.Add("&Close", [this](platform::MenuItem&) { form.Close(); });
  tray.SetHint(kCaption);
  tray.SetShowHint(true);
  tray.SetPopupMenu(&trayMenu);
  tray.SetIconVisible(true);
}

}  // namespace skindemo
