// The frame's window behaviours on the headless desktop: maximize, minimize to
// caption strips, roll-up, the tray, magnetic edges, the maximized no-drag
// rule, the alpha fade-in and the skinned system menu.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"
#include "skSkinData.h"
#include "skSkinForm.h"
#include "skTrayIcon.h"

namespace {

using platform::Point;
using platform::Rect;
using namespace skin;
namespace headless = platform::headless;

constexpr Rect kWorkArea{0, 0, 1024, 728};
constexpr Point kScreen{1024, 768};
constexpr Rect kNormal{100, 100, 500, 400};

// A skinned form: its window, skin data and component.
struct SkinnedForm {
  std::unique_ptr<platform::Window> form;
  std::unique_ptr<TskSkinData> data;
  std::unique_ptr<TskSkinForm> skin;
  Rect Bounds() const { return form->BoundsRect(); }
};

class Behaviours : public testing::Test {
 protected:
  Behaviours() {
    headless::Reset();
    headless::SetEcho(false);
    headless::UseVirtualClock(true);
    headless::SetDesktopSize(kScreen.x, kScreen.y);
    headless::SetWorkArea(kWorkArea);
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
    main = &Add({0, 0, 400, 300});
  }
  ~Behaviours() override { headless::UseVirtualClock(false); }

  SkinnedForm& Add(const Rect& bounds, platform::BorderStyle border = platform::BorderStyle::Sizeable) {
    auto f = std::make_unique<SkinnedForm>();
    f->form = std::make_unique<platform::Window>();
    f->form->SetBorderStyle(border);
    f->form->SetBounds(bounds);
    f->form->Show();
    f->data = std::make_unique<TskSkinData>(f->form.get());
    f->data->LoadFromStoredSkin(stored);
    f->skin = std::make_unique<TskSkinForm>(*f->form);
    f->skin->SetSkinData(f->data.get());
    forms.push_back(std::move(f));
    return *forms.back();
  }
  SkinnedForm& Secondary(const Rect& bounds = kNormal) { return Add(bounds); }

  static Rect CaptionRect(const SkinnedForm& f) {
    for (const auto& o : f.skin->ObjectList)
      if (o->IsCaption()) return o->ObjectRect;
    return {};
  }
  static void CaptionMessage(SkinnedForm& f, std::uint32_t msg) {
    const Rect c = CaptionRect(f);
    const Rect b = f.Bounds();
    const Point p{b.left + (c.left + c.right) / 2, b.top + (c.top + c.bottom) / 2};
    headless::MouseAt(p);
    f.form->Perform(msg, std::uintptr_t(hit::kCaption), platform::PointToParam(p));
  }
  static std::vector<std::string> Names(const platform::MenuItem& items) {
    std::vector<std::string> names;
    for (int i = 0; i < items.Count(); ++i) names.push_back(items[i].IsDivider() ? "-" : items[i].Name);
    return names;
  }

  platform::Application app;
  testing_support::TempDir dir;
  TskStoredSkin stored;
  std::vector<std::unique_ptr<SkinnedForm>> forms;
  SkinnedForm* main = nullptr;
};

TEST_F(Behaviours, MaximizeFillsTheWorkAreaAndRestoreGoesBack) {
  SkinnedForm& f = Secondary();
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(f.Bounds(), kWorkArea);
  EXPECT_EQ(f.skin->RestoreBounds(), kNormal);
  EXPECT_EQ(f.form->Alpha(), std::nullopt);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);
  EXPECT_TRUE(f.skin->RestoreBounds().Empty());

  // Minimized first, then maximized: the normal bounds are the ones before both.
  f.skin->SetSkinWindowState(TWindowState::wsMinimized);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(f.Bounds(), kWorkArea);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);

  f.skin->MaximizeOnFullScreen = true;
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(f.Bounds(), (Rect{0, 0, kScreen.x, kScreen.y}));
}

