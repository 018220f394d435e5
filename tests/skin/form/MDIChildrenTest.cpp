// MDI children of a skinned frame on the headless backend: maximized children
// shown through the frame's caption and menu bar, minimized strips along the
// bottom of the client area, and the children's items in the window menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameFixture.h"
#include "platform/Input.h"
#include "skMainMenuBar.h"

namespace {

using formtest::FrameFixture;
using platform::FormStyle;
using platform::Point;
using platform::Rect;
using namespace skin;
namespace headless = platform::headless;

class MDIChildrenTest : public FrameFixture {
 protected:
  struct Child {
    std::unique_ptr<platform::Window> form;
    std::unique_ptr<TskSkinForm> skin;
  };

  // A skinned MDI frame of 600 x 450 with a main menu bar whose "&Window" item
  // is the window menu.
  void BuildFrame(bool skinned = true) {
    menu.Items.Add("&File").Add("&Open");
    window = &menu.Items.Add("&Window");
    window->Add("&Cascade");
    form = std::make_unique<platform::Window>(FormStyle::MDIForm, nullptr);
    form->Name = "MainForm";
    form->SetCaption("Frame");
    form->SetBounds({formtest::kOrigin.x, formtest::kOrigin.y, formtest::kOrigin.x + 600, formtest::kOrigin.y + 450});
    form->WindowMenu = window;
    form->Show();
    data = std::make_unique<TskSkinData>(form.get());
    if (skinned) data->LoadFromStoredSkin(stored);
    skinForm = std::make_unique<TskSkinForm>(*form);
    if (skinned) skinForm->SetSkinData(data.get());
    bar = std::make_unique<TskSkinMainMenuBar>(*form);
    if (skinned) bar->SetSkinData(data.get());
    bar->SetSkinForm(skinForm.get());
    skinForm->SetMainMenuBar(bar.get());
    bar->SetMainMenu(&menu);
  }

  // A shown child at (x, y) of 250 x 180 in the frame's client area.
  TskSkinForm& AddChild(const std::string& name, int x = 20, int y = 40) {
    Child c;
    c.form = std::make_unique<platform::Window>(FormStyle::MDIChild, form.get());
    c.form->Name = name;
    c.form->SetCaption(name + " caption");
    c.form->SetBounds({x, y, x + 250, y + 180});
    c.skin = std::make_unique<TskSkinForm>(*c.form);
    c.skin->SetSkinData(data.get());
    c.form->Show();
    children.push_back(std::move(c));
    return *children.back().skin;
  }
  platform::Window& FormOf(std::size_t i) { return *children[i].form; }

  // The window menu's items after its own "&Cascade": names and captions.
  std::vector<std::string> ListNames() const {
    std::vector<std::string> names;
    for (int i = 1; i < window->Count(); ++i) names.push_back((*window)[i].Name);
    return names;
  }
  const platform::MenuItem& ListItem(const std::string& name) const {
    for (int i = 0; i < window->Count(); ++i)
      if ((*window)[i].Name == name) return (*window)[i];
    throw std::runtime_error("no item " + name);
  }
  TskSkinMainMenuBarButton& Button(int i) { return static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[std::size_t(i)]); }

  platform::Menu menu;
  platform::MenuItem* window = nullptr;
  std::unique_ptr<TskSkinMainMenuBar> bar;
  std::vector<Child> children;
};

TEST_F(MDIChildrenTest, ClientAreaIsWhatTheAlignedControlsLeave) {
  BuildFrame();
  const Point client = form->ClientSize();
  EXPECT_EQ(skinForm->MDIClientArea(), (Rect{0, bar->Height(), client.x, client.y}));
  // Controls on the other sides take their share; a hidden one takes none.
  platform::Window left(*form), right(*form), bottom(*form), loose(*form);
  left.Align = platform::ControlAlign::Left;
  left.SetBounds({0, bar->Height(), 30, client.y});
  right.Align = platform::ControlAlign::Right;
  right.SetBounds({client.x - 40, bar->Height(), client.x, client.y});
  bottom.Align = platform::ControlAlign::Bottom;
  bottom.SetBounds({30, client.y - 20, client.x - 40, client.y});
  loose.SetBounds({100, 100, 200, 200});
  TskSkinForm& child = AddChild("Doc1");
  EXPECT_EQ(child.MDIClientArea(), (Rect{30, bar->Height(), client.x - 40, client.y - 20}));
  bottom.Hide();
  EXPECT_EQ(child.MDIClientArea().bottom, client.y);
}

