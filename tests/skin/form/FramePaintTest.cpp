#include <gtest/gtest.h>

#include "FrameFixture.h"
#include "platform/SysColors.h"
#include "skEffects.h"
#include "skFrameLayout.h"
#include "skUtils.h"

namespace {

using formtest::FrameFixture;
using platform::Bitmap;
using platform::Rect;
using namespace skin;

// Whether `image` at (x, y) holds `r` of `source` pixel for pixel.
::testing::AssertionResult SamePixels(const Bitmap& image, int x, int y, const Bitmap& source, const Rect& r) {
  for (int sy = r.top; sy < r.bottom; ++sy)
    for (int sx = r.left; sx < r.right; ++sx)
      if (image.Pixel(x + sx - r.left, y + sy - r.top) != source.Pixel(sx, sy))
        return ::testing::AssertionFailure() << "differs at source " << sx << "," << sy;
  return ::testing::AssertionSuccess();
}

using FramePaint = FrameFixture;

TEST_F(FramePaint, PictureSizedFrameReproducesThePicture) {
  MakeForm(skingen::kFrameWidth, skingen::kFrameHeight);
  Activate();
  const Bitmap& image = skinForm->FrameImage();
  ASSERT_EQ(image.Width(), skingen::kFrameWidth);
  const Bitmap& picture = data->Picture;
  const Rect& c = data->clientrect;
  // Everything but the client area, strip by strip.
  EXPECT_TRUE(SamePixels(image, 0, 0, picture, {0, 0, picture.Width(), c.top}));
  EXPECT_TRUE(SamePixels(image, 0, c.bottom, picture, {0, c.bottom, picture.Width(), picture.Height()}));
  EXPECT_TRUE(SamePixels(image, 0, c.top, picture, {0, c.top, c.left, c.bottom}));
  EXPECT_TRUE(SamePixels(image, c.right, c.top, picture, {c.right, c.top, picture.Width(), c.bottom}));
  // Inactive, the inactive picture is shown unchanged (no automatic rendering).
  ASSERT_FALSE(data->InactivePicture.Empty());
  Activate(false);
  EXPECT_TRUE(SamePixels(skinForm->FrameImage(), 0, 0, data->InactivePicture, {0, 0, picture.Width(), c.top}));
}

TEST_F(FramePaint, InactiveFrameRenderedWithTheSkinsEffect) {
  MakeForm(skingen::kFrameWidth, skingen::kFrameHeight);
  data->autorenderinginactiveimage = true;
  data->inactiveeffect = TInactiveEffect::ieInvert;
  Activate(false);
  const Bitmap& image = skinForm->FrameImage();
  // The inactive picture through the effect, pixel for pixel.
  TskEffectBmp expect(data->InactivePicture);
  expect.ApplyInactiveEffect(TInactiveEffect::ieInvert);
  const Bitmap reference = expect.ToBitmap();
  EXPECT_TRUE(SamePixels(image, 0, 0, reference, {0, 0, reference.Width(), data->clientrect.top}));
  EXPECT_NE(image.Pixel(10, 2), data->InactivePicture.Pixel(10, 2));
}

TEST_F(FramePaint, LargerFrameKeepsItsCornersAndMovesTheRightAndBottomParts) {
  MakeForm(300, 200);
  Activate();
  const Bitmap& image = skinForm->FrameImage();
  const Bitmap& p = data->Picture;
  const int dx = 300 - p.Width(), dy = 200 - p.Height();
  const auto& lt = data->lefttoppoint;
  const auto& rt = data->righttoppoint;
  const auto& lb = data->leftbottompoint;
  const auto& rb = data->rightbottompoint;
  // The top-left corner up to the caption's start stays; the right part, buttons
  // included, moves with the width; the bottom corners move down.
  EXPECT_TRUE(SamePixels(image, 0, 0, p, {0, 0, lt.x, lt.y}));
  EXPECT_TRUE(SamePixels(image, rt.x + dx, 0, p, {rt.x, 0, p.Width(), rt.y}));
  const int bottom = data->clientrect.bottom;
  EXPECT_TRUE(SamePixels(image, 0, bottom + dy, p, {0, bottom, lb.x, p.Height()}));
  EXPECT_TRUE(SamePixels(image, rb.x + dx, bottom + dy, p, {rb.x, bottom, p.Width(), p.Height()}));
  // The client area is left to the form.
  EXPECT_EQ(skinForm->Layout().NewClientRect, (Rect{5, 29, 295, 195}));
}

TEST_F(FramePaint, CaptionTextIsDrawnAndShortened) {
  MakeForm(300, 200);
  Activate();
  const Bitmap plain = skinForm->FrameImage();
  form->SetCaption("正在从本地进行升级 . . .");
  form->Perform(msg::kSetText);
  const Bitmap& captioned = skinForm->FrameImage();
  const Rect cap = Object("caption").ObjectRect;
  bool changedInside = false, changedOutside = false;
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) {
      if (plain.Pixel(x, y) == captioned.Pixel(x, y)) continue;
      const bool inside = x >= cap.left && x < cap.right + 1 && y >= cap.top && y < cap.bottom + 1;  // + shadow
      (inside ? changedInside : changedOutside) = true;
    }
  EXPECT_TRUE(changedInside);
  EXPECT_FALSE(changedOutside);
}

