#include "SkinDemo.h"

#include "SkinGenerator.h"
#include "platform/Menu.h"
#include "skSkinBevel.h"
#include "skSkinControlBar.h"
#include "skSkinEdit.h"
#include "skSkinHeader.h"
#include "skSkinLabels.h"
#include "skSkinMemo.h"
#include "skSkinRichEdit.h"
#include "skSkinScrollBar.h"
#include "skSkinSplitter.h"
#include "skSkinTabs.h"
#include "skSkinUpDown.h"
#include "skSkinViews.h"

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
  // Creates a control of kind T in `parent` at (x, y, w, h) in the skin; w or h
  // 0 keeps the size the control (or its record) chooses.
  auto add = [this]<class T>(platform::Window& parent, int x, int y, int w, int h) -> T& {
    auto control = std::make_unique<T>(parent);
    T& c = *control;
    c.SetSkinData(&data);
    c.SetBounds(x, y, w ? w : c.Width(), h ? h : c.Height());
    controls.push_back(std::move(control));
    return c;
  };
  // Three columns of rows below the menu bar.
  constexpr int kA = 12, kB = 288, kC = 524, kWidthA = 260, kWidthB = 224, kWidthC = 224;
  // The up-down is as wide as its skin allows (its picture's fixed edges).
  constexpr int kUpDownWidth = 60;
  const int row0 = menuBar.Height() + 12, row1 = row0 + 34, row2 = row1 + 132, row3 = row2 + 112, row4 = row3 + 112;

  add.operator()<TskSkinStdLabel>(form, kA, row0 + 3, 110, 18).SetCaption("运单号 (Waybill):");
  auto& waybill = add.operator()<TskSkinCustomEdit>(form, kA + 112, row0, 170, 22);
  waybill.SetText("TW-2026-0001");
  waybill.Hint = "运单号：12 位 (the 12-character waybill number)";
  add.operator()<TskSkinUpDown>(form, kA + 284, row0, kUpDownWidth, 22);
  auto& link = add.operator()<TskSkinLinkLabel>(form, kB + 74, row0 + 3, 176, 18);
  link.SetCaption("track.tarnwick.example");
  link.Hint = "Open the tracking page";

  auto& tabs = add.operator()<TskSkinTabControl>(form, kA, row1, kWidthA, 120);
  tabs.SetTabs({"在途 (Route)", "签收 (Signed)", "异常 (Issues)"});
  auto& splitter = add.operator()<TskSkinSplitter>(form, kA + kWidthA + 4, row1, 0, 120);
  splitter.Control = &tabs;
  add.operator()<TskSkinMemo>(form, kB, row1, kWidthB, 120)
      .SetLines({"上海 → 北京  12 t", "广州 → 成都   8 t", "Hamburg → Wien 20 t"});
  add.operator()<TskSkinRichEdit>(form, kC, row1, kWidthC, 120)
      .SetLines({"签收备注 (Delivery notes)", "Pallet 3 of 5 damaged.", "Photo taken at the dock."});

  add.operator()<TskSkinHeaderControl>(form, kA, row2, kWidthA, 0)
      .SetSections({{"车辆 (Vehicle)", 110}, {"司机 (Driver)", 90}, {"状态", 60}});
  add.operator()<TskSkinScrollBar>(form, kA, row2 + 30, kWidthA, 0).SetRange(0, 100);
  auto& pages = add.operator()<TskSkinPageControl>(form, kB, row2, kWidthB, 100);
  pages.AddPage("概要 (Summary)");
  pages.AddPage("明细 (Details)");
  add.operator()<TskSkinMemo2>(form, kC, row2, kWidthC, 100)
      .SetLines({"2026-12-10 08:02  loaded", "2026-12-10 09:40  departed", "2026-12-10 15:15  arrived"});

  auto& tree = add.operator()<TskSkinCustomTreeView>(form, kA, row3, kWidthA, 100);
  TskTreeNode& depots = tree.AddChild(nullptr, "仓库 (Depots)");
  tree.AddChild(&depots, "上海");
  tree.AddChild(&depots, "Hamburg");
  tree.SetExpanded(depots, true);
  auto& list = add.operator()<TskSkinCustomListView>(form, kB, row3, kWidthB, 100);
  list.Columns = {{"单号", 90}, {"目的地 (To)", 120}};
  list.AddItem({"TW-0001", "北京"});
  list.AddItem({"TW-0002", "Wien"});
  auto& toolbar = add.operator()<TskSkinControlBar>(form, kC, row3, kWidthC, 60);
  auto& refresh = add.operator()<TskSkinButtonLabel>(toolbar, 0, 0, 90, 22);
  refresh.SetCaption("刷新 (Refresh)");
  refresh.Hint = "刷新 (Refresh the list)";
  toolbar.AlignControls();

  add.operator()<TskSkinBevel>(form, kA, row4, kC + kWidthC - kA, 2).SetShape(TBevelShape::bsTopLine);
  add.operator()<TskSkinButtonLabel>(form, kA, row4 + 10, 120, 22).SetCaption("打印 (Print)");
  add.operator()<TskSkinTextLabel>(form, kA + 140, row4 + 10, 560, 40)
      .SetLines({"右键单击显示菜单。", "Right-click for the menu; the caption buttons have hints."});
}

}  // namespace skindemo