TEST_F(MDIChildrenTest, MaximizedChildShowsThroughTheFrame) {
  BuildFrame();
  TskSkinForm& doc = AddChild("Doc1");
  const Rect normal = FormOf(0).BoundsRect();
  ASSERT_TRUE(doc.FrameDrawn());
  const bool masked = doc.WindowRegion().has_value();
  doc.SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(FormOf(0).BoundsRect(), skinForm->MDIClientArea());
  EXPECT_FALSE(doc.FrameDrawn());
  EXPECT_FALSE(doc.WindowRegion().has_value());
  EXPECT_TRUE(skinForm->ChildMaximized());
  EXPECT_EQ(skinForm->CaptionText(), "Frame - [Doc1 caption]");
  // The bar carries the child's buttons; the child has every icon.
  ASSERT_TRUE(bar->ChildButtonsShown);
  ASSERT_EQ(bar->ChildButtonCount, 4);
  EXPECT_EQ(bar->MaximizedChild, &doc);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Button(i).Enabled) << i;
  // The caption follows the child's renaming; the system menu has no roll-up then.
  FormOf(0).SetCaption("Renamed");
  EXPECT_EQ(skinForm->CaptionText(), "Frame - [Renamed]");
  doc.BuildDefaultSystemMenu();
  doc.SetSystemMenu(nullptr);
  const platform::MenuItem& items = doc.GetSystemMenuItems();
  for (int i = 0; i < items.Count(); ++i) EXPECT_NE(items[i].Name, SKF_ROLLUP);
  EXPECT_EQ(items[items.Count() - 1].ShortCut, "Ctrl+F4");
  // A bigger frame: the maximized child fills the bigger client area.
  const Rect fb = form->BoundsRect();
  form->SetBounds({fb.left, fb.top, fb.right + 50, fb.bottom + 30});
  form->Perform(msg::kSize, 0, 0);
  EXPECT_EQ(FormOf(0).BoundsRect(), skinForm->MDIClientArea());
  // Restored: the frame's own caption and bar come back.
  doc.SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(FormOf(0).BoundsRect(), normal);
  EXPECT_TRUE(doc.FrameDrawn());
  EXPECT_EQ(doc.WindowRegion().has_value(), masked);
  EXPECT_FALSE(skinForm->ChildMaximized());
  EXPECT_EQ(skinForm->CaptionText(), "Frame");
  EXPECT_FALSE(bar->ChildButtonsShown);
  EXPECT_EQ(bar->ChildButtonCount, 0);
}

TEST_F(MDIChildrenTest, ChildsFrameAnswersAtItsPlaceInTheFrame) {
  BuildFrame();
  TskSkinForm& doc = AddChild("Doc1", 30, 50);
  EXPECT_EQ(doc.TrayMenu().Items[2].ShortCut, "Ctrl+F4");
  const Rect b = FormOf(0).BoundsRect();
  std::size_t max = 0;
  while (doc.ObjectList[max]->IDName != "maxbutton") ++max;
  const Point inFrame = Centre(doc.ObjectList[max]->ObjectRect);
  const Point screen = form->ClientToScreen({b.left + inFrame.x, b.top + inFrame.y});
  // The desktop finds the frame there (the child lives inside it), and the child its button.
  EXPECT_EQ(platform::WindowAtPoint(screen), form.get());
  EXPECT_EQ(FormOf(0).Perform(msg::kNCHitTest, 0, platform::PointToParam(screen)), hit::kObject);
  headless::MouseAt(screen);
  headless::AdvanceTime(60);
  EXPECT_EQ(doc.HoverIndex, int(max));
  FormOf(0).Perform(msg::kNCLButtonDown, std::uintptr_t(hit::kObject), platform::PointToParam(screen));
  FormOf(0).Perform(msg::kLButtonUp, 0, 0);
  EXPECT_EQ(doc.SkinWindowState(), TWindowState::wsMaximized);
  EXPECT_TRUE(bar->ChildButtonsShown);
}

