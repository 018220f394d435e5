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
      {{150, 100}, hit::kClient},     {{5, 29}, hit::kClient},        {{294, 194}, hit::kClient},
      {{150, 1}, hit::kTop},          {{150, 198}, hit::kBottom},     {{2, 100}, hit::kLeft},
      {{297, 100}, hit::kRight},      {{1, 1}, hit::kTopLeft},        {{298, 1}, hit::kTopRight},
      {{1, 198}, hit::kBottomLeft},   {{298, 198}, hit::kBottomRight}, {{150, 15}, hit::kCaption},
      {{285, 15}, hit::kObject},      // the close button
      {{15, 15}, hit::kObject},       // the system-menu button
      {{100, 27}, hit::kObject},      // frame below the caption, away from the edge
      {{150, 196}, hit::kBottom},     // a solid mask area reaching the edge keeps the sizing border
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(Send(msg::kNCHitTest, 0, c.p), c.expect);
  }
}

TEST_F(FrameHitTest, FixedMaximizedRolledUpAndBorderlessFrames) {
  // A frame that cannot be sized has no sizing edges.
  MakeForm(300, 200, true, platform::BorderStyle::Single);
  for (const HitCase& c : {HitCase{{150, 1}, hit::kObject}, HitCase{{1, 1}, hit::kObject}, HitCase{{150, 15}, hit::kCaption},
                           HitCase{{150, 100}, hit::kClient}})
    EXPECT_EQ(Send(msg::kNCHitTest, 0, c.p), c.expect) << c.p.x << "," << c.p.y;

  // A rolled-up frame is a caption strip.
  auto& f = MakeForm(300, 200);
  f.SetRollUp(true);
  EXPECT_EQ(form->BoundsRect().Height(), 34);
  EXPECT_EQ(Send(msg::kNCHitTest, 0, {150, 15}), hit::kCaption);
  EXPECT_EQ(Send(msg::kNCHitTest, 0, {150, 1}), hit::kObject);
  f.SetRollUp(false);
  EXPECT_EQ(form->BoundsRect().Height(), 200);

  // A borderless form still answers from the skin's layout.
  MakeForm(300, 200, true, platform::BorderStyle::None);
  EXPECT_EQ(Send(msg::kNCHitTest, 0, {150, 100}), hit::kClient);
  EXPECT_EQ(Send(msg::kNCHitTest, 0, {150, 15}), hit::kCaption);
}

TEST_F(FrameHitTest, PlainFrameWithDefaultButtons) {
  MakeForm(300, 200, false);
  form->Perform(msg::kNCPaint);  // the first paint creates the default buttons
  ASSERT_EQ(skinForm->ObjectList.size(), 5u);
  const HitCase cases[] = {
      {{1, 1}, hit::kTopLeft},   {{298, 1}, hit::kTopRight}, {{1, 198}, hit::kBottomLeft}, {{298, 198}, hit::kBottomRight},
      {{150, 1}, hit::kTop},     {{1, 100}, hit::kLeft},     {{298, 100}, hit::kRight},    {{150, 198}, hit::kBottom},
      {{150, 10}, hit::kCaption}, {{150, 100}, hit::kClient}, {{288, 10}, hit::kObject},    {{10, 10}, hit::kObject},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.p.x << "," << c.p.y);
    EXPECT_EQ(Send(msg::kNCHitTest, 0, c.p), c.expect);
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
