// The skinned main menu bar on a headless form: popups by mouse and keyboard,
// the keyboard menu mode, accelerators and short cuts, overflow, and pixels of
// the skinned and the plain bar.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FrameFixture.h"
#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/SysColors.h"
#include "platform/TrayIcon.h"
#include "skMainMenuBar.h"
#include "skSkinEdit.h"
#include "skSkinMemo.h"
#include "skUtils.h"

namespace {

using formtest::FrameFixture;
using platform::Bitmap;
using platform::Colour;
using platform::Point;
using platform::Rect;
using platform::Rgb;
using namespace skin;
namespace headless = platform::headless;
namespace vk = platform::vk;

constexpr std::uint64_t kHoverTick = 60;

class MainMenuBarTest : public FrameFixture {
 protected:
  MainMenuBarTest() { BuildMenu(); }
  // File (Open, Save), Edit (Cut, Copy), View (Zoom), Help without children.
  void BuildMenu() {
    platform::MenuItem& file = Add(menu.Items, "&File");
    Add(file, "&Open").ShortCut = "Ctrl+O";
    Add(file, "&Save");
    platform::MenuItem& edit = Add(menu.Items, "&Edit");
    Add(edit, "Cu&t");
    Add(edit, "&Copy");
    Add(Add(menu.Items, "&View"), "&Zoom");
    Add(menu.Items, "&Help");
  }
  // Two more items that do not fit a narrow bar.
  void AddWide() {
    Add(Add(menu.Items, "&Window"), "&Cascade");
    Add(Add(menu.Items, "&Tools"), "&Options");
  }
  platform::MenuItem& Add(platform::MenuItem& parent, const std::string& caption) {
    return parent.Add(caption, [this, caption](platform::MenuItem&) { ++clicks[caption]; });
  }
  // A form w wide with the bar on it, skinned or plain.
  void Build(int w = 400, bool skinned = true) {
    bar.reset();
    MakeForm(w, 300, skinned);
    Activate();
    bar = std::make_unique<TskSkinMainMenuBar>(*form);
    if (skinned) bar->SetSkinData(data.get());
    bar->SetSkinForm(skinForm.get());
    skinForm->SetMainMenuBar(bar.get());
    bar->SetMainMenu(&menu);
    skinForm->OnMainMenuEnter = [this](TskSkinForm&) { events.push_back("enter"); };
    skinForm->OnMainMenuExit = [this](TskSkinForm&) { events.push_back("exit"); };
  }
  TskSkinMainMenuBarItem& Item(std::size_t i) { return *bar->Item(i); }
  Point ItemPoint(std::size_t i) {
    const Rect r = bar->ScreenRect(Item(i).ObjectRect);
    return Centre(r);
  }
  void ClickItem(std::size_t i) { headless::ClickAt(ItemPoint(i)); }
  void HoverItem(std::size_t i) {
    headless::MouseAt(ItemPoint(i));
    headless::AdvanceTime(kHoverTick);
  }
  void Key(std::uint32_t key) { headless::PressKey(*form, key); }
  void KeyMenu() { form->Perform(msg::kSysCommand, msg::kScKeyMenu, 0); }
  // Captions of the open menu's first level.
  std::vector<std::string> Shown() {
    std::vector<std::string> out;
    if (skinForm->SkinMenu().Levels.empty()) return out;
    for (auto& it : skinForm->SkinMenu().Levels[0]->LevelItems) out.push_back(it->MenuItem.Caption);
    return out;
  }
  int ActiveIndex() {
    for (std::size_t i = 0; i < bar->ItemCount(); ++i)
      if (Item(i).Active || Item(i).Down) return int(i);
    return -1;
  }
  const Bitmap& BarImage() { return headless::WindowImage(*bar); }
  int CountColour(const Rect& r, Colour c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += BarImage().Pixel(x, y) == c;
    return n;
  }

