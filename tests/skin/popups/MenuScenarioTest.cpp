// The menu controller driven like a user would: opening, hovering into a
// submenu, keys, clicks, closing, and a level taller than the work area.
#include "MenuFixture.h"

namespace popuptest {
namespace {

using platform::vk::kDown;
using platform::vk::kEscape;
using platform::vk::kLeft;
using platform::vk::kReturn;
using platform::vk::kRight;
using platform::vk::kUp;

TEST_F(MenuFixture, OpensPlainLevelBelowThePointWithTheFirstItemHot) {
  Open(100, 100);
  ASSERT_EQ(menu.Levels.size(), 1u);
  EXPECT_TRUE(menu.IsOpen);
  skin::TskSkinPopupWindow& l = Level(0);
  EXPECT_FALSE(l.Skinned());
  const Rect b = l.BoundsRect();
  EXPECT_EQ(b.left, 100);
  EXPECT_EQ(b.top, 100);
  // Five items of 20, a divider of 4, the 2-pixel frame above and below.
  EXPECT_EQ(b.Height(), 5 * 20 + 4 + 4);
  EXPECT_EQ(l.ItemsArea, (Rect{2, 2, b.Width() - 2, b.Height() - 2}));
  EXPECT_EQ(l.LevelItems[2]->ItemRect, (Rect{2, 42, b.Width() - 2, 46}));
  EXPECT_EQ(l.HotIndex, 0);
  EXPECT_TRUE(l.LevelItems[0]->Hot);
  EXPECT_EQ(VisiblePopups(), 1);
  EXPECT_FALSE(headless::WindowImage(l).Empty());
}

TEST_F(MenuFixture, HoveringASubmenuItemOpensItAfterTheDelayAndRunsItsOwnCommandFirst) {
  Open();
  HoverOn(ItemCentre(0, 3));
  EXPECT_EQ(Level(0).HotIndex, 3);
  headless::AdvanceTime(400);
  EXPECT_EQ(menu.Levels.size(), 1u) << "the submenu waits 500 ms";
  headless::AdvanceTime(100);
  ASSERT_EQ(menu.Levels.size(), 2u);
  EXPECT_EQ(clicks["&Recent"], 1);
  EXPECT_TRUE(Level(0).LevelItems[3]->Opened);
  // Beside the parent item, the first item level with it.
  const Rect parent = Level(0).BoundsRect();
  const Rect sub = Level(1).BoundsRect();
  const Rect item = Level(0).LevelItems[3]->ItemRect;
  EXPECT_EQ(sub.left, Level(0).ClientToScreen({item.right, 0}).x + 1);
  EXPECT_GT(sub.left, parent.left);
  EXPECT_EQ(sub.top, parent.top + Level(0).LevelItems[3]->ItemRect.top - Level(1).ItemsArea.top);
  // Hovering in the submenu and clicking runs that item once, with every level closed.
  headless::ClickAt(ItemCentre(1, 1));
  EXPECT_EQ(clicks["&Two"], 1);
  EXPECT_EQ(openAtClick.count("&Two"), 0u);
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_TRUE(menu.Levels.empty());
  EXPECT_EQ(formClosedNotices, 1);
  headless::AdvanceTime(10);
  EXPECT_EQ(VisiblePopups(), 0);
}

TEST_F(MenuFixture, LeavingTheSubmenuItemBeforeTheDelayOpensNothing) {
  Open();
  HoverOn(ItemCentre(0, 3));
  HoverOn(ItemCentre(0, 1));
  headless::AdvanceTime(1000);
  EXPECT_EQ(menu.Levels.size(), 1u);
  EXPECT_EQ(menu.PendingItem, nullptr);
  EXPECT_EQ(clicks["&Recent"], 0);
}

TEST_F(MenuFixture, ArrowKeysSkipDividersAndDisabledItemsAndGoRoundAtTheEnds) {
  Open();
  Key(kDown);
  EXPECT_EQ(Level(0).HotIndex, 1);
  Key(kDown);
  EXPECT_EQ(Level(0).HotIndex, 3) << "the divider is passed";
  EXPECT_EQ(menu.Levels.size(), 1u) << "arrowing onto a submenu item does not open it";
  headless::AdvanceTime(1000);
  EXPECT_EQ(menu.Levels.size(), 1u);
  Key(kDown);
  EXPECT_EQ(Level(0).HotIndex, 5) << "the disabled item is passed";
  EXPECT_FALSE(Level(0).LevelItems[3]->Hot);
  Key(kDown);
  EXPECT_EQ(Level(0).HotIndex, 0);
  Key(kUp);
  EXPECT_EQ(Level(0).HotIndex, 5);
  Key(kUp);
  Key(kUp);
  EXPECT_EQ(Level(0).HotIndex, 1);
}

TEST_F(MenuFixture, RightOpensASubmenuLeftAndEscapeCloseOneLevelEach) {
  Open();
  Key(kDown);
  Key(kDown);
  Key(kRight);
  ASSERT_EQ(menu.Levels.size(), 2u);
  EXPECT_EQ(Level(1).HotIndex, 0);
  Key(kLeft);
  ASSERT_EQ(menu.Levels.size(), 1u);
  EXPECT_FALSE(Level(0).LevelItems[3]->Opened);
  Key(kLeft);
  EXPECT_EQ(menu.Levels.size(), 1u) << "Left does nothing on the only level";
  Key(kReturn);
  ASSERT_EQ(menu.Levels.size(), 2u);
  Key(kEscape);
  EXPECT_EQ(menu.Levels.size(), 1u);
  EXPECT_TRUE(menu.IsOpen);
  Key(kEscape);
  EXPECT_TRUE(menu.Levels.empty());
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_EQ(clicks["&Recent"], 2);
  headless::AdvanceTime(10);
  EXPECT_EQ(VisiblePopups(), 0);
}

TEST_F(MenuFixture, EnterRunsTheHotItemOnceAfterTheMenusClosed) {
  Open();
  Key(kDown);
  Key(kReturn);
  EXPECT_EQ(clicks["&Save"], 1);
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_TRUE(openAtClick.empty());
  EXPECT_FALSE(menu.IsOpen);
}

TEST_F(MenuFixture, AcceleratorsActivateEnabledItemsAndOnlyEnterDisabledOnes) {
  Open();
  Key('X');
  EXPECT_EQ(clicks["E&xit"], 1);
  Open();
  Key('p');
  EXPECT_EQ(clicks["&Print"], 0);
  EXPECT_TRUE(menu.IsOpen);
  EXPECT_EQ(Level(0).HotIndex, 4);
}

TEST_F(MenuFixture, ClicksOnADividerOrADisabledItemDoNothing) {
  Open();
  headless::ClickAt(ItemCentre(0, 2));
  headless::ClickAt(ItemCentre(0, 4));
  EXPECT_TRUE(menu.IsOpen);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(MenuFixture, AClickOutsideTheMenusClosesEveryLevel) {
  Open();
  Key(kDown);
  Key(kDown);
  Key(kRight);
  ASSERT_EQ(menu.Levels.size(), 2u);
  headless::ClickAt({700, 500});
  EXPECT_TRUE(menu.Levels.empty());
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_TRUE(clicks.size() == 1 && clicks["&Recent"] == 1);
  EXPECT_EQ(formClosedNotices, 1);
}

TEST_F(MenuFixture, EachOpeningControlHearsOfItsOwnMenuClosing) {
  platform::Window bar(platform::WindowKind::Popup);
  int notices = 0;
  bar.AddMessageHook([&](platform::Window&, platform::Message& m) {
    notices += m.msg == skin::SKM_SKINMENUCLOSED;
    return false;
  });
  menu.ShowMenu(&bar, nullptr, 0, {10, 10, 10, 10}, tree.Items, false);
  Open(300, 300);
  EXPECT_EQ(notices, 1) << "the replaced menu's control is told";
  ASSERT_EQ(menu.Levels.size(), 1u);
  EXPECT_EQ(Level(0).BoundsRect().left, 300);
  Key(kEscape);
  EXPECT_EQ(notices, 1) << "the second menu had no control to notify";

  menu.ShowMenu(&bar, nullptr, 0, {10, 10, 10, 10}, tree.Items, false);
  menu.ShowMenu(&bar, nullptr, 0, {10, 10, 10, 10}, tree.Items, false);
  EXPECT_EQ(notices, 2);
  Key(kEscape);
  EXPECT_EQ(notices, 3) << "the control that opened the second menu hears of its closing too";
  EXPECT_EQ(menu.NotifyControl, nullptr);
  EXPECT_EQ(formClosedNotices, 0) << "Escape closes without the form's notice";
}

TEST_F(MenuFixture, HiddenItemsAreLeftOutAndAnItemWithoutChildrenOpensNothing) {
  tree.Items[1].Visible = false;
  Open();
  EXPECT_EQ(Level(0).LevelItems.size(), 5u);
  EXPECT_EQ(Level(0).LevelItems[1]->MenuItem.Caption, "-");
  menu.CloseAllMenus();
  menu.ShowMenu(nullptr, nullptr, 0, {0, 0, 0, 0}, tree.Items[0], false);
  EXPECT_FALSE(menu.IsOpen);
  EXPECT_TRUE(menu.Levels.empty());
}

// Placement of a top-level menu against its anchor point, 800 x 600 work area,
// plain level 5 x 20 + 4 + 4 = 108 high.
struct PlacementCase {
  const char* name;
  platform::Point anchor;
  bool up;
  platform::Point expected;  // top-left; x -1: right of the anchor (side)
};

class MenuPlacement : public MenuFixture, public testing::WithParamInterface<PlacementCase> {};

TEST_P(MenuPlacement, FollowsTheWorkArea) {
  const PlacementCase& c = GetParam();
  menu.ShowMenu(nullptr, nullptr, 0, {c.anchor.x, c.anchor.y, c.anchor.x, c.anchor.y}, tree.Items, c.up);
  const Rect b = Level(0).BoundsRect();
  EXPECT_EQ(b.top, c.expected.y);
  EXPECT_EQ(b.left, c.expected.x < 0 ? c.anchor.x + 1 : c.expected.x);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MenuPlacement,
    testing::Values(PlacementCase{"below", {100, 100}, false, {100, 100}},
                    PlacementCase{"lower_half_opens_above", {100, 550}, false, {100, 550 - 108}},
                    PlacementCase{"upward", {100, 300}, true, {100, 300 - 108}},
                    PlacementCase{"upward_no_room_goes_below", {100, 50}, true, {100, 50}},
                    PlacementCase{"left_of_work_area", {-20, 100}, false, {0, 100}}),
    [](const testing::TestParamInfo<PlacementCase>& p) { return std::string(p.param.name); });

TEST_F(MenuFixture, ATopLevelMenuNearTheBottomFromTheUpperHalfIsPushedUpAndAside) {
  headless::SetWorkArea({0, 0, 800, 200});
  Open(100, 99);
  const Rect b = Level(0).BoundsRect();
  EXPECT_EQ(b.bottom, 200);
  EXPECT_EQ(b.left, 101);
}

TEST_F(MenuFixture, ASubmenuPastTheRightEdgeOpensOnTheLeft) {
  Open(700, 100);
  Key(kDown);
  Key(kDown);
  Key(kRight);
  ASSERT_EQ(menu.Levels.size(), 2u);
  const Rect item = Level(0).LevelItems[3]->ItemRect;
  EXPECT_EQ(Level(1).BoundsRect().right, Level(0).ClientToScreen({item.left, 0}).x - 1);
}

class ScrollingMenu : public MenuFixture {
 protected:
  ScrollingMenu() {
    headless::SetWorkArea({0, 0, 800, 200});
    for (int i = 0; i < 30; ++i) Add(tall.Items, "Item " + std::to_string(i));
    menu.ShowMenu(nullptr, nullptr, 0, {100, 150, 100, 150}, tall.Items, false);
  }
  platform::Menu tall;
};

TEST_F(ScrollingMenu, OpensAtTheTopBesideTheAnchorShowingWhatFitsBetweenTheMarkers) {
  skin::TskSkinPopupWindow& l = Level(0);
  EXPECT_TRUE(l.Scrolling);
  EXPECT_EQ(l.BoundsRect().top, 0);
  EXPECT_EQ(l.BoundsRect().Height(), 200);
  EXPECT_EQ(l.BoundsRect().left, 101);
  // Items between y = 12 and 188.
  EXPECT_EQ(l.ShownCount, 8);
  EXPECT_EQ(l.LevelItems[0]->ItemRect.top, 12);
  EXPECT_FALSE(l.LevelItems[8]->Shown);
}

TEST_F(ScrollingMenu, RestingOnTheDownMarkerScrollsOneItemPer100MsUntilTheEnd) {
  skin::TskSkinPopupWindow& l = Level(0);
  HoverOn(l.ClientToScreen({20, 200 - 6}));
  EXPECT_EQ(l.ScrollDir, 2);
  headless::AdvanceTime(100);
  EXPECT_EQ(l.TopIndex, 1);
  headless::AdvanceTime(300);
  EXPECT_EQ(l.TopIndex, 4);
  headless::AdvanceTime(5000);
  EXPECT_EQ(l.TopIndex, 22);
  EXPECT_EQ(l.ScrollDir, 0);
  EXPECT_TRUE(l.LevelItems[29]->Shown);
  // Back up on the other marker.
  HoverOn(l.ClientToScreen({20, 6}));
  EXPECT_EQ(l.ScrollDir, 1);
  headless::AdvanceTime(200);
  EXPECT_EQ(l.TopIndex, 20);
}

TEST_F(ScrollingMenu, ArrowsWrapAndScrollBetweenTheEnds) {
  skin::TskSkinPopupWindow& l = Level(0);
  EXPECT_EQ(l.HotIndex, 0);
  Key(kUp);
  EXPECT_EQ(l.HotIndex, 29);
  EXPECT_TRUE(l.LevelItems[29]->Shown) << "the last page shows the last item";
  EXPECT_EQ(l.TopIndex, 22);
  Key(kDown);
  EXPECT_EQ(l.HotIndex, 0);
  EXPECT_EQ(l.TopIndex, 0);
  for (int i = 0; i < 8; ++i) Key(kDown);
  EXPECT_EQ(l.HotIndex, 8);
  EXPECT_EQ(l.TopIndex, 1);
  EXPECT_TRUE(l.LevelItems[8]->Shown);
}

}  // namespace
}  // namespace popuptest