TEST_F(Behaviours, MaximumTrackingSizeIsTheWorkAreaOrTheScreen) {
  SkinnedForm& f = Secondary();
  platform::MinMaxInfo info{};
  f.form->Perform(msg::kGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(info.maxTrackSize, (Point{kWorkArea.Width(), kWorkArea.Height()}));
  EXPECT_EQ(info.minTrackSize, (Point{f.skin->MinFrameWidth(), f.skin->MinFrameHeight()}));
  f.skin->MaximizeOnFullScreen = true;
  f.form->Perform(msg::kGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(info.maxTrackSize, kScreen);
}

TEST_F(Behaviours, MinimizedSecondaryFormsLineUpAlongTheBottomOfTheWorkArea) {
  SkinnedForm& a = Secondary();
  a.skin->SetSkinWindowState(TWindowState::wsMinimized);
  const int w = a.skin->MinFrameWidth(), h = a.skin->MinFrameHeight();
  ASSERT_GT(w, 0);
  // Two strips and a half per row.
  const Rect area{10, 20, 10 + 2 * w + w / 2, 600};
  headless::SetWorkArea(area);
  a.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(a.Bounds(), kNormal);

  SkinnedForm& b = Secondary({200, 150, 600, 450});
  SkinnedForm& c = Secondary({300, 200, 700, 500});
  a.skin->SetSkinWindowState(TWindowState::wsMinimized);
  b.skin->SetSkinWindowState(TWindowState::wsMinimized);
  c.skin->SetSkinWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(a.Bounds(), (Rect{10, 600 - h, 10 + w, 600}));
  EXPECT_EQ(b.Bounds(), (Rect{10 + w, 600 - h, 10 + 2 * w, 600}));
  // The row is full: the next one starts a row higher.
  EXPECT_EQ(c.Bounds(), (Rect{10, 600 - 2 * h, 10 + w, 600 - h}));

  // A freed slot is taken again.
  a.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(a.Bounds(), kNormal);
  SkinnedForm& d = Secondary({50, 50, 450, 350});
  d.skin->SetSkinWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(d.Bounds(), (Rect{10, 600 - h, 10 + w, 600}));
  // The main form never counts as an occupant.
  EXPECT_EQ(main->skin->SkinWindowState(), TWindowState::wsNormal);
}

TEST_F(Behaviours, MinimizingTheMainFormMinimizesTheApplication) {
  const Rect before = main->Bounds();
  main->skin->SetSkinWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(main->skin->SkinWindowState(), TWindowState::wsNormal);
  EXPECT_TRUE(app.Minimized());
  EXPECT_FALSE(main->form->Visible());
  EXPECT_EQ(main->Bounds(), before);
  app.Restore();
  EXPECT_TRUE(main->form->Visible());
}

TEST_F(Behaviours, RollUpShrinksToTheCaptionAndBack) {
  SkinnedForm& f = Secondary();
  int changes = 0;
  f.skin->OnChangeRollUpState = [&](TskSkinForm&) { ++changes; };
  f.skin->SetRollUp(true);
  EXPECT_TRUE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), (Rect{kNormal.left, kNormal.top, kNormal.right, kNormal.top + f.skin->MinFrameHeight()}));
  f.skin->SetRollUp(true);  // again: the height to come back to is kept
  f.skin->SetRollUp(false);
  EXPECT_EQ(f.Bounds(), kNormal);
  EXPECT_EQ(changes, 2);

  // Refused while minimized and without the roll-up icon.
  f.skin->SetSkinWindowState(TWindowState::wsMinimized);
  f.skin->SetRollUp(true);
  EXPECT_FALSE(f.skin->RolledUp());
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  f.skin->SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biMaximize);
  f.skin->SetRollUp(true);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kNormal);
}