TEST_F(MDIChildrenTest, FrameAndChildShareTheMenus) {
  BuildFrame();
  TskSkinForm& doc = AddChild("Doc1");
  // The frame's keyboard menu mode: keys handled on the child move along the frame's bar.
  form->Perform(msg::kSysCommand, 0xF100, 0);  // msg::kScKeyMenu
  ASSERT_TRUE(skinForm->MainMenuMode());
  ASSERT_TRUE(bar->Item(0)->Active);
  doc.MenuKeyDown(platform::vk::kRight);
  EXPECT_TRUE(bar->Item(1)->Active);
  EXPECT_FALSE(doc.MainMenuMode());
  doc.MenuKeyDown(platform::vk::kEscape);
  EXPECT_FALSE(skinForm->MainMenuMode());
  // The child's own menu closes with a click on its frame.
  doc.PopupSystemMenu(300, 300);
  ASSERT_TRUE(doc.SkinMenu().IsOpen);
  form->Perform(msg::kNCLButtonDown, std::uintptr_t(hit::kCaption), platform::PointToParam({150, 105}));
  EXPECT_FALSE(doc.SkinMenu().IsOpen);
  EXPECT_FALSE(doc.MenuOpen());
}

TEST_F(MDIChildrenTest, ButtonsStayUntilTheLastMaximizedChildIsRestored) {
  BuildFrame();
  TskSkinForm& a = AddChild("Doc1");
  TskSkinForm& b = AddChild("Doc2", 60, 80);
  b.SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biMaximize);
  a.SetSkinWindowState(TWindowState::wsMaximized);
  b.SetSkinWindowState(TWindowState::wsMaximized);
  // Doc2 is the active child: its missing minimize icon disables that button.
  EXPECT_EQ(bar->ChildButtonCount, 4);
  EXPECT_EQ(bar->MaximizedChild, &b);
  EXPECT_FALSE(Button(3).Enabled);
  EXPECT_EQ(skinForm->CaptionText(), "Frame - [Doc2 caption]");
  b.SetSkinWindowState(TWindowState::wsNormal);
  // Doc1 is still maximized: the buttons stay, now with its icons.
  ASSERT_TRUE(bar->ChildButtonsShown);
  EXPECT_EQ(bar->MaximizedChild, &a);
  EXPECT_TRUE(Button(3).Enabled);
  EXPECT_EQ(skinForm->CaptionText(), "Frame - [Doc1 caption]");
  b.SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_FALSE(Button(3).Enabled);
  // Minimizing one and closing the other leave no maximized child.
  b.SetSkinWindowState(TWindowState::wsMinimized);
  EXPECT_TRUE(bar->ChildButtonsShown);
  FormOf(0).Close();
  EXPECT_FALSE(bar->ChildButtonsShown);
  EXPECT_FALSE(skinForm->ChildMaximized());
  EXPECT_EQ(skinForm->CaptionText(), "Frame");
}

TEST_F(MDIChildrenTest, DestroyedMaximizedChildGivesTheBarBack) {
  BuildFrame();
  AddChild("Doc1").SetSkinWindowState(TWindowState::wsMaximized);
  ASSERT_TRUE(bar->ChildButtonsShown);
  children.clear();
  EXPECT_FALSE(bar->ChildButtonsShown);
  EXPECT_EQ(bar->MaximizedChild, nullptr);
  EXPECT_FALSE(skinForm->ChildMaximized());
  EXPECT_EQ(ListNames(), std::vector<std::string>{});
}

TEST_F(MDIChildrenTest, MinimizedChildrenLineUpAlongTheBottomOfTheClientArea) {
  BuildFrame();
  std::vector<TskSkinForm*> docs;
  for (int i = 0; i < 4; ++i) docs.push_back(&AddChild("Doc" + std::to_string(i), 10 * i, 40 + 10 * i));
  const int w = docs[0]->MinFrameWidth(), h = docs[0]->MinFrameHeight();
  for (TskSkinForm* d : docs) d->SetSkinWindowState(TWindowState::wsMinimized);
  const Rect area = skinForm->MDIClientArea();
  const int perRow = area.Width() / w;
  ASSERT_GE(perRow, 2);
  for (int i = 0; i < 4; ++i) {
    const Point expected{area.left + (i % perRow) * w, area.bottom - h * (1 + i / perRow)};
    const Rect b = FormOf(std::size_t(i)).BoundsRect();
    EXPECT_EQ((Point{b.left, b.top}), expected) << i;
    EXPECT_EQ(b.Height(), h) << i;
  }
  // A restored strip frees its slot for the next one minimized.
  docs[0]->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(FormOf(0).BoundsRect(), (Rect{0, 40, 250, 220}));
  docs[0]->SetSkinWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(FormOf(0).BoundsRect().left, area.left);
  EXPECT_EQ(FormOf(0).BoundsRect().top, area.bottom - h);
  // A taller frame: the strips follow the client area's bottom.
  const Rect fb = form->BoundsRect();
  form->SetBounds({fb.left, fb.top, fb.right, fb.bottom + 60});
  form->Perform(msg::kSize, 0, 0);
  const Rect taller = skinForm->MDIClientArea();
  ASSERT_EQ(taller.bottom, area.bottom + 60);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(FormOf(std::size_t(i)).BoundsRect().top, taller.bottom - h * (1 + i / perRow)) << i;
}