  TskSkinMainMenu menu;
  std::unique_ptr<TskSkinMainMenuBar> bar;
  std::map<std::string, int> clicks;
  std::vector<std::string> events;
};

TEST_F(MainMenuBarTest, ItemsFollowTheMenuAndTheSkinRecord) {
  menu.Items.Add("Hidden").Visible = false;
  Build();
  ASSERT_EQ(bar->ItemCount(), 4u);  // the invisible item gets none
  EXPECT_TRUE(bar->BarSkinActive);
  EXPECT_EQ(bar->Height(), bar->skinrect.Height());
  EXPECT_TRUE(Item(0).HasRecord);
  // Side by side from the items area's left edge, each as wide as its caption needs.
  EXPECT_EQ(Item(0).ObjectRect.left, bar->ItemsArea.left);
  const int captionWidth = platform::TextExtent(platform::Font{Item(0).fontname, Item(0).fontheight, 0, 1}, "&File",
                                                platform::textflag::kSingleLine).x;
  EXPECT_EQ(Item(0).ObjectRect.Width(), Item(0).SkinRect.Width() + Item(0).textrect.left + captionWidth -
                                            Item(0).textrect.right + 2);
  for (std::size_t i = 1; i < bar->ItemCount(); ++i) EXPECT_EQ(Item(i).ObjectRect.left, Item(i - 1).ObjectRect.right);
  EXPECT_FALSE(bar->Overflow);
}

TEST_F(MainMenuBarTest, HeightFollowsTheRecordOrTheDefault) {
  Build();
  bar->SetHeight(50);
  EXPECT_EQ(bar->Height(), bar->skinrect.Height());  // the record's, whatever is asked
  bar->SetDefaultHeight(30);
  EXPECT_EQ(bar->Height(), bar->skinrect.Height());
  // The form's width changes the bar's with it.
  form->SetBounds({100, 100, 500, 300});
  form->Perform(msg::kSize, 0, 0);
  EXPECT_EQ(bar->Width(), form->ClientSize().x);
  Build(400, false);
  EXPECT_EQ(bar->Height(), 22);
  bar->SetDefaultHeight(30);
  EXPECT_EQ(bar->Height(), 30);
  EXPECT_EQ(bar->ItemsArea.bottom, 28);
  bar->SetHeight(40);
  EXPECT_EQ(bar->Height(), 40);
}

TEST_F(MainMenuBarTest, ClickOpensTheItemsPopupBelowIt) {
  Build();
  ClickItem(0);
  EXPECT_TRUE(Item(0).Down);
  EXPECT_TRUE(skinForm->SkinMenu().IsOpen);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"}));
  const Rect item = bar->ScreenRect(Item(0).ObjectRect);
  const Rect popup = skinForm->SkinMenu().Levels[0]->BoundsRect();
  EXPECT_EQ(popup.top, item.bottom);
  EXPECT_EQ(popup.left, item.left);
  EXPECT_TRUE(skinForm->MainMenuMode());
  EXPECT_TRUE(skinForm->MenuOpen());
  EXPECT_EQ(events, std::vector<std::string>{"enter"});
  // Choosing an entry closes everything and leaves the menu mode.
  const skin::TskSkinPopupWindow& level = *skinForm->SkinMenu().Levels[0];
  const Rect open = level.LevelItems[0]->ItemRect;
  headless::ClickAt(level.ClientToScreen(Centre(open)));
  EXPECT_EQ(clicks["&Open"], 1);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  EXPECT_FALSE(skinForm->MainMenuMode());
  EXPECT_FALSE(Item(0).Down);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
}

TEST_F(MainMenuBarTest, PopupToUpOpensAboveTheItem) {
  Build();
  bar->PopupToUp = true;
  ClickItem(1);
  ASSERT_TRUE(skinForm->SkinMenu().IsOpen);
  EXPECT_EQ(skinForm->SkinMenu().Levels[0]->BoundsRect().bottom, bar->ScreenRect(Item(1).ObjectRect).top);
}

TEST_F(MainMenuBarTest, MorphingItemsBlendTowardTheirActiveImage) {
  Build();
  for (auto& o : data->SkinObjects)
    if (o->IDName == "mainmenubaritem") o->morphing = true;
  bar->SetMainMenu(&menu);  // items copy the record anew
  TskSkinMainMenuBarItem& file = Item(0);
  ASSERT_TRUE(file.Morphing);
  const Rect r = file.ObjectRect;
  const Colour normal = file.Picture->Pixel(file.SkinRect.left + 1, file.SkinRect.top + 1);
  const Colour active = file.Picture->Pixel(file.ActiveSkinRect.left + 1, file.ActiveSkinRect.top + 1);
  ASSERT_NE(normal, active);
  headless::MouseAt(ItemPoint(0));
  headless::AdvanceTime(kHoverTick + 60);  // the hover tick, then a few morph steps
  EXPECT_GT(file.MorphFactor, 0.0);
  EXPECT_LT(file.MorphFactor, 1.0);
  const Colour between = BarImage().Pixel(r.left + 1, r.top + 1);
  EXPECT_NE(between, normal);
  EXPECT_NE(between, active);
  headless::AdvanceTime(300);
  EXPECT_DOUBLE_EQ(file.MorphFactor, 1.0);
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1), active);
  EXPECT_FALSE(bar->BarMorphTimer.Running());
  // Off the bar it morphs back.
  headless::MouseAt({5, 5});
  headless::AdvanceTime(400);
  EXPECT_DOUBLE_EQ(file.MorphFactor, 0.0);
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1), normal);
}