TEST_F(Behaviours, RolledUpWhileMaximizedRestoreRollsDown) {
  SkinnedForm& f = Secondary();
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  f.skin->SetRollUp(true);
  EXPECT_TRUE(f.skin->RolledUpMaximized());
  EXPECT_EQ(f.Bounds().Height(), f.skin->MinFrameHeight());
  platform::MenuItem& items = f.skin->GetSystemMenuItems();
  const std::vector<std::string> expect{SKF_MINITEM, SKF_RESTORE, "-", SKF_CLOSE};
  ASSERT_EQ(Names(items), expect);
  items[1].Click();
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(f.Bounds(), kWorkArea);

  // Restored while rolled up: the normal bounds come back unrolled.
  f.skin->SetRollUp(true);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kNormal);
}

TEST_F(Behaviours, MaximizingARolledUpFrameRollsItDownFirst) {
  SkinnedForm& f = Secondary();
  f.skin->SetRollUp(true);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kWorkArea);
  // The client is reachable again.
  const Point inside{kWorkArea.Width() / 2, kWorkArea.Height() / 2};
  EXPECT_EQ(f.form->Perform(msg::kNCHitTest, 0, platform::PointToParam(inside)), hit::kClient);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);
  // Also when it was minimized in between.
  f.skin->SetRollUp(true);
  f.skin->SetSkinWindowState(TWindowState::wsMinimized);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kNormal);
  // Rolled up while maximized, minimized, maximized again: full, not rolled.
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  f.skin->SetRollUp(true);
  f.skin->SetSkinWindowState(TWindowState::wsMinimized);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kWorkArea);
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);
}

TEST_F(Behaviours, CaptionDoubleClickFollowsStateAndBorder) {
  SkinnedForm& f = Secondary();
  CaptionMessage(f, msg::kNCLButtonDblClk);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMaximized);
  CaptionMessage(f, msg::kNCLButtonDblClk);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);
  f.skin->SetSkinWindowState(TWindowState::wsMinimized);
  CaptionMessage(f, msg::kNCLButtonDblClk);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsNormal);
  EXPECT_EQ(f.Bounds(), kNormal);
  // Without the maximize icon a sizable frame rolls up instead.
  f.skin->SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biRollUp);
  CaptionMessage(f, msg::kNCLButtonDblClk);
  EXPECT_TRUE(f.skin->RolledUp());
  CaptionMessage(f, msg::kNCLButtonDblClk);
  EXPECT_FALSE(f.skin->RolledUp());

  // A fixed frame only rolls up and down.
  SkinnedForm& fixed = Add(kNormal, platform::BorderStyle::Single);
  CaptionMessage(fixed, msg::kNCLButtonDblClk);
  EXPECT_EQ(fixed.skin->SkinWindowState(), TWindowState::wsNormal);
  EXPECT_TRUE(fixed.skin->RolledUp());
  CaptionMessage(fixed, msg::kNCLButtonDblClk);
  EXPECT_FALSE(fixed.skin->RolledUp());
}

TEST_F(Behaviours, WindowStateCommandsGoThroughTheFramesState) {
  SkinnedForm& f = Secondary();
  f.form->Perform(msg::kSysCommand, msg::kScMaximize, 0);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(f.Bounds(), kWorkArea);
  f.form->Perform(msg::kSysCommand, msg::kScRestore | 2, 0);  // the low bits are the system's
  EXPECT_EQ(f.Bounds(), kNormal);
  f.form->Perform(msg::kSysCommand, msg::kScMinimize, 0);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMinimized);
  main->form->Perform(msg::kSysCommand, msg::kScMinimize, 0);
  EXPECT_TRUE(app.Minimized());
  EXPECT_EQ(main->skin->SkinWindowState(), TWindowState::wsNormal);
}

