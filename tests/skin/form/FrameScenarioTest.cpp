#include <gtest/gtest.h>

#include <vector>

#include "FrameFixture.h"
#include "platform/Input.h"
#include "skSkinHint.h"

namespace {

using formtest::FrameFixture;
using platform::Bitmap;
using platform::Point;
using platform::Rect;
using namespace skin;
namespace headless = platform::headless;

// Hover tracking and morphing run on 50 and 20 ms timers; a full morph is ten steps.
constexpr std::uint64_t kFullMorph = 300;
constexpr std::uint64_t kHoverTick = 60;

class FrameScenario : public FrameFixture {
 protected:
  void SetUp() override {
    MakeForm(300, 200);
    Activate();
    skinForm->OnMouseUpEvent = [this](TskSkinForm&, const std::string& id, int, int, const Rect&, TMouseButton) {
      ups.push_back(id);
    };
  }
  Point CloseCentre() { return Centre(Object("closebutton").ObjectRect); }
  void HoverAt(Point p) {
    headless::MouseAt(ToScreen(p));
    Send(msg::kNCHitTest, 0, p);
    // The hover timer runs from the moment the skin was applied.
    headless::AdvanceTime(kHoverTick);
  }
  std::vector<std::string> ups;
};

TEST_F(FrameScenario, HoveredCloseButtonLightsUpAndMorphs) {
  auto& close = dynamic_cast<TskSkinStdButtonObject&>(Object("closebutton"));
  ASSERT_TRUE(close.Morphing);
  HoverAt(CloseCentre());
  EXPECT_TRUE(close.Active);
  EXPECT_TRUE(close.MouseInside);
  EXPECT_TRUE(skinForm->HoverTimer.Running());
  EXPECT_TRUE(skinForm->MorphTimer.Running());
  headless::AdvanceTime(kFullMorph);
  EXPECT_DOUBLE_EQ(close.MorphFactor, 1.0);
  EXPECT_FALSE(skinForm->MorphTimer.Running());
  // At the morph's end the frame shows the button's active image.
  Bitmap expect(close.ObjectRect.Width(), close.ObjectRect.Height());
  expect.StretchRect(expect.BoundsRect(), *close.ActivePicture, close.ActiveSkinRect);
  const Bitmap& image = skinForm->FrameImage();
  for (int y = 0; y < expect.Height(); ++y)
    for (int x = 0; x < expect.Width(); ++x)
      ASSERT_EQ(image.Pixel(close.ObjectRect.left + x, close.ObjectRect.top + y), expect.Pixel(x, y)) << x << "," << y;
  // Every step went to the screen: what the form presented last is the frame.
  EXPECT_EQ(headless::PresentedFrame(*form), image);
  // Leaving the window morphs it back.
  headless::MouseAt({10, 10});
  headless::AdvanceTime(kHoverTick);
  EXPECT_FALSE(close.Active);
  headless::AdvanceTime(kFullMorph);
  EXPECT_DOUBLE_EQ(close.MorphFactor, 0.0);
  EXPECT_FALSE(skinForm->HoverTimer.Running());
  EXPECT_EQ(headless::PresentedFrame(*form), skinForm->FrameImage());
}

// The component draws the frame: the platform is told to draw none of its own
// while the component lives.
TEST_F(FrameScenario, FormDrawsNoFrameOfItsOwnWhileSkinned) {
  EXPECT_TRUE(form->OwnFrame());
  skinForm.reset();
  EXPECT_FALSE(form->OwnFrame());
}

TEST_F(FrameScenario, PressAndReleaseOnCloseClosesTheForm) {
  auto& close = dynamic_cast<TskSkinStdButtonObject&>(Object("closebutton"));
  HoverAt(CloseCentre());
  Send(msg::kNCLButtonDown, std::uintptr_t(hit::kObject), CloseCentre());
  EXPECT_TRUE(close.Down);
  EXPECT_EQ(platform::CaptureWindow(), form.get());
  EXPECT_FALSE(form->Closed());
  // Under the capture the release arrives as a client message.
  form->Perform(msg::kLButtonUp, 0, 0);
  EXPECT_TRUE(form->Closed());
  EXPECT_FALSE(close.Down);
  EXPECT_EQ(platform::CaptureWindow(), nullptr);
  EXPECT_EQ(ups, std::vector<std::string>{"closebutton"});
}

TEST_F(FrameScenario, PressMoveOffAndReleaseDoesNothing) {
  auto& close = dynamic_cast<TskSkinStdButtonObject&>(Object("closebutton"));
  HoverAt(CloseCentre());
  Send(msg::kNCLButtonDown, std::uintptr_t(hit::kObject), CloseCentre());
  // Onto the caption: while the close button holds the mouse, nothing else lights up.
  headless::MouseAt(ToScreen(Centre(Object("caption").ObjectRect)));
  headless::AdvanceTime(kHoverTick);
  EXPECT_EQ(skinForm->HoverIndex, -1);
  EXPECT_FALSE(close.Active);
  form->Perform(msg::kLButtonUp, 0, 0);
  EXPECT_FALSE(form->Closed());
  EXPECT_FALSE(close.Down);
  EXPECT_TRUE(ups.empty());
}

TEST_F(FrameScenario, ObjectHintsFollowTheHover) {
  TskSkinHint hint(form.get());
  skinForm->SetSkinHint(&hint);
  skinForm->ShowObjectHint = true;
  HoverAt(CloseCentre());
  EXPECT_EQ(hint.PendingText(), "closebutton");  // the record's hint
  // Without ShowObjectHint the next object shows none.
  skinForm->ShowObjectHint = false;
  HoverAt(Centre(Object("minbutton").ObjectRect));
  EXPECT_EQ(hint.PendingText(), "closebutton");
}

TEST_F(FrameScenario, InactiveFormNeverHighlights) {
  Activate(false);
  HoverAt(CloseCentre());
  EXPECT_FALSE(Object("closebutton").Active);
  EXPECT_EQ(skinForm->HoverIndex, -1);
}

TEST_F(FrameScenario, MaximizeButtonTogglesTheFramesOwnState) {
  headless::SetWorkArea({0, 0, 800, 560});
  const Point p = Centre(Object("maxbutton").ObjectRect);
  HoverAt(p);
  Send(msg::kNCLButtonDown, std::uintptr_t(hit::kObject), p);
  form->Perform(msg::kLButtonUp, 0, 0);
  EXPECT_EQ(skinForm->SkinWindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(form->BoundsRect(), (Rect{0, 0, 800, 560}));
  EXPECT_EQ(skinForm->Layout().Width, 800);
  EXPECT_EQ(skinForm->FrameImage().Width(), 800);  // repainted at the new size
  skinForm->SetSkinWindowState(TWindowState::wsNormal);
  EXPECT_EQ(form->BoundsRect(), (Rect{100, 100, 400, 300}));
}

TEST_F(FrameScenario, BorderIconsOnASkinnedFormKeepTheSkinsButtons) {
  skinForm->SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biMinimize | TskBorderIcon::biRollUp);
  auto& max = dynamic_cast<TskSkinStdButtonObject&>(Object("maxbutton"));
  EXPECT_TRUE(max.HasRecord);
  // Painted as part of the frame picture: it stays, but is inert.
  EXPECT_TRUE(max.Visible);
  EXPECT_FALSE(max.Enabled);
  EXPECT_EQ(max.ObjectRect, (Rect{254, 4, 275, 25}));
  HoverAt(Centre(max.ObjectRect));
  EXPECT_FALSE(max.Active);
  EXPECT_EQ(skinForm->HoverIndex, -1);
}

TEST_F(FrameScenario, SystemMenuButtonDoubleClickCloses) {
  const Point p = Centre(Object("sysmenubutton").ObjectRect);
  HoverAt(p);
  Send(msg::kNCLButtonDblClk, std::uintptr_t(hit::kObject), p);
  EXPECT_TRUE(form->Closed());
}

TEST_F(FrameScenario, SkinChangesRebuildTheObjectsAndRemovalGoesPlain) {
  int changes = 0;
  skinForm->OnChangeSkinData = [&](TskSkinForm&) { ++changes; };
  HoverAt(CloseCentre());
  ASSERT_TRUE(Object("closebutton").Active);
  data->LoadFromStoredSkin(stored);  // sends the three skin-change messages to the form
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(skinForm->SkinActive());
  EXPECT_FALSE(Object("closebutton").Active);  // a new object
  EXPECT_EQ(skinForm->HoverIndex, -1);
  // A change of another skin data is not ours.
  TskSkinData other;
  form->Perform(SKM_BEFORECHANGE, reinterpret_cast<std::uintptr_t>(&other), kSkinMessageTag);
  EXPECT_TRUE(skinForm->SkinActive());
  // The skin data goes away: plain frame, no region, nothing drawn from it.
  data.reset();
  EXPECT_EQ(skinForm->SkinData(), nullptr);
  EXPECT_FALSE(skinForm->SkinActive());
  EXPECT_FALSE(form->WindowRegion());
  form->Perform(msg::kNCPaint);
  EXPECT_EQ(skinForm->ObjectList.size(), 5u);  // the plain frame's buttons
}

TEST_F(FrameScenario, DestroyedComponentGivesTheFormItsOwnHandling) {
  skinForm.reset();
  Rect r{0, 0, 300, 200};
  form->Perform(msg::kNCCalcSize, 0, reinterpret_cast<std::intptr_t>(&r));
  EXPECT_EQ(r, (Rect{0, 0, 300, 200}));  // untouched: no component answers
  EXPECT_EQ(form->Perform(msg::kNCHitTest, 0, 0), 0);
}

}  // namespace