TEST_F(MainMenuBarTest, HoveringAnotherItemMovesTheOpenPopup) {
  Build();
  ClickItem(0);
  HoverItem(1);
  EXPECT_FALSE(Item(0).Down);
  EXPECT_TRUE(Item(1).Down);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Cu&t", "&Copy"}));
  EXPECT_EQ(skinForm->SkinMenu().Levels.size(), 1u);
  EXPECT_EQ(skinForm->SkinMenu().Levels[0]->BoundsRect().left, bar->ScreenRect(Item(1).ObjectRect).left);
  // Off the bar onto the popup, the item stays the open one.
  const auto& level = *skinForm->SkinMenu().Levels[0];
  headless::MouseAt(level.ClientToScreen({5, 5}));
  headless::AdvanceTime(kHoverTick);
  EXPECT_TRUE(Item(1).Down);
  EXPECT_TRUE(skinForm->SkinMenu().IsOpen);
  // Without an open popup hovering only lights items up.
  skinForm->LeaveMainMenuMode();
  HoverItem(2);
  EXPECT_TRUE(Item(2).Active);
  EXPECT_FALSE(Item(2).Down);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
}

TEST_F(MainMenuBarTest, ItemWithoutChildrenRunsItsCommandOnMouseDown) {
  Build();
  headless::MouseAt(ItemPoint(3), platform::msg::kLButtonDown);
  EXPECT_EQ(clicks["&Help"], 1);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  headless::MouseAt(ItemPoint(3), platform::msg::kLButtonUp);
  EXPECT_EQ(clicks["&Help"], 1);
  // A disabled item does nothing.
  menu.Items[3].Enabled = false;
  bar->SetMainMenu(&menu);
  headless::ClickAt(ItemPoint(3));
  EXPECT_EQ(clicks["&Help"], 1);
}

TEST_F(MainMenuBarTest, KeyboardMenuMode) {
  Build();
  KeyMenu();  // Alt or F10
  EXPECT_TRUE(skinForm->MainMenuMode());
  EXPECT_TRUE(bar->MenuTracking);
  EXPECT_EQ(ActiveIndex(), 0);
  EXPECT_EQ(events, std::vector<std::string>{"enter"});
  const std::pair<std::uint32_t, int> moves[] = {
      {vk::kRight, 1}, {vk::kRight, 2}, {vk::kRight, 3}, {vk::kRight, 0},  // wraps to the first
      {vk::kLeft, 3},                                                      // and back to the last
      {vk::kLeft, 2}};
  for (const auto& [key, expected] : moves) {
    Key(key);
    EXPECT_EQ(ActiveIndex(), expected);
  }
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  // Enter opens the selected item; Right moves the popup on.
  Key(vk::kReturn);
  EXPECT_TRUE(Item(2).Down);
  EXPECT_EQ(Shown(), std::vector<std::string>{"&Zoom"});
  Key(vk::kRight);
  EXPECT_TRUE(Item(3).Active);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);  // Help has no popup
  Key(vk::kRight);
  EXPECT_TRUE(Item(0).Down);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"}));
  // Down goes into the popup, Esc closes it and keeps the menu mode.
  Key(vk::kDown);
  EXPECT_EQ(skinForm->SkinMenu().Levels[0]->HotIndex, 1);
  Key(vk::kEscape);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  EXPECT_TRUE(skinForm->MainMenuMode());
  EXPECT_TRUE(Item(0).Active);
  // Down on a selected item opens it, as Enter does.
  Key(vk::kDown);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"}));
  Key(vk::kEscape);
  // Esc without a popup leaves the mode.
  Key(vk::kEscape);
  EXPECT_FALSE(skinForm->MainMenuMode());
  EXPECT_FALSE(bar->MenuTracking);
  EXPECT_EQ(ActiveIndex(), -1);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
  // Keys reach the form again.
  Key(vk::kRight);
  EXPECT_EQ(ActiveIndex(), -1);
}