TEST_F(Behaviours, MinimizeToTrayAndBack) {
  TskTrayIcon tray(main->form.get());
  TskSkinForm& s = *main->skin;
  int minimized = 0, restored = 0;
  s.OnMinimizeToTray = [&](TskSkinForm&) { ++minimized; };
  s.OnRestoreFromTray = [&](TskSkinForm&) { ++restored; };
  s.MinimizeToTray();  // no tray icon yet: nothing
  EXPECT_FALSE(app.Minimized());
  EXPECT_EQ(minimized, 0);

  tray.SetIconVisible(true);
  s.SetTrayIcon(&tray);
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_EQ(tray.PopupMenu(), &s.TrayMenu());
  EXPECT_EQ(Names(s.TrayMenu().Items), (std::vector<std::string>{TRAY_SKF_RESTORE, "-", TRAY_SKF_CLOSE}));
  EXPECT_EQ(s.TrayMenu().Items[2].ShortCut, "Alt+F4");

  s.MinimizeToTray();
  EXPECT_TRUE(app.Minimized());
  EXPECT_FALSE(app.TaskButtonVisible());
  EXPECT_FALSE(main->form->Visible());
  EXPECT_TRUE(tray.IconVisible());
  EXPECT_EQ(headless::TrayIconsShown(), 1);
  EXPECT_EQ(minimized, 1);

  // A double click on the icon brings the application back.
  headless::SendTrayMouse(0x0203);  // msg::kLButtonDblClk
  EXPECT_FALSE(app.Minimized());
  EXPECT_TRUE(app.TaskButtonVisible());
  EXPECT_TRUE(main->form->Visible());
  EXPECT_FALSE(tray.IconVisible());
  EXPECT_EQ(headless::TrayIconsShown(), 0);
  EXPECT_EQ(restored, 1);
  EXPECT_FALSE(tray.MinimizeToTray);

  // A plain minimize of the application does not go to the tray any more.
  app.Minimize();
  EXPECT_FALSE(tray.IconVisible());
}

TEST_F(Behaviours, TrayIconWithItsOwnMenuKeepsIt) {
  TskTrayIcon tray(main->form.get());
  TskSkinPopupMenu own(main->form.get());
  tray.SetPopupMenu(&own);
  main->skin->SetTrayIcon(&tray);
  EXPECT_EQ(tray.PopupMenu(), &own);
  EXPECT_FALSE(tray.OnDblClick);
}

struct SnapCase {
  int left, top;          // where the drag puts the frame
  int snappedLeft, snappedTop;
};

class Snapping : public Behaviours, public testing::WithParamInterface<SnapCase> {};

// A 400 x 300 frame in the work area (0, 0, 1024, 728) with MagneticSize 10.
TEST_P(Snapping, PullsOnlyWithinTheMagneticSize) {
  const SnapCase& c = GetParam();
  SkinnedForm& f = Secondary();
  f.skin->Magnetic = true;
  f.skin->MagneticSize = 10;
  headless::DragWindow(*f.form, {c.left, c.top});
  EXPECT_EQ(f.Bounds(), (Rect{c.snappedLeft, c.snappedTop, c.snappedLeft + 400, c.snappedTop + 300}));
}

INSTANTIATE_TEST_SUITE_P(Edges, Snapping,
                         testing::Values(SnapCase{9, 200, 0, 200}, SnapCase{10, 200, 10, 200},
                                         SnapCase{-9, 200, 0, 200}, SnapCase{-10, 200, -10, 200},
                                         SnapCase{300, 9, 300, 0}, SnapCase{300, 10, 300, 10},
                                         SnapCase{1024 - 400 - 9, 200, 624, 200},
                                         SnapCase{1024 - 400 - 10, 200, 614, 200},
                                         SnapCase{1024 - 400 + 9, 200, 624, 200},
                                         SnapCase{300, 728 - 300 + 9, 300, 428},
                                         SnapCase{300, 728 - 300 - 10, 300, 418}, SnapCase{5, 5, 0, 0}));