TEST_F(MDIChildrenTest, WindowMenuListsTheChildren) {
  BuildFrame();
  // A child made before the first is shown still gets the divider above it.
  auto early = std::make_unique<platform::Window>(FormStyle::MDIChild, form.get());
  early->Name = "Early";
  TskSkinForm earlySkin(*early);
  AddChild("Doc1");
  AddChild("Doc2");
  EXPECT_EQ(ListNames(), (std::vector<std::string>{DIVIDER_SKFCHILDITEM, "Doc1_SKFCHILDITEM", "Doc2_SKFCHILDITEM"}));
  EXPECT_EQ(ListItem("Doc1_SKFCHILDITEM").Caption, "Doc1 caption");
  EXPECT_EQ(ListItem(DIVIDER_SKFCHILDITEM).Caption, "-");
  // The last one shown is active, and checked.
  EXPECT_EQ(form->ActiveMDIChild(), &FormOf(1));
  EXPECT_FALSE(ListItem("Doc1_SKFCHILDITEM").Checked);
  EXPECT_TRUE(ListItem("Doc2_SKFCHILDITEM").Checked);
  FormOf(0).Show();
  EXPECT_TRUE(ListItem("Doc1_SKFCHILDITEM").Checked);
  EXPECT_FALSE(ListItem("Doc2_SKFCHILDITEM").Checked);
  // Shown twice, listed once; renamed, the item follows.
  FormOf(0).SetCaption("Letter");
  EXPECT_EQ(ListItem("Doc1_SKFCHILDITEM").Caption, "Letter");
  EXPECT_EQ(ListNames().size(), 3u);
  // Hidden, then closed: the items go, the divider with the last one.
  FormOf(1).Hide();
  EXPECT_EQ(ListNames(), (std::vector<std::string>{DIVIDER_SKFCHILDITEM, "Doc1_SKFCHILDITEM"}));
  FormOf(0).Close();
  EXPECT_EQ(ListNames(), std::vector<std::string>{});
  EXPECT_EQ((*window)[0].Caption, "&Cascade");
  // Without a window menu nothing is listed.
  form->WindowMenu = nullptr;
  AddChild("Doc3");
  EXPECT_EQ(window->Count(), 1);
}

TEST_F(MDIChildrenTest, ClickingAnItemShowsTheChild) {
  BuildFrame();
  TskSkinForm& a = AddChild("Doc1");
  AddChild("Doc2");
  a.SetSkinWindowState(TWindowState::wsMinimized);
  ASSERT_EQ(form->ActiveMDIChild(), &FormOf(1));
  const_cast<platform::MenuItem&>(ListItem("Doc1_SKFCHILDITEM")).Click();
  EXPECT_EQ(a.SkinWindowState(), TWindowState::wsNormal);
  EXPECT_EQ(FormOf(0).BoundsRect(), (Rect{20, 40, 270, 220}));
  EXPECT_EQ(form->ActiveMDIChild(), &FormOf(0));
  EXPECT_TRUE(ListItem("Doc1_SKFCHILDITEM").Checked);
  // A hidden child is shown by its item again, and listed again.
  FormOf(1).Hide();
  ASSERT_EQ(ListNames().size(), 2u);
  FormOf(1).Show();
  const_cast<platform::MenuItem&>(ListItem("Doc2_SKFCHILDITEM")).Click();
  EXPECT_EQ(form->ActiveMDIChild(), &FormOf(1));
}

}  // namespace
