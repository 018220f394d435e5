#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "skFrameLayout.h"

namespace {

using platform::Point;
using platform::Rect;
using skin::CalcFrameLayout;
using skin::MapSkinRect;
using skin::TskSkinData;

// The geometry of the launcher's stored skin: a 152 x 125 frame picture.
void StoredSkinGeometry(TskSkinData& s) {
  s.Picture.SetSize(152, 125);
  s.lefttoppoint = {29, 29};
  s.righttoppoint = {53, 29};
  s.leftbottompoint = {6, 118};
  s.rightbottompoint = {146, 119};
  s.clientrect = {5, 29, 147, 120};
  s.maskrectarea = {3, 4, 149, 122};
  s.hittestlefttoppoint = {3, 4};
  s.hittestrighttoppoint = {149, 4};
  s.hittestleftbottompoint = {6, 120};
  s.hittestrightbottompoint = {146, 120};
  s.captionrect = {27, 6, 125, 24};
  s.buttonsrect = {58, 4, 148, 25};
  s.Empty = false;
}

struct LayoutCase {
  int w, h;
  Point rt, lb, rb;
  Rect client, mask, caption, buttons;
  Point hitLB;
};

TEST(FrameLayout, CornerPointsClientMaskCaptionAndButtonsFollowTheSize) {
  TskSkinData s;
  StoredSkinGeometry(s);
  const LayoutCase cases[] = {
      // The picture's own size reproduces the skin's values.
      {152, 125, {53, 29}, {6, 118}, {146, 119}, {5, 29, 147, 120}, {3, 4, 149, 122}, {27, 6, 125, 24},
       {58, 4, 148, 25}, {6, 120}},
      {474, 271, {375, 29}, {6, 264}, {468, 265}, {5, 29, 469, 266}, {3, 4, 471, 268}, {27, 6, 447, 24},
       {58, 4, 148, 25}, {6, 266}},
      // The minimum frame: the client area has no height left.
      {152, 34, {53, 29}, {6, 27}, {146, 28}, {5, 29, 147, 29}, {3, 4, 149, 31}, {27, 6, 125, 24},
       {58, 4, 148, 25}, {6, 29}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    const auto l = CalcFrameLayout(s, c.w, c.h);
    EXPECT_EQ(l.NewLTPoint, (Point{29, 29}));
    EXPECT_EQ(l.NewRTPoint, c.rt);
    EXPECT_EQ(l.NewLBPoint, c.lb);
    EXPECT_EQ(l.NewRBPoint, c.rb);
    EXPECT_EQ(l.NewClientRect, c.client);
    EXPECT_EQ(l.NewMaskRectArea, c.mask);
    EXPECT_EQ(l.NewCaptionRect, c.caption);
    // A button row left of the picture's middle stays where it is.
    EXPECT_EQ(l.NewButtonsRect, c.buttons);
    EXPECT_EQ(l.NewHitLB, c.hitLB);
  }
  // A button row right of the middle moves with the right edge.
  s.buttonsrect = {90, 4, 148, 25};
  EXPECT_EQ(CalcFrameLayout(s, 474, 271).NewButtonsRect, (Rect{412, 4, 470, 25}));
}

TEST(FrameLayout, SkinRectanglesMoveOrStretchByTheirCornerZones) {
  TskSkinData s;
  StoredSkinGeometry(s);
  const auto l = CalcFrameLayout(s, 474, 271);
  const std::pair<Rect, Rect> cases[] = {
      {{27, 6, 56, 24}, {27, 6, 378, 24}},        // LT to RT: stretched with the width
      {{127, 4, 148, 25}, {449, 4, 470, 25}},     // inside RT: moved right
      {{58, 4, 79, 25}, {380, 4, 401, 25}},       // inside RT
      {{6, 7, 23, 23}, {6, 7, 23, 23}},           // inside LT: unchanged
      {{1, 119, 5, 124}, {1, 265, 5, 270}},       // inside LB: moved down
      {{147, 120, 150, 124}, {469, 266, 472, 270}},  // inside RB: moved both ways
      {{1, 1, 148, 121}, {1, 1, 470, 267}},       // LT to RB: stretched both ways
      {{1, 1, 4, 121}, {1, 1, 4, 267}},           // LT to LB: taller
      {{2, 119, 148, 123}, {2, 265, 470, 269}},   // LB to RB: wider and moved down
      {{60, 1, 148, 121}, {382, 1, 470, 267}},    // RT to RB: moved right and taller
      {{30, 30, 40, 40}, {30, 30, 40, 40}},       // the middle: unchanged
  };
  for (const auto& [in, out] : cases) {
    SCOPED_TRACE(testing::Message() << in.left << "," << in.top << "," << in.right << "," << in.bottom);
    EXPECT_EQ(MapSkinRect(s, l, in), out);
  }
}

TEST(FrameLayout, ClientRectangleInsideTheWindow) {
  TskSkinData s;
  StoredSkinGeometry(s);
  // A framed form's client area is 5 pixels in from the sides and bottom, 29 from the top.
  EXPECT_EQ(skin::SkinnedClientRect(s, {100, 50, 574, 321}), (Rect{105, 79, 569, 316}));
  // Too small a window leaves an empty client area, never an inverted one.
  EXPECT_EQ(skin::SkinnedClientRect(s, {0, 0, 8, 20}), (Rect{5, 29, 5, 29}));
  // A client area reaching the picture's right and bottom edges reaches the window's.
  s.clientrect = {5, 29, 152, 125};
  EXPECT_EQ(skin::SkinnedClientRect(s, {0, 0, 300, 200}), (Rect{5, 29, 300, 200}));
  // The plain frame: 3-pixel border and a 19-pixel caption.
  EXPECT_EQ(skin::DefaultClientRect({0, 0, 300, 200}, 19), (Rect{3, 22, 297, 197}));
}

using FormLayout = formtest::FrameFixture;

TEST_F(FormLayout, MinimumFrameSizeIsEnforcedWhenTheSkinIsApplied) {
  struct Case {
    int w, h;
    int expectW, expectH;
  };
  // The sample skin's minimum is its picture width and its frame height (125 - 91).
  const Case cases[] = {{100, 30, 152, 34}, {100, 200, 152, 200}, {300, 30, 300, 34}, {300, 200, 300, 200}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << " x " << c.h);
    auto& f = MakeForm(c.w, c.h);
    EXPECT_EQ(f.MinFrameWidth(), 152);
    EXPECT_EQ(f.MinFrameHeight(), 34);
    EXPECT_EQ(form->BoundsRect(), (Rect{100, 100, 100 + c.expectW, 100 + c.expectH}));
    EXPECT_EQ(f.Layout().Width, c.expectW);
    EXPECT_EQ(f.Layout().Height, c.expectH);
  }
}

TEST_F(FormLayout, MinimumSizePropertiesAndThePlainFrame) {
  auto& f = MakeForm(300, 200, false);
  EXPECT_EQ(f.MinFrameWidth(), 120);
  EXPECT_EQ(f.MinFrameHeight(), 25);  // caption and both borders
  f.MinWidth = 200;
  f.MinHeight = 90;
  EXPECT_EQ(f.MinFrameWidth(), 200);
  EXPECT_EQ(f.MinFrameHeight(), 90);
  platform::MinMaxInfo info{};
  form->Perform(skin::msg::kGetMinMaxInfo, 0, reinterpret_cast<std::intptr_t>(&info));
  EXPECT_EQ(info.minTrackSize, (Point{200, 90}));
  // With the skin: the picture width unless MinWidth is larger.
  f.SetSkinData(data.get());
  data->LoadFromStoredSkin(stored);
  EXPECT_TRUE(f.SkinActive());
  EXPECT_EQ(f.MinFrameWidth(), 200);
  f.MinWidth = 100;
  EXPECT_EQ(f.MinFrameWidth(), 152);
}

TEST_F(FormLayout, NonClientSizeMessageGivesTheClientRectangle) {
  struct Case {
    bool skinned;
    platform::BorderStyle border;
    Rect expect;
  };
  const Case cases[] = {
      {true, platform::BorderStyle::Sizeable, {105, 129, 395, 295}},
      {false, platform::BorderStyle::Sizeable, {103, 122, 397, 297}},
      {true, platform::BorderStyle::Single, {105, 129, 395, 295}},
      // A borderless form keeps its whole window as client area.
      {true, platform::BorderStyle::None, {100, 100, 400, 300}},
      {false, platform::BorderStyle::None, {100, 100, 400, 300}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.skinned << " " << int(c.border));
    MakeForm(300, 200, c.skinned, c.border);
    Rect r{100, 100, 400, 300};
    EXPECT_EQ(form->Perform(skin::msg::kNCCalcSize, 0, reinterpret_cast<std::intptr_t>(&r)), 0);
    EXPECT_EQ(r, c.expect);
  }
}

}  // namespace