TEST_F(Behaviours, WithoutMagneticADragIsLeftAlone) {
  SkinnedForm& f = Secondary();
  headless::DragWindow(*f.form, {3, 4});
  EXPECT_EQ(f.Bounds(), (Rect{3, 4, 403, 304}));
}

TEST_F(Behaviours, AMaximizedFormCannotBeDragged) {
  SkinnedForm& f = Secondary();
  f.skin->Magnetic = true;
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  headless::DragWindow(*f.form, {50, 60});
  EXPECT_EQ(f.Bounds(), kWorkArea);
}

// --- system menu ---

struct MenuCase {
  const char* title;
  TskBorderIcons icons;
  TWindowState state;
  bool rolledUp;
  std::vector<std::string> names;
};

constexpr TskBorderIcons kDefaultIcons =
    TskBorderIcon::biSystemMenu | TskBorderIcon::biMinimize | TskBorderIcon::biMaximize | TskBorderIcon::biRollUp;

class SystemMenuItems : public Behaviours, public testing::WithParamInterface<MenuCase> {};

TEST_P(SystemMenuItems, FollowTheStateAndTheBorderIcons) {
  const MenuCase& c = GetParam();
  SkinnedForm& f = Secondary();
  f.skin->SetBorderIcons(c.icons | TskBorderIcon::biRollUp);
  if (c.rolledUp) f.skin->SetRollUp(true);
  f.skin->SetSkinWindowState(c.state);
  f.skin->SetBorderIcons(c.icons);
  EXPECT_EQ(Names(f.skin->GetSystemMenuItems()), c.names) << c.title;
}

INSTANTIATE_TEST_SUITE_P(
    States, SystemMenuItems,
    testing::Values(
        MenuCase{"normal", kDefaultIcons, TWindowState::wsNormal, false,
                 {SKF_MINITEM, SKF_MAXITEM, SKF_ROLLUP, "-", SKF_CLOSE}},
        MenuCase{"maximized", kDefaultIcons, TWindowState::wsMaximized, false,
                 {SKF_MINITEM, SKF_RESTORE, SKF_ROLLUP, "-", SKF_CLOSE}},
        MenuCase{"minimized", kDefaultIcons, TWindowState::wsMinimized, false,
                 {SKF_MAXITEM, SKF_RESTORE, "-", SKF_CLOSE}},
        MenuCase{"rolled up", kDefaultIcons, TWindowState::wsNormal, true,
                 {SKF_MINITEM, SKF_MAXITEM, SKF_RESTORE, "-", SKF_CLOSE}},
        MenuCase{"tray", kDefaultIcons | TskBorderIcon::biMinimizeToTray, TWindowState::wsNormal, false,
                 {SKF_MINITEM, SKF_MAXITEM, SKF_ROLLUP, SKF_MINTOTRAY, "-", SKF_CLOSE}},
        MenuCase{"close only", TskBorderIcons(TskBorderIcon::biSystemMenu), TWindowState::wsNormal, false,
                 {SKF_CLOSE}}));

TEST_F(Behaviours, SystemMenuItemsCarryTheirCaptionsAndActions) {
  SkinnedForm& f = Secondary();
  f.skin->SetBorderIcons(kDefaultIcons | TskBorderIcon::biMinimizeToTray);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  f.skin->SetRollUp(true);
  platform::MenuItem& items = f.skin->GetSystemMenuItems();
  std::vector<std::string> captions;
  for (int i = 0; i < items.Count(); ++i) captions.push_back(items[i].Caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"Mi&nimize", "&Restore", "Minimize to &Tray", "-", "&Close"}));
  EXPECT_EQ(items[4].ShortCut, "Alt+F4");
  items[0].Click();
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMinimized);
  EXPECT_EQ(Names(f.skin->GetSystemMenuItems()), (std::vector<std::string>{SKF_MAXITEM, SKF_RESTORE, SKF_MINTOTRAY,
                                                                             "-", SKF_CLOSE}));
  // Restore from the strip gives the normal bounds, unrolled.
  f.skin->GetSystemMenuItems()[1].Click();
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsNormal);
  EXPECT_FALSE(f.skin->RolledUp());
  EXPECT_EQ(f.Bounds(), kNormal);
  platform::MenuItem& now = f.skin->GetSystemMenuItems();
  now[now.Count() - 1].Click();
  EXPECT_TRUE(f.form->Closed());
}