// The caption's text pixels are letters a reader recognises, not blocks: a T is a
// bar over a stem, an i a dot over a stem, an l one thin stroke, and a Chinese
// character a pattern of strokes that leaves much of its square empty.
TEST_F(FramePaint, CaptionTextShowsGlyphShapes) {
  MakeForm(300, 200);
  Activate();
  form->SetCaption("Til 皮肤");
  form->Perform(msg::kSetText);
  const Bitmap& image = skinForm->FrameImage();
  const Rect cap = Object("caption").ObjectRect;
  const platform::Colour text =
      dynamic_cast<TskDataSkinCaption&>(*data->SkinObjects[std::size_t(data->GetObjectIndex("caption"))]).activefontcolor;
  auto ink = [&](int x, int y) { return image.Pixel(x, y) == text; };
  // Glyphs are the runs of columns with ink, split by empty columns.
  struct Box {
    int left, right, top = 1 << 20, bottom = -1;
  };
  std::vector<Box> glyphs;
  for (int x = cap.left; x < cap.right; ++x) {
    bool any = false;
    for (int y = cap.top; y < cap.bottom; ++y)
      if (ink(x, y)) {
        if (!any && (glyphs.empty() || glyphs.back().right != x)) glyphs.push_back({x, x});
        any = true;
        glyphs.back().top = std::min(glyphs.back().top, y);
        glyphs.back().bottom = std::max(glyphs.back().bottom, y + 1);
      }
    if (any) glyphs.back().right = x + 1;
  }
  ASSERT_EQ(glyphs.size(), 5u);
  auto rowWidth = [&](const Box& b, int y) {
    int n = 0;
    for (int x = b.left; x < b.right; ++x) n += ink(x, y);
    return n;
  };
  const Box &t = glyphs[0], &i = glyphs[1], &l = glyphs[2];
  EXPECT_GE(rowWidth(t, t.top), 5) << "the T's bar";
  for (int y = (t.top + t.bottom) / 2; y < t.bottom; ++y) EXPECT_LE(rowWidth(t, y), 3) << "the T's stem at row " << y;
  bool gap = false;
  for (int y = i.top; y < i.bottom; ++y) gap = gap || rowWidth(i, y) == 0;
  EXPECT_TRUE(gap) << "the i's dot stands apart from its stem";
  EXPECT_LE(l.right - l.left, 3);
  EXPECT_GE(l.bottom - l.top, 7);
  for (std::size_t k = 3; k < glyphs.size(); ++k) {
    const Box& c = glyphs[k];
    int inked = 0;
    for (int y = c.top; y < c.bottom; ++y) inked += rowWidth(c, y);
    const double share = double(inked) / ((c.right - c.left) * (c.bottom - c.top));
    EXPECT_GE(c.right - c.left, 8) << "character " << k;
    EXPECT_GT(share, 0.2) << "character " << k;
    EXPECT_LT(share, 0.75) << "character " << k;
  }
}