TEST_F(MainMenuBarTest, KeysReachTheMenuModeWhicheverWindowHasTheFocus) {
  platform::Application app;
  Build();
  KeyMenu();
  // A control of the form has the focus: its keys still move along the bar.
  headless::PressKey(*bar, vk::kRight);
  EXPECT_EQ(ActiveIndex(), 1);
  headless::PressKey(*bar, vk::kReturn);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Cu&t", "&Copy"}));
  headless::PressKey(*bar, vk::kEscape);
  headless::PressKey(*bar, vk::kEscape);
  EXPECT_FALSE(skinForm->MainMenuMode());
  // Out of the mode the keys are the control's again.
  headless::PressKey(*bar, vk::kRight);
  EXPECT_EQ(ActiveIndex(), -1);
  EXPECT_FALSE(skinForm->MainMenuMode());
}

TEST_F(MainMenuBarTest, EnterOnItemWithoutChildrenRunsItAndLeavesTheMode) {
  Build();
  KeyMenu();
  Key(vk::kLeft);  // onto Help
  Key(vk::kReturn);
  EXPECT_EQ(clicks["&Help"], 1);
  EXPECT_FALSE(skinForm->MainMenuMode());
  // The system-menu key a second time leaves the mode it started.
  KeyMenu();
  EXPECT_TRUE(skinForm->MainMenuMode());
  KeyMenu();
  EXPECT_FALSE(skinForm->MainMenuMode());
}

TEST_F(MainMenuBarTest, SystemMenuKeyClosesAnOpenPopupFirst) {
  Build();
  TskSkinPopupMenu popup(form.get());
  popup.Items.Add("&Something");
  popup.Popup(150, 250);
  ASSERT_TRUE(skinForm->SkinMenu().IsOpen);
  ASSERT_TRUE(skinForm->MenuOpen());
  KeyMenu();
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  EXPECT_FALSE(skinForm->MenuOpen());
  EXPECT_TRUE(skinForm->MainMenuMode());
  EXPECT_EQ(ActiveIndex(), 0);
  // The keys now move along the bar.
  Key(vk::kRight);
  EXPECT_EQ(ActiveIndex(), 1);
}

// Keys pressed in a skinned edit or memo reach the form's short cuts and
// accelerators first; keys that are neither stay the control's.
TEST_F(MainMenuBarTest, ShortCutsWorkWhileAnEditOrMemoHasTheFocus) {
  Build();
  TskSkinCustomEdit edit(*form);
  edit.SetSkinData(data.get());
  TskSkinMemo memo(*form);
  memo.SetSkinData(data.get());
  auto type = [](platform::Window& w, std::uint32_t msg, std::uint32_t key, std::uint8_t shift) {
    headless::SetKeyboardShiftState(shift);
    w.Perform(msg, key, 0);
    if (msg == msg::kSysKeyDown) return;
    w.Perform(platform::msg::kChar, shift & platform::shiftstate::kCtrl ? key & 0x1F : key + 'a' - 'A', 0);
  };
  type(edit, platform::msg::kKeyDown, 'O', platform::shiftstate::kCtrl);
  EXPECT_EQ(clicks["&Open"], 1);
  EXPECT_EQ(edit.Text(), "") << "the short cut's character goes nowhere";
  type(memo, platform::msg::kKeyDown, 'O', platform::shiftstate::kCtrl);
  EXPECT_EQ(clicks["&Open"], 2);
  type(edit, platform::msg::kKeyDown, 'X', 0);
  EXPECT_EQ(edit.Text(), "x");
  EXPECT_EQ(clicks.size(), 1u);
  type(edit, msg::kSysKeyDown, 'F', platform::shiftstate::kAlt);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"})) << "Alt+F opens File from the edit";
  headless::SetKeyboardShiftState(0);
}