TEST_F(Behaviours, TheApplicationsSystemMenuIsMergedOrShownAsBuilt) {
  SkinnedForm& f = Secondary();
  TskSkinPopupMenu own(f.form.get());
  own.Items.Add("&About").Name = "About";
  own.Items.Add("stale").Name = SKF_CLOSE;
  f.skin->SetSystemMenu(&own);
  f.skin->SetSkinWindowState(TWindowState::wsMaximized);
  const std::vector<std::string> merged{SKF_MINITEM, SKF_RESTORE, SKF_ROLLUP, "About", SKF_CLOSE};
  EXPECT_EQ(Names(f.skin->GetSystemMenuItems()), merged);
  EXPECT_EQ(&f.skin->GetSystemMenuItems(), &own.Items);
  EXPECT_EQ(Names(f.skin->GetSystemMenuItems()), merged);  // merging again adds nothing

  f.skin->UseDefaultSysMenu = false;
  f.skin->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(Names(f.skin->GetSystemMenuItems()), merged);

  // The component takes its items with it.
  f.skin.reset();
  EXPECT_EQ(Names(own.Items), std::vector<std::string>{"About"});
}

TEST_F(Behaviours, CaptionRightClickPopsUpTheSystemMenu) {
  SkinnedForm& f = Secondary();
  int opened = 0, closed = 0;
  f.skin->OnSkinMenuOpen = [&](TskSkinForm&) { ++opened; };
  f.skin->OnSkinMenuClose = [&](TskSkinForm&) { ++closed; };
  CaptionMessage(f, msg::kNCRButtonDown);
  TskSkinMenu& menu = f.skin->SkinMenu();
  ASSERT_TRUE(menu.IsOpen);
  EXPECT_TRUE(f.skin->MenuOpen());
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(menu.Levels.size(), 1u);
  TskSkinPopupWindow& level = *menu.Levels[0];
  EXPECT_EQ(level.BoundsRect().left, platform::CursorPos().x);
  // Choosing Maximize closes the menu and maximizes.
  TskSkinMenuItem* maximize = nullptr;
  for (auto& item : level.LevelItems)
    if (item->MenuItem.Name == SKF_MAXITEM) maximize = item.get();
  ASSERT_NE(maximize, nullptr);
  menu.HandleItem(level, *maximize, true, false);
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_FALSE(f.skin->MenuOpen());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(f.skin->SkinWindowState(), TWindowState::wsMaximized);

  // A click elsewhere on the frame closes an open menu.
  f.skin->PopupSystemMenu(10, 10);
  EXPECT_EQ(opened, 2);
  f.form->Perform(msg::kNCLButtonDown, std::uintptr_t(hit::kCaption), platform::PointToParam({5, 5}));
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_EQ(closed, 2);
}