TEST_F(FramePaint, PlainFrameBevelsCaptionAndButtons) {
  MakeForm(200, 100, false);
  form->Perform(msg::kNCPaint);
  const Bitmap& image = skinForm->FrameImage();
  using platform::SysColor;
  using platform::SysColour;
  ASSERT_EQ(image.Width(), 200);
  // Second bevel: highlight top-left, shadow bottom-right.
  EXPECT_EQ(image.Pixel(1, 50), SysColor(SysColour::BtnHighlight));
  EXPECT_EQ(image.Pixel(198, 50), SysColor(SysColour::BtnShadow));
  // The caption's grip lines alternate from the first line down.
  EXPECT_EQ(image.Pixel(100, 5), SysColor(SysColour::BtnHighlight));
  EXPECT_EQ(image.Pixel(100, 6), SysColor(SysColour::BtnShadow));
  // The close glyph is drawn in button text colour somewhere in the close button.
  const Rect close = Object("closebutton").ObjectRect;
  bool glyph = false;
  for (int y = close.top; y < close.bottom; ++y)
    for (int x = close.left; x < close.right; ++x) glyph = glyph || image.Pixel(x, y) == SysColor(SysColour::BtnText);
  EXPECT_TRUE(glyph);
}

TEST_F(FramePaint, DefaultFrameWithoutMaximizeShowsItDisabled) {
  auto& f = MakeForm(200, 100, false);
  f.SetBorderIcons(TskBorderIcon::biSystemMenu | TskBorderIcon::biMinimize | TskBorderIcon::biRollUp);
  form->Perform(msg::kNCPaint);
  auto& max = Object("maxbutton");
  EXPECT_FALSE(max.Enabled);
  EXPECT_TRUE(max.Visible);
  EXPECT_TRUE(Object("closebutton").Enabled);
  // Greyed glyph: shadow colour, no button-text pixels.
  const Bitmap& image = f.FrameImage();
  bool text = false, shadow = false;
  for (int y = max.ObjectRect.top; y < max.ObjectRect.bottom; ++y)
    for (int x = max.ObjectRect.left; x < max.ObjectRect.right; ++x) {
      text = text || image.Pixel(x, y) == platform::SysColor(platform::SysColour::BtnText);
      shadow = shadow || image.Pixel(x, y) == platform::SysColor(platform::SysColour::BtnShadow);
    }
  EXPECT_FALSE(text);
  EXPECT_TRUE(shadow);
}

TEST_F(FramePaint, ClientBackgroundTilesTheSkinsClientPart) {
  auto& f = MakeForm(300, 200);
  Bitmap client(300, 100);
  form->Perform(msg::kEraseBackground, 0, reinterpret_cast<std::intptr_t>(&client));
  const Rect& c = data->clientrect;
  EXPECT_TRUE(SamePixels(client, 0, 0, data->Picture, c));
  EXPECT_TRUE(SamePixels(client, c.Width(), 0, data->Picture, {c.left, c.top, c.left + 10, c.bottom}));
  f.SetSkinData(nullptr);
  form->Perform(msg::kEraseBackground, 0, reinterpret_cast<std::intptr_t>(&client));
  EXPECT_EQ(client.Pixel(150, 50), platform::SysColor(platform::SysColour::BtnFace));
}