// A popup menu of the form shows through the form's own menu controller, in the
// menus' skin when one is set, and whatever closes menus closes it.
TEST_F(FrameScenario, PopupMenuOfTheFormOpensThroughItsSkinMenuAndClosesOnAClick) {
  TskSkinData menuSkin(form.get());
  menuSkin.LoadFromStoredSkin(stored);
  skinForm->SetMenusSkinData(&menuSkin);
  int opened = 0, closed = 0;
  skinForm->OnSkinMenuOpen = [&](TskSkinForm&) { ++opened; };
  skinForm->OnSkinMenuClose = [&](TskSkinForm&) { ++closed; };
  TskSkinPopupMenu menu(form.get());
  menu.Items.Add("&Open");
  menu.Items.Add("E&xit");

  menu.Popup(150, 150);
  ASSERT_EQ(skinForm->SkinMenu().Levels.size(), 1u);
  EXPECT_EQ(menu.SkinData(), &menuSkin);
  EXPECT_TRUE(skinForm->MenuOpen());
  EXPECT_EQ(opened, 1);

  form->Perform(platform::msg::kLButtonDown, 0, platform::PointToParam({20, 20}));
  EXPECT_TRUE(skinForm->SkinMenu().Levels.empty());
  EXPECT_FALSE(skinForm->MenuOpen());
  EXPECT_EQ(closed, 1);
}