TEST_F(MainMenuBarTest, AcceleratorsAndShortCuts) {
  Build();
  bool handled = false;
  skinForm->FormShortCut('E', platform::shiftstate::kAlt, handled);
  EXPECT_TRUE(handled);
  EXPECT_TRUE(Item(1).Down);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Cu&t", "&Copy"}));
  EXPECT_TRUE(skinForm->MainMenuMode());
  // In menu mode a plain letter picks a bar item too.
  Key('V');
  EXPECT_TRUE(Item(2).Active);
  skinForm->LeaveMainMenuMode();
  // Alt+letter as the keyboard sends it.
  headless::SetKeyboardShiftState(platform::shiftstate::kAlt);
  EXPECT_EQ(form->Perform(msg::kSysKeyDown, 'F', 0), 0);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"}));
  skinForm->LeaveMainMenuMode();
  // A letter no caption marks is no accelerator; a short cut runs its item.
  handled = false;
  skinForm->FormShortCut('Q', platform::shiftstate::kAlt, handled);
  EXPECT_FALSE(handled);
  skinForm->FormShortCut('O', platform::shiftstate::kCtrl, handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(clicks["&Open"], 1);
  skinForm->FormShortCut('O', platform::shiftstate::kCtrl, handled);
  EXPECT_EQ(clicks["&Open"], 2);  // every press
  skinForm->FormShortCut('O', platform::shiftstate::kCtrl | platform::shiftstate::kShift, handled);
  EXPECT_FALSE(handled);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
}

TEST(ShortCutText, ReadsModifiersAndKeyNames) {
  using platform::TextToShortCut;
  namespace ss = platform::shiftstate;
  const std::pair<const char*, platform::ShortCutKey> cases[] = {
      {"Ctrl+O", {'O', ss::kCtrl}},       {"Alt+F4", {0x73, ss::kAlt}},  {"Shift+Ctrl+S", {'S', ss::kShift | ss::kCtrl}},
      {"F10", {0x79, 0}},                 {"Del", {0x2E, 0}},            {"ctrl+del", {0x2E, ss::kCtrl}},
      {"Ctrl+", {0, 0}},                  {"F25", {0, 0}},               {"Nonsense", {0, 0}}};
  for (const auto& [text, expected] : cases) {
    const platform::ShortCutKey k = TextToShortCut(text);
    EXPECT_EQ(k.key, expected.key) << text;
    EXPECT_EQ(k.shift, expected.key ? expected.shift : 0) << text;
  }
}

TEST_F(MainMenuBarTest, CaptionsThatDoNotFitHideBehindTheOverflowMark) {
  AddWide();
  Build(180);
  ASSERT_TRUE(bar->Overflow);
  std::vector<std::string> hidden;
  std::size_t firstHidden = bar->ItemCount();
  for (std::size_t i = 0; i < bar->ItemCount(); ++i) {
    if (!Item(i).HiddenByOverflow) {
      EXPECT_EQ(firstHidden, bar->ItemCount()) << "a shown item after a hidden one";
      EXPECT_LE(Item(i).ObjectRect.right, bar->ItemsArea.right - 5);
      continue;
    }
    if (firstHidden == bar->ItemCount()) firstHidden = i;
    EXPECT_FALSE(Item(i).Enabled);
    hidden.push_back(Item(i).MenuItem.Caption);
  }
  ASSERT_GE(firstHidden, 1u);
  ASSERT_FALSE(hidden.empty());
  // The arrow, in the record's mark colour, lit under the mouse.
  const Rect mark = bar->OverflowMarkRect();
  EXPECT_GT(CountColour(mark, bar->trackmarkcolor), 0);
  const Point markPoint = bar->ClientToScreen(Centre(mark));
  headless::MouseAt(markPoint);
  headless::AdvanceTime(kHoverTick);
  EXPECT_TRUE(bar->OverflowMarkActive);
  EXPECT_GT(CountColour(mark, bar->trackmarkactivecolor), 0);
  // Clicking it lists exactly the hidden items.
  headless::ClickAt(markPoint);
  EXPECT_EQ(Shown(), hidden);
  const Rect popup = skinForm->SkinMenu().Levels[0]->BoundsRect();
  EXPECT_EQ(popup.top, bar->ScreenRect(mark).bottom);
  // Accelerators skip hidden items.
  skinForm->SkinMenu().CloseAllMenus();
  bool handled = false;
  ASSERT_EQ(hidden.front(), "&Window");
  skinForm->FormShortCut('W', platform::shiftstate::kAlt, handled);
  EXPECT_FALSE(handled);
  // Wide enough again, every item shows and works.
  form->SetBounds({100, 100, 600, 400});
  form->Perform(msg::kSize, 0, 0);
  EXPECT_FALSE(bar->Overflow);
  for (std::size_t i = 0; i < bar->ItemCount(); ++i) EXPECT_TRUE(Item(i).Enabled && !Item(i).HiddenByOverflow);
}

TEST_F(MainMenuBarTest, OverflowMenuStartsAtTheFirstHiddenItemPastInvisibleOnes) {
  // Edit is not on the bar: the items after it move up.
  AddWide();
  menu.Items[1].Visible = false;
  // The widest form whose bar no longer holds Window (the width depends on the font's metrics).
  std::vector<std::string> hidden;
  for (int w = 400; w > 100 && (hidden.empty() || hidden.front() == "&Tools"); w -= 2) {
    Build(w);
    hidden.clear();
    for (std::size_t i = 0; i < bar->ItemCount(); ++i)
      if (Item(i).HiddenByOverflow) hidden.push_back(Item(i).MenuItem.Caption);
  }
  ASSERT_EQ(hidden, (std::vector<std::string>{"&Window", "&Tools"}));
  headless::ClickAt(bar->ClientToScreen(Centre(bar->OverflowMarkRect())));
  EXPECT_EQ(Shown(), hidden);
}

TEST_F(MainMenuBarTest, SkinnedBarPixels) {
  Build();
  const Bitmap& pic = *bar->BarPicture;
  const Rect sr = bar->skinrect;
  const Bitmap& image = BarImage();
  ASSERT_EQ(image.Width(), bar->Width());
  // The record picture's left and right pieces at the bar's ends, its middle between.
  for (int y = 0; y < sr.Height(); ++y) {
    EXPECT_EQ(image.Pixel(0, y), pic.Pixel(sr.left, sr.top + y)) << y;
    EXPECT_EQ(image.Pixel(image.Width() - 1, y), pic.Pixel(sr.right - 1, sr.top + y)) << y;
  }
  EXPECT_EQ(image.Pixel(image.Width() - 40, 0), pic.Pixel(sr.left + bar->itemsrect.left, sr.top));
  // The items: the item picture's normal piece, the caption in the record's font colour.
  TskSkinMainMenuBarItem& file = Item(0);
  const Bitmap& items = *file.Picture;
  const Rect r = file.ObjectRect;
  EXPECT_EQ(image.Pixel(r.left + 1, r.top + 1), items.Pixel(file.SkinRect.left + 1, file.SkinRect.top + 1));
  EXPECT_GT(CountColour(r, file.fontcolor), 10);
  EXPECT_EQ(CountColour(r, file.activefontcolor), 0);
  // Lit: the active piece and colour; pressed: the down piece.
  HoverItem(0);
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1),
            items.Pixel(file.ActiveSkinRect.left + 1, file.ActiveSkinRect.top + 1));
  EXPECT_GT(CountColour(r, file.activefontcolor), 10);
  ClickItem(0);
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1),
            items.Pixel(file.ItemDownRect.left + 1, file.ItemDownRect.top + 1));
  EXPECT_GT(CountColour(r, file.downfontcolor), 10);
  // A disabled item's caption is drawn in the record's disabled colour.
  skinForm->LeaveMainMenuMode();
  menu.Items[1].Enabled = false;
  bar->SetMainMenu(&menu);
  EXPECT_GT(CountColour(Item(1).ObjectRect, Item(1).unenabledfontColor), 10);
}