// Pictures missing or of the wrong size: the frame picture can hold no frame,
// so the form gets the plain frame (never black where the picture has no
// pixels); a mask or an inactive picture of another size is left out.
TEST_F(FramePaint, SkinWithMissingOrMisfitPicturesGivesAUsableFrame) {
  const Colour face = platform::SysColor(platform::SysColour::BtnFace);
  struct Case {
    const char* name;
    void (*spoil)(TskSkinData&);
    bool skinned;  // the skin's own frame still shows
    bool region;   // the window is cut to the mask
  };
  const Case cases[] = {
      {"no frame picture", [](TskSkinData& s) { s.Picture.Clear(); }, false, false},
      {"frame picture too small", [](TskSkinData& s) { s.Picture = Bitmap(20, 20, platform::Rgb(200, 0, 0)); }, false,
       false},
      {"mask of another size", [](TskSkinData& s) { s.MaskPicture = Bitmap(10, 10); }, true, false},
      {"inactive picture of another size", [](TskSkinData& s) { s.InactivePicture = Bitmap(10, 10); }, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeForm(300, 200, false);
    data->LoadFromStoredSkin(stored);
    c.spoil(*data);
    skinForm->SetSkinData(data.get());
    Activate(false);
    EXPECT_EQ(skinForm->SkinActive(), c.skinned);
    const Bitmap& image = skinForm->FrameImage();
    ASSERT_EQ(image.Width(), 300);
    ASSERT_EQ(image.Height(), 200);
    int black = 0;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x) {
        const bool client = x >= 5 && x < 295 && y >= 29 && y < 195;
        if (!client && image.Pixel(x, y) == 0) ++black;
      }
    // A frame drawn from missing pixels is black all over (some 12,000 pixels
    // here); the plain frame has black only in its outer bevel and its glyphs.
    EXPECT_LT(black, 1000) << "black frame pixels";
    if (!c.skinned) {
      EXPECT_EQ(image.Pixel(150, 1), platform::SysColor(platform::SysColour::BtnHighlight));
      EXPECT_EQ(image.Pixel(3, 10), face);
    }
    EXPECT_EQ(skinForm->WindowRegion().has_value(), c.region);
  }
}

using FrameRegion = FrameFixture;

TEST_F(FrameRegion, RegionEqualsTheMask) {
  MakeForm(skingen::kFrameWidth, skingen::kFrameHeight);
  ASSERT_TRUE(skinForm->WindowRegion());
  const auto mask = RegionFromBitmap(data->MaskPicture);
  ASSERT_TRUE(mask);
  EXPECT_EQ(*skinForm->WindowRegion(), *mask);
  EXPECT_EQ(form->WindowRegion(), skinForm->WindowRegion());
  // The cut corners are outside, the inner edge inside.
  EXPECT_FALSE(skinForm->WindowRegion()->Contains(0, 0));
  EXPECT_TRUE(skinForm->WindowRegion()->Contains(75, 0));
}

TEST_F(FrameRegion, RegionFollowsTheSizeAndGoesWithTheSkin) {
  auto& f = MakeForm(300, 200);
  const auto expect =
      BuildFrameRegion(SkinFrameGeometry(*data), data->maskrectarea, data->MaskPicture, 300, 200,
                       LayoutFrameGeometry(f.Layout()), f.Layout().NewMaskRectArea);
  ASSERT_TRUE(expect && f.WindowRegion());
  EXPECT_EQ(*f.WindowRegion(), *expect);
  EXPECT_EQ(f.WindowRegion()->Bounds(), (Rect{0, 0, 300, 200}));
  EXPECT_FALSE(f.WindowRegion()->Contains(299, 0));
  EXPECT_TRUE(f.PointInMask({150, 0}));
  EXPECT_FALSE(f.PointInMask({0, 0}));
  // The skin goes: the plain frame has no region.
  f.SetSkinData(nullptr);
  EXPECT_FALSE(f.WindowRegion());
  EXPECT_FALSE(form->WindowRegion());
}

TEST_F(FrameRegion, BorderlessFormKeepsItsLook) {
  auto& f = MakeForm(474, 271, true, platform::BorderStyle::None);
  EXPECT_TRUE(f.SkinActive());
  EXPECT_FALSE(f.ObjectList.empty());
  EXPECT_FALSE(f.WindowRegion());
  EXPECT_FALSE(form->WindowRegion());
  form->Perform(msg::kNCPaint);
  EXPECT_TRUE(f.FrameImage().Empty());
  EXPECT_EQ(form->Perform(msg::kNCActivate, 1), 1);
  EXPECT_TRUE(f.FrameImage().Empty());
}

}  // namespace