TEST_F(Behaviours, SystemMenuButtonOpensTheMenuAndStaysDownWhileItIsOpen) {
  SkinnedForm& f = Secondary();
  f.form->Perform(msg::kActivate, 1, 0);
  TskSkinStdButtonObject* button = nullptr;
  for (auto& o : f.skin->ObjectList)
    if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get()); b && b->Command == TskStdCommand::cmSysMenu)
      button = b;
  ASSERT_NE(button, nullptr);
  const Rect r = button->ObjectRect;
  const Point p{kNormal.left + (r.left + r.right) / 2, kNormal.top + (r.top + r.bottom) / 2};
  headless::MouseAt(p);
  f.form->Perform(msg::kNCHitTest, 0, platform::PointToParam(p));
  f.form->Perform(msg::kNCLButtonDown, std::uintptr_t(hit::kObject), platform::PointToParam(p));
  TskSkinMenu& menu = f.skin->SkinMenu();
  ASSERT_TRUE(menu.IsOpen);
  EXPECT_TRUE(button->Down);
  // Below the button, on the screen.
  EXPECT_EQ(menu.Levels[0]->BoundsRect().top, kNormal.top + r.bottom);
  f.form->Perform(msg::kNCLButtonUp, std::uintptr_t(hit::kObject), platform::PointToParam(p));
  EXPECT_TRUE(button->Down);
  menu.CloseAllMenus();
  EXPECT_FALSE(button->Down);
  EXPECT_FALSE(f.skin->MenuOpen());
}

// --- translucency ---

using AlphaSteps = std::vector<std::optional<std::uint8_t>>;

AlphaSteps Ramp(int target) {
  AlphaSteps steps{std::uint8_t(0)};
  for (int a = 5; a < target; a += 5) steps.push_back(std::uint8_t(a));
  steps.push_back(std::uint8_t(target));
  return steps;
}

class Fading : public Behaviours {
 protected:
  // Shows the form again and lets the fade-in timer fire.
  AlphaSteps ShowAndFade(SkinnedForm& f) {
    f.form->Hide();
    const std::size_t from = headless::AlphaChanges(*f.form).size();
    f.form->Show();
    headless::AdvanceTime(5);
    const AlphaSteps& all = headless::AlphaChanges(*f.form);
    return AlphaSteps(all.begin() + std::ptrdiff_t(from), all.end());
  }
};

TEST_F(Fading, AnimationAloneFadesToOpaqueAndDropsTheLayeredStyle) {
  SkinnedForm& f = Secondary();
  f.skin->AlphaBlendAnimation = true;
  AlphaSteps expect = Ramp(255);
  expect.push_back(std::nullopt);
  EXPECT_EQ(ShowAndFade(f), expect);
  EXPECT_EQ(f.form->Alpha(), std::nullopt);
}

TEST_F(Fading, AnimationWithAlphaBlendStopsAtTheValue) {
  SkinnedForm& f = Secondary();
  f.skin->SetAlphaBlendValue(102);
  f.skin->SetAlphaBlend(true);
  EXPECT_EQ(f.form->Alpha(), 102);
  f.skin->AlphaBlendAnimation = true;
  EXPECT_EQ(ShowAndFade(f), Ramp(102));
  EXPECT_EQ(f.form->Alpha(), 102);
}

TEST_F(Fading, AlphaBlendWithoutAnimationJumpsToTheValue) {
  SkinnedForm& f = Secondary();
  f.skin->SetAlphaBlend(true);
  EXPECT_EQ(f.form->Alpha(), 200);
  EXPECT_EQ(ShowAndFade(f), (AlphaSteps{std::uint8_t(0), std::uint8_t(200)}));
  f.skin->SetAlphaBlendValue(90);
  EXPECT_EQ(f.form->Alpha(), 90);
  f.skin->SetAlphaBlend(false);
  EXPECT_EQ(f.form->Alpha(), std::nullopt);
  f.skin->SetAlphaBlendValue(80);  // not blending: the window stays opaque
  EXPECT_EQ(f.form->Alpha(), std::nullopt);
}

TEST_F(Fading, NothingWithoutLayeredWindows) {
  headless::SetLayeredWindowsAvailable(false);
  SkinnedForm& f = Secondary();
  f.skin->SetAlphaBlend(true);
  f.skin->AlphaBlendAnimation = true;
  EXPECT_EQ(ShowAndFade(f), AlphaSteps{});
  EXPECT_TRUE(headless::AlphaChanges(*f.form).empty());
  EXPECT_EQ(f.form->Alpha(), std::nullopt);
}

}  // namespace