TEST_F(MainMenuBarTest, PlainBarPixels) {
  Build(400, false);
  using platform::SysColor;
  using platform::SysColour;
  EXPECT_FALSE(bar->BarSkinActive);
  EXPECT_FALSE(Item(0).HasRecord);
  EXPECT_EQ(bar->Height(), 22);
  EXPECT_EQ(bar->ItemsArea, (Rect{2, 2, bar->Width() - 2, 20}));
  const Colour face = SysColor(SysColour::BtnFace);
  const Rect r = Item(0).ObjectRect;
  EXPECT_EQ(r.Height(), bar->ItemsArea.Height());
  EXPECT_EQ(BarImage().Pixel(0, 0), face);
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1), face);
  EXPECT_GT(CountColour(r, SysColor(SysColour::BtnText)), 10);
  struct Case {
    const char* state;
    Colour fill;
  };
  HoverItem(0);
  EXPECT_EQ(BarImage().Pixel(r.left, r.top), Rgb(0, 0, 128)) << "lit frame";
  EXPECT_EQ(BarImage().Pixel(r.right - 1, r.bottom - 1), Rgb(0, 0, 128));
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1), Rgb(182, 189, 210)) << "lit fill";
  ClickItem(0);
  EXPECT_EQ(BarImage().Pixel(r.left, r.top), Rgb(0, 0, 128)) << "pressed frame";
  EXPECT_EQ(BarImage().Pixel(r.left + 1, r.top + 1), Rgb(133, 147, 181)) << "pressed fill";
  // Without a skin the popup is plain too, and opens all the same.
  EXPECT_EQ(Shown(), (std::vector<std::string>{"&Open", "&Save"}));
}

