// The hint component and its window: delays, placement, the two looks and the
// one-active-component rule.
#include <gtest/gtest.h>

#include "SampleSkin.h"
#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/SysColors.h"
#include "platform/headless/Driver.h"
#include "skSkinHint.h"

namespace popuptest {
namespace {

namespace headless = platform::headless;
using platform::SysColor;
using platform::SysColour;

class HintFixture : public testing::Test {
 protected:
  HintFixture() {
    headless::Reset();
    headless::SetEcho(false);
    headless::UseVirtualClock(true);
    headless::SetDesktopSize(800, 600);
    headless::MouseAt({100, 100});
  }
  ~HintFixture() override { headless::UseVirtualClock(false); }
  const skin::TskSkinHintWindow& Window() { return hint.OwnHintWindow(); }

  platform::Application app;
  platform::Window mainForm;
  skin::TskSkinHint hint{&mainForm};
};

TEST_F(HintFixture, APlainHintShowsAfterTheDelayBelowTheCursorAndHidesLater) {
  hint.ShowHintText("Open");
  headless::AdvanceTime(skin::TskHintTiming::HintPause - 1);
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(1);
  ASSERT_TRUE(Window().Visible());
  const platform::Point text = platform::TextExtent(hint.DefaultFont(), "Open", platform::textflag::kCenter);
  const platform::Rect b = Window().BoundsRect();
  EXPECT_EQ(b, (platform::Rect{100, 100 + platform::CursorDepthBelowHotSpot(), 100 + text.x + 4,
                               100 + platform::CursorDepthBelowHotSpot() + text.y + 4}));
  const platform::Bitmap& image = headless::WindowImage(Window());
  EXPECT_EQ(image.Pixel(0, 0), SysColor(SysColour::BtnShadow));
  EXPECT_EQ(image.Pixel(1, 1), SysColor(SysColour::InfoBk));
  // The text starts at (2, 2) in the info text colour.
  bool ink = false;
  for (int y = 2; y < image.Height() - 2; ++y)
    for (int x = 2; x < image.Width() - 2; ++x) ink = ink || image.Pixel(x, y) == SysColor(SysColour::InfoText);
  EXPECT_TRUE(ink);
  headless::AdvanceTime(skin::TskHintTiming::HintHidePause);
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(10000);
  EXPECT_FALSE(Window().Visible());
}

// Controls' own hints appear in the skinned hint window after the application's
// pause, through the component's OnShowHint, and go when the mouse leaves or clicks.
TEST_F(HintFixture, ControlsHintsShowInTheSkinnedWindowThroughOnShowHint) {
  mainForm.SetBounds({0, 0, 400, 300});
  mainForm.Show();
  platform::Window track(mainForm), sign(mainForm), plain(mainForm);
  track.SetBounds({10, 10, 110, 40});
  sign.SetBounds({120, 10, 220, 40});
  plain.SetBounds({230, 10, 330, 40});
  for (platform::Window* w : {&track, &sign, &plain}) w->Show();
  track.Hint = "Track the consignment";
  sign.Hint = "Sign";
  std::vector<std::string> asked;
  hint.OnShowHint = [&](std::string& text, bool& canShow, platform::HintInfo& info) {
    asked.push_back(text);
    EXPECT_EQ(info.HintControl == &track || info.HintControl == &sign, true);
    if (text == "Sign") text = "签收 (Sign)";
    canShow = text != "veto";
  };
  const platform::Point inTrack = mainForm.ClientToScreen({50, 20}), inSign = mainForm.ClientToScreen({150, 20});
  headless::MouseAt(inTrack);
  headless::AdvanceTime(skin::TskHintTiming::HintPause - 1);
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(1);
  ASSERT_TRUE(Window().Visible());
  EXPECT_EQ(Window().Text(), "Track the consignment");
  EXPECT_EQ(Window().BoundsRect().left, inTrack.x) << "at the cursor";
  // On to the next control: its hint follows after the short pause, with the text OnShowHint gave.
  headless::MouseAt(inSign);
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(skin::TskHintTiming::HintShortPause);
  ASSERT_TRUE(Window().Visible());
  EXPECT_EQ(Window().Text(), "签收 (Sign)");
  // Leaving hides it; a control without a hint shows none.
  headless::MouseAt(mainForm.ClientToScreen({250, 20}));
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(skin::TskHintTiming::HintPause * 2);
  EXPECT_FALSE(Window().Visible());
  // A click before the pause ends cancels the hint; a veto keeps it away.
  headless::MouseAt(inTrack);
  headless::ClickAt(inTrack);
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  EXPECT_FALSE(Window().Visible());
  track.Hint = "veto";
  headless::MouseAt(inSign);
  headless::MouseAt(inTrack);
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  EXPECT_FALSE(Window().Visible());
  EXPECT_EQ(asked, (std::vector<std::string>{"Track the consignment", "Sign", "veto"}));
}

TEST_F(HintFixture, ShowingAgainBeforeTheDelayRestartsItWithTheNewText) {
  hint.ShowHintText("first");
  headless::AdvanceTime(400);
  hint.ShowHintText("second");
  headless::AdvanceTime(400);
  EXPECT_FALSE(Window().Visible());
  headless::AdvanceTime(100);
  ASSERT_TRUE(Window().Visible());
  EXPECT_EQ(Window().Text(), "second");
  hint.HideHintText();
  EXPECT_FALSE(Window().Visible());
}

TEST_F(HintFixture, AHintAtTheScreenEdgesMovesBackByItsSizePlusTwo) {
  headless::MouseAt({795, 590});
  hint.ShowHintText("Edge");
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  const platform::Rect b = Window().BoundsRect();
  EXPECT_EQ(b.left, 795 - b.Width() - 2);
  EXPECT_EQ(b.top, 590 + platform::CursorDepthBelowHotSpot() - b.Height() - 2);
}

TEST_F(HintFixture, OnlyTheOneActiveComponentOfTheMainFormServesHints) {
  skin::TskSkinHint second(&mainForm);
  second.SetActive(true);
  EXPECT_FALSE(hint.Active());
  EXPECT_EQ(skin::TskSkinHint::ServingComponent(), &second);
  second.SetActive(false);
  hint.ShowHintText("nobody serves");
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  EXPECT_FALSE(Window().Visible());
  // A component on another form never serves.
  platform::Window other;
  skin::TskSkinHint elsewhere(&other);
  EXPECT_EQ(skin::TskSkinHint::ServingComponent(), nullptr);
}

TEST_F(HintFixture, ASkinnedHintIsAtLeastAsLargeAsItsPictureAndDrawnFromIt) {
  LoadedSkin skin;
  hint.SetSkinData(&skin.data);
  hint.ShowHintText("a");
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  ASSERT_TRUE(Window().Visible());
  EXPECT_EQ(Window().ActiveSkin, &skin.data);
  const platform::Bitmap& picture = skin.Picture(skin.data.HintWindow.windowpictureindex);
  const platform::Rect b = Window().BoundsRect();
  EXPECT_EQ(b.Width(), picture.Width());
  EXPECT_EQ(b.Height(), picture.Height());
  const platform::Bitmap& image = headless::WindowImage(Window());
  EXPECT_EQ(image.Pixel(picture.Width() / 2, 1), picture.Pixel(picture.Width() / 2, 1));
  EXPECT_TRUE(Window().WindowRegion().has_value()) << "shaped by the mask";

  // A long text widens it beyond the picture, keeping the edges' widths.
  hint.ShowHintText("a much longer hint text");
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  EXPECT_GT(Window().BoundsRect().Width(), picture.Width());
}

TEST_F(HintFixture, AnEmptySkinOrAMissingPictureGivesThePlainLook) {
  LoadedSkin skin;
  skin.data.HintWindow.windowpictureindex = 99;
  hint.SetSkinData(&skin.data);
  hint.ShowHintText("plain");
  headless::AdvanceTime(skin::TskHintTiming::HintPause);
  EXPECT_EQ(Window().ActiveSkin, nullptr);
  EXPECT_EQ(headless::WindowImage(Window()).Pixel(1, 1), SysColor(SysColour::InfoBk));
}

}  // namespace
}  // namespace popuptest
