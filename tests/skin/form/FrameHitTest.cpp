#include <gtest/gtest.h>

#include "FrameFixture.h"

namespace {

using formtest::FrameFixture;
using platform::Point;
using namespace skin;

struct HitCase {
  Point p;
  std::intptr_t expect;
};

using FrameHitTest = FrameFixture;

// The sample skin on a 300 x 200 sizable window: border 5, caption 29, rounded
// top corners cut from the mask.
TEST_F(FrameHitTest, SkinnedSizableFrame) {
  MakeForm(300, 200);
  const HitCase cases[] = {
      {{150, 100}, HTCLIENT},     {{5, 29}, HTCLIENT},        {{294, 194}, HTCLIENT},
      {{150, 1}, HTTOP},          {{150, 198}, HTBOTTOM},     {{2, 100}, HTLEFT},
      {{297, 100}, HTRIGHT},      {{1, 1}, HTTOPLEFT},        {{298, 1}, HTTOPRIGHT},
      {{1, 198}, HTBOTTOMLEFT},   {{298, 198}, HTBOTTOMRIGHT}, {{150, 15}, HTCAPTION},
      {{285, 15}, HTOBJECT},      // the close button
      {{15, 15}, HTOBJECT},       // the system-menu button
      {{100, 27}, HTOBJECT},      // frame below the caption, away from the edge
      {{150, 196}, HTBOTTOM},     // a solid mask area reaching the edge keeps the sizing border
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, c.p), c.expect);
  }
}

TEST_F(FrameHitTest, FixedMaximizedRolledUpAndBorderlessFrames) {
  // A frame that cannot be sized has no sizing edges.
  MakeForm(300, 200, true, platform::BorderStyle::Single);
  for (const HitCase& c : {HitCase{{150, 1}, HTOBJECT}, HitCase{{1, 1}, HTOBJECT}, HitCase{{150, 15}, HTCAPTION},
                           HitCase{{150, 100}, HTCLIENT}})
    EXPECT_EQ(Send(WM_NCHITTEST, 0, c.p), c.expect) << c.p.x << "," << c.p.y;

  // A rolled-up frame is a caption strip.
  auto& f = MakeForm(300, 200);
  f.SetRollUp(true);
  EXPECT_EQ(form->BoundsRect().Height(), 34);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, {150, 15}), HTCAPTION);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, {150, 1}), HTOBJECT);
  f.SetRollUp(false);
  EXPECT_EQ(form->BoundsRect().Height(), 200);

  // A borderless form still answers from the skin's layout.
  MakeForm(300, 200, true, platform::BorderStyle::None);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, {150, 100}), HTCLIENT);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, {150, 15}), HTCAPTION);
}

TEST_F(FrameHitTest, PlainFrameWithDefaultButtons) {
  MakeForm(300, 200, false);
  form->Perform(WM_NCPAINT);  // the first paint creates the default buttons
  ASSERT_EQ(skinForm->ObjectList.size(), 5u);
  const HitCase cases[] = {
      {{1, 1}, HTTOPLEFT},   {{298, 1}, HTTOPRIGHT}, {{1, 198}, HTBOTTOMLEFT}, {{298, 198}, HTBOTTOMRIGHT},
      {{150, 1}, HTTOP},     {{1, 100}, HTLEFT},     {{298, 100}, HTRIGHT},    {{150, 198}, HTBOTTOM},
      {{150, 10}, HTCAPTION}, {{150, 100}, HTCLIENT}, {{288, 10}, HTOBJECT},    {{10, 10}, HTOBJECT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, c.p), c.expect);
  }
  // The buttons from the right edge: close, maximize, minimize, roll-up; system menu left.
  EXPECT_EQ(Object("closebutton").ObjectRect, (platform::Rect{280, 4, 297, 21}));
  EXPECT_EQ(Object("rollupbutton").ObjectRect, (platform::Rect{229, 4, 246, 21}));
  EXPECT_EQ(Object("sysmenubutton").ObjectRect, (platform::Rect{3, 4, 20, 21}));
  EXPECT_EQ(skinForm->DefaultCaptionRect(), (platform::Rect{20, 3, 229, 19}));
}

TEST_F(FrameHitTest, OverlappingObjectsTheEarlierWins) {
  auto& f = MakeForm(300, 200);
  Activate();
  // Put the maximize button over the close button: the close button comes first.
  Object("maxbutton").ObjectRect = Object("closebutton").ObjectRect;
  const Point p = Centre(Object("closebutton").ObjectRect);
  f.UpdateHover(p.x, p.y, true);
  EXPECT_EQ(f.ObjectList[std::size_t(f.HoverIndex)]->IDName, "closebutton");
}

}  // namespace