TEST_F(MainMenuBarTest, PlainOverflowMarkInSystemColours) {
  Build(150, false);
  ASSERT_TRUE(bar->Overflow);
  const Rect mark = bar->OverflowMarkRect();
  EXPECT_GT(CountColour(mark, platform::SysColor(platform::SysColour::BtnShadow)), 0);
  headless::MouseAt(bar->ClientToScreen(Centre(mark)));
  headless::AdvanceTime(kHoverTick);
  EXPECT_GT(CountColour(mark, platform::SysColor(platform::SysColour::BtnText)), 0);
}

TEST_F(MainMenuBarTest, SkinChangesRebuildTheBar) {
  Build();
  ClickItem(0);
  skinForm->LeaveMainMenuMode();
  form->Perform(SKM_BEFORECHANGE, reinterpret_cast<std::uintptr_t>(data.get()), 1000);
  EXPECT_TRUE(bar->BarObjects.empty());
  data->ClearSkin();
  form->Perform(SKM_CHANGE, reinterpret_cast<std::uintptr_t>(data.get()), 1000);
  EXPECT_FALSE(bar->BarSkinActive);
  ASSERT_EQ(bar->ItemCount(), 4u);
  EXPECT_FALSE(Item(0).HasRecord);
  EXPECT_EQ(bar->Height(), 22);
  // Without a form component the bar still tracks the mouse but opens nothing.
  bar->SetSkinForm(nullptr);
  HoverItem(1);
  EXPECT_TRUE(Item(1).Active);
  ClickItem(1);
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  EXPECT_FALSE(bar->HandleAccelerator('E'));
}

TEST_F(MainMenuBarTest, DestroyedSkinLeavesAPlainBar) {
  Build();
  data.reset();
  EXPECT_FALSE(bar->BarSkinActive);
  ASSERT_EQ(bar->ItemCount(), 4u);
  EXPECT_FALSE(Item(0).HasRecord);
  EXPECT_EQ(Item(0).Picture, nullptr);
  HoverItem(0);
  EXPECT_EQ(BarImage().Pixel(Item(0).ObjectRect.left, Item(0).ObjectRect.top), Rgb(0, 0, 128));
}

TEST_F(MainMenuBarTest, ChildButtonsOfAMaximizedChild) {
  Build();
  const int itemsLeft = bar->ItemsArea.left;
  TskSkinForm& child = *skinForm;  // stands for the maximized MDI child
  child.SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biMaximize);
  bar->ShowChildButtons(child);
  ASSERT_EQ(bar->ChildButtonCount, 4);
  std::vector<TskStdCommand> commands;
  for (int i = 0; i < 4; ++i)
    commands.push_back(static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[std::size_t(i)]).Command);
  EXPECT_EQ(commands, (std::vector<TskStdCommand>{TskStdCommand::cmSysMenu, TskStdCommand::cmClose,
                                                  TskStdCommand::cmMaximize, TskStdCommand::cmMinimize}));
  auto& sys = static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[0]);
  auto& close = static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[1]);
  auto& min = static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[3]);
  EXPECT_TRUE(close.HasRecord);  // the skin names mmclosebutton
  EXPECT_FALSE(sys.HasRecord);   // and no system-menu button
  EXPECT_FALSE(min.Enabled);     // no biMinimize
  EXPECT_TRUE(close.Enabled);
  // The system-menu button at the left, the items after it, the others at the right.
  EXPECT_EQ(sys.ObjectRect.left, itemsLeft);
  EXPECT_EQ(bar->ItemsArea.left, sys.ObjectRect.right + 2);
  EXPECT_EQ(Item(0).ObjectRect.left, bar->ItemsArea.left);
  EXPECT_EQ(close.ObjectRect.right, bar->Width() + bar->itemsrect.right - bar->skinrect.Width());
  // The items are rebuilt with the buttons kept.
  bar->SetMainMenu(&menu);
  EXPECT_EQ(bar->ChildButtonCount, 4);
  bar->HideChildButtons(nullptr);
  EXPECT_EQ(bar->ChildButtonCount, 0);
  EXPECT_EQ(bar->ItemsArea.left, itemsLeft);
  EXPECT_EQ(bar->ItemCount(), 4u);
}

