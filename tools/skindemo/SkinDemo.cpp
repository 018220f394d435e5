#include "SkinDemo.h"

#include "SkinGenerator.h"
#include "platform/Menu.h"
#include "skSkinBevel.h"
#include "skSkinEdit.h"
#include "skSkinHeader.h"
#include "skSkinLabels.h"
#include "skSkinMemo.h"
#include "skSkinScrollBar.h"
#include "skSkinSplitter.h"
#include "skSkinTabs.h"
#include "skSkinUpDown.h"

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

  AddControls();

  trayMenu.Items.Add("&Close", [this](platform::MenuItem&) { form.Close(); });
  tray.SetHint(kCaption);
  tray.SetShowHint(true);
  tray.SetPopupMenu(&trayMenu);
  tray.SetIconVisible(true);
}

void SkinDemo::AddControls() {
  using namespace skin;
  // Creates a control of kind T at (x, y, w, h) in the skin; w or h 0 keeps
  // the size the control (or its record) chooses.
  auto add = [this]<class T>(int x, int y, int w, int h) -> T& {
    auto control = std::make_unique<T>(form);
    T& c = *control;
    c.SetSkinData(&data);
    c.SetBounds(x, y, w ? w : c.Width(), h ? h : c.Height());
    controls.push_back(std::move(control));
    return c;
  };
  const int top = menuBar.Height() + 12;

  add.operator()<TskSkinStdLabel>(12, top + 3, 110, 18).SetCaption("运单号 (Waybill):");
  add.operator()<TskSkinCustomEdit>(124, top, 170, 22).SetText("TW-2026-0001");
  add.operator()<TskSkinUpDown>(300, top, 0, 22);
  add.operator()<TskSkinLinkLabel>(340, top + 3, 200, 18).SetCaption("track.tarnwick.example");

  auto& tabs = add.operator()<TskSkinTabControl>(12, top + 34, 260, 130);
  tabs.SetTabs({"在途 (En route)", "已签收 (Signed)", "异常 (Problems)"});
  auto& splitter = add.operator()<TskSkinSplitter>(276, top + 34, 0, 130);
  splitter.Control = &tabs;
  auto& memo = add.operator()<TskSkinMemo>(288, top + 34, 252, 130);
  memo.SetLines({"上海 → 北京  12 t", "广州 → 成都   8 t", "Hamburg → Wien 20 t"});

  auto& header = add.operator()<TskSkinHeaderControl>(12, top + 176, 260, 0);
  header.SetSections({{"车辆 (Vehicle)", 110}, {"司机 (Driver)", 90}, {"状态", 60}});
  add.operator()<TskSkinScrollBar>(12, top + 206, 260, 0).SetRange(0, 100);
  auto& pages = add.operator()<TskSkinPageControl>(288, top + 176, 252, 100);
  pages.AddPage("概要 (Summary)");
  pages.AddPage("明细 (Details)");

  add.operator()<TskSkinBevel>(12, top + 286, 528, 2).SetShape(TBevelShape::bsTopLine);
  add.operator()<TskSkinButtonLabel>(12, top + 296, 120, 22).SetCaption("打印 (Print)");
  add.operator()<TskSkinTextLabel>(150, top + 296, 390, 40)
      .SetLines({"右键单击显示菜单。", "Right-click for the menu; the caption buttons have hints."});
}

}  // namespace skindemo