TEST_F(MainMenuBarTest, ChildButtonsActOnTheMaximizedChild) {
  Build(400, false);
  // The child's window stays hidden so that it covers nothing of the bar.
  platform::Window childForm;
  childForm.SetBounds({600, 400, 900, 600});
  TskSkinForm child(childForm);
  bar->ShowChildButtons(child);
  auto button = [this](int i) -> TskSkinMainMenuBarButton& {
    return static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[std::size_t(i)]);
  };
  auto click = [this](TskMenuBarObject& b) { headless::ClickAt(Centre(bar->ScreenRect(b.ObjectRect))); };
  // Plain buttons are squares as high as the items area.
  EXPECT_EQ(button(1).ObjectRect.Width(), bar->ItemsArea.Height());
  EXPECT_FALSE(button(1).HasRecord);
  click(button(3));  // minimize
  EXPECT_EQ(child.SkinWindowState(), TWindowState::wsMinimized);
  click(button(2));  // back to normal
  EXPECT_EQ(child.SkinWindowState(), TWindowState::wsNormal);
  // A lit plain button: the frame and fill of the plain look.
  headless::MouseAt(Centre(bar->ScreenRect(button(1).ObjectRect)));
  headless::AdvanceTime(kHoverTick);
  EXPECT_EQ(BarImage().Pixel(button(1).ObjectRect.left, button(1).ObjectRect.top), Rgb(0, 0, 128));
  EXPECT_EQ(BarImage().Pixel(button(1).ObjectRect.left + 1, button(1).ObjectRect.top + 1), Rgb(182, 189, 210));
  // Pressed and released off the button: nothing happens.
  headless::MouseAt(Centre(bar->ScreenRect(button(1).ObjectRect)), platform::msg::kLButtonDown);
  EXPECT_TRUE(button(1).Down);
  headless::MouseAt(Centre(bar->ScreenRect(Item(0).ObjectRect)));
  headless::AdvanceTime(kHoverTick);
  headless::MouseAt(Centre(bar->ScreenRect(Item(0).ObjectRect)), platform::msg::kLButtonUp);
  EXPECT_FALSE(button(1).Down);
  EXPECT_FALSE(childForm.Closed());
  // The system-menu button shows the child's system menu below it and stays
  // down until that closes.
  const Point sys = Centre(button(0).ObjectRect);
  headless::MouseAt(bar->ClientToScreen(sys), platform::msg::kLButtonDown);
  headless::MouseAt(bar->ClientToScreen(sys), platform::msg::kLButtonUp);
  EXPECT_TRUE(button(0).Down);
  ASSERT_TRUE(skinForm->SkinMenu().IsOpen);
  EXPECT_EQ(Shown().back(), "&Close");
  EXPECT_EQ(skinForm->SkinMenu().Levels[0]->BoundsRect().top, bar->ScreenRect(button(0).ObjectRect).bottom);
  skinForm->SkinMenu().CloseAllMenus();
  EXPECT_FALSE(button(0).Down);
  EXPECT_FALSE(skinForm->MenuOpen());
  // A double click on it closes the child.
  headless::MouseAt(bar->ClientToScreen(sys), platform::msg::kLButtonDown);
  headless::MouseAt(bar->ClientToScreen(sys), platform::msg::kLButtonUp);
  bar->Perform(0x0203, 0, platform::PointToParam(sys));  // msg::kLButtonDblClk
  EXPECT_TRUE(childForm.Closed());
  EXPECT_FALSE(skinForm->SkinMenu().IsOpen);
  EXPECT_FALSE(button(0).Down);
}

TEST_F(MainMenuBarTest, CloseButtonClosesTheChildAndButtonsGoWithIt) {
  Build();
  auto childForm = std::make_unique<platform::Window>();
  auto child = std::make_unique<TskSkinForm>(*childForm);
  bar->ShowChildButtons(*child);
  auto& close = static_cast<TskSkinMainMenuBarButton&>(*bar->BarObjects[1]);
  ASSERT_EQ(close.Command, TskStdCommand::cmClose);
  // From the skin: the record's picture pieces.
  EXPECT_EQ(BarImage().Pixel(close.ObjectRect.left + 1, close.ObjectRect.top + 1),
            close.Picture->Pixel(close.SkinRect.left + 1, close.SkinRect.top + 1));
  headless::ClickAt(Centre(bar->ScreenRect(close.ObjectRect)));
  EXPECT_TRUE(childForm->Closed());
  child.reset();
  EXPECT_EQ(bar->ChildButtonCount, 0);
  EXPECT_FALSE(bar->ChildButtonsShown);
  EXPECT_EQ(bar->MaximizedChild, nullptr);
}

}  // namespace
