// What menu levels show: the plain look in system colours and the skinned look
// from the sample skin's pictures, compared with pictures our own drawing
// routines make for the same item.
#include <stdexcept>

#include "MenuFixture.h"
#include "SampleSkin.h"
#include "platform/SysColors.h"
#include "skMenuGlyphs.h"
#include "skUtils.h"

namespace popuptest {
namespace {

using platform::Bitmap;
using platform::Colour;
using platform::SysColor;
using platform::SysColour;

// The pixels of `rect` in a window image.
Bitmap Cut(const Bitmap& image, const platform::Rect& rect) {
  Bitmap out(rect.Width(), rect.Height());
  out.CopyRect(0, 0, image, rect);
  return out;
}

// Pixels of `item` that differ from `background`: the ink. Returns their colours
// and the leftmost column.
struct Ink {
  std::set<Colour> colours;
  int left = 1 << 30;
  int count = 0;
};
Ink InkOver(const Bitmap& item, const Bitmap& background, int fromX = 0) {
  Ink ink;
  for (int y = 0; y < item.Height(); ++y)
    for (int x = fromX; x < item.Width(); ++x)
      if (item.Pixel(x, y) != background.Pixel(x, y)) {
        ink.colours.insert(item.Pixel(x, y));
        ink.left = std::min(ink.left, x);
        ++ink.count;
      }
  return ink;
}

void ExpectSameColumns(const Bitmap& actual, const Bitmap& expected, int columns, const char* what) {
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < columns; ++x)
      ASSERT_EQ(actual.Pixel(x, y), expected.Pixel(x, y)) << what << " at " << x << ", " << y;
}

class PlainMenuPicture : public MenuFixture {
 protected:
  // The plain background of an inactive item: glyph column in button face, the rest window colour.
  Bitmap PlainBackground(const platform::Rect& r) {
    Bitmap b(r.Width(), r.Height(), SysColor(SysColour::WindowBackground));
    b.FillRect({0, 0, 19, r.Height()}, SysColor(SysColour::BtnFace));
    return b;
  }
  Bitmap ItemPixels(int index) {
    return Cut(headless::WindowImage(Level(0)), Level(0).LevelItems[std::size_t(index)]->ItemRect);
  }
};

TEST_F(PlainMenuPicture, FrameHotItemDividerAndTextColours) {
  tree.Items[1].Checked = true;
  Open();
  const Bitmap& image = headless::WindowImage(Level(0));
  const int w = image.Width(), h = image.Height();
  EXPECT_EQ(image.Pixel(0, 0), SysColor(SysColour::BtnShadow));
  EXPECT_EQ(image.Pixel(w - 1, h - 1), SysColor(SysColour::BtnShadow));
  EXPECT_EQ(image.Pixel(1, 1), SysColor(SysColour::WindowBackground));

  // The hot first item: dark blue border, pale fill, text in window text.
  const Bitmap hot = ItemPixels(0);
  EXPECT_EQ(hot.Pixel(0, 0), Colour(0x800000));
  EXPECT_EQ(hot.Pixel(1, 1), Colour(13811126));
  const Ink hotInk = InkOver(hot, Bitmap(hot.Width(), hot.Height(), 13811126), 1);
  EXPECT_GT(hotInk.count, 0);

  // A checked inactive item: the check mark in the glyph column, caption from column 2 + 19.
  const platform::Rect r1 = Level(0).LevelItems[1]->ItemRect;
  Bitmap expected = PlainBackground(r1);
  const int centre = 2 + (r1.Height() - 4) / 2;
  skin::DrawCheckMark(expected, 2 + 3, centre - 4, SysColor(SysColour::WindowText));
  const Bitmap save = ItemPixels(1);
  ExpectSameColumns(save, expected, 19, "check mark column");
  const Ink saveInk = InkOver(save, PlainBackground(r1), 19);
  EXPECT_EQ(saveInk.colours, std::set<Colour>{SysColor(SysColour::WindowText)});
  EXPECT_GE(saveInk.left, 2 + 19);

  // The divider: a shadow line from the glyph column to the right edge, nothing else.
  const Bitmap divider = ItemPixels(2);
  ASSERT_EQ(divider.Height(), 4);
  Bitmap line = PlainBackground(Level(0).LevelItems[2]->ItemRect);
  line.Line(19, 2, divider.Width(), 2, SysColor(SysColour::BtnShadow));
  EXPECT_EQ(divider, line);

  // The disabled item's caption in button shadow.
  const Ink disabled = InkOver(ItemPixels(4), PlainBackground(Level(0).LevelItems[4]->ItemRect), 19);
  EXPECT_EQ(disabled.colours, std::set<Colour>{SysColor(SysColour::BtnShadow)});
  // The submenu item carries its arrow at IR.Right - 7.
  const platform::Rect r3 = Level(0).LevelItems[3]->ItemRect;
  Bitmap arrow = PlainBackground(r3);
  skin::DrawSubmenuArrow(arrow, r3.Width() - 2 - 7, 2 + (r3.Height() - 4) / 2 - 4, SysColor(SysColour::WindowText));
  const Bitmap recent = ItemPixels(3);
  for (int y = 0; y < r3.Height(); ++y)
    for (int x = r3.Width() - 12; x < r3.Width(); ++x) ASSERT_EQ(recent.Pixel(x, y), arrow.Pixel(x, y));
}

class SkinnedMenuPicture : public MenuFixture {
 protected:
  void OpenSkinned() { menu.ShowMenu(nullptr, &skin.data, 0, {100, 100, 100, 100}, tree.Items, false); }
  Bitmap ItemPixels(int index) {
    return Cut(headless::WindowImage(Level(0)), Level(0).LevelItems[std::size_t(index)]->ItemRect);
  }
  // The record's picture part for an item, built to the item's width.
  Bitmap Look(const platform::Rect& part, int left, int right, int width) {
    Bitmap out;
    skin::BuildHorzImage(left, right, width, part, skin.Picture(record().activepictureindex), out);
    return out;
  }
  skin::TskDataSkinMenuItem& record() { return skin.MenuItemRecord(); }
  LoadedSkin skin;
};

TEST_F(SkinnedMenuPicture, ItemsAreDrawnFromTheMenuItemPicture) {
  tree.Items[1].Name = "SKF_CLOSE";
  OpenSkinned();
  skin::TskSkinPopupWindow& l = Level(0);
  ASSERT_TRUE(l.Skinned());
  const auto& r = record();
  const int w = l.LevelItems[0]->ItemRect.Width();
  // Items as high as the record's rectangles; the level's top-left corner is the frame picture's.
  EXPECT_EQ(l.LevelItems[0]->ItemRect.Height(), r.skinrect.Height());
  EXPECT_EQ(l.LevelItems[2]->ItemRect.Height(), r.dividerrect.Height());
  const Bitmap& frame = skin.Picture(skin.data.PopupWindow.windowpictureindex);
  const Bitmap& image = headless::WindowImage(l);
  EXPECT_EQ(image.Pixel(3, 0), frame.Pixel(3, 0));
  EXPECT_EQ(image.Height(), 5 * r.skinrect.Height() + r.dividerrect.Height() + frame.Height() -
                                skin.data.PopupWindow.itemsrect.Height());

  // Hot: the active part left of the caption, the caption in the active colour.
  const Bitmap activeLook = Look(r.activeskinrect, r.itemleftoffset, r.itemrightoffset, w);
  const int captionLeft = r.textrect.left + 16;
  ExpectSameColumns(ItemPixels(0), activeLook, captionLeft, "hot item");
  const Ink hotInk = InkOver(ItemPixels(0), activeLook);
  EXPECT_EQ(hotInk.colours, std::set<Colour>{r.activefontcolor});
  EXPECT_GE(hotInk.left, captionLeft);

  // An item named for a caption button shows that glyph left of its caption.
  Bitmap glyph = Look(r.skinrect, r.itemleftoffset, r.itemrightoffset, w);
  const int centre = r.textrect.top + r.textrect.Height() / 2;
  skin::DrawCloseGlyph(glyph, r.textrect.left + 2, centre - 4, r.fontcolor);
  ExpectSameColumns(ItemPixels(1), glyph, captionLeft, "close glyph");

  // The divider is its picture part and nothing else.
  EXPECT_EQ(ItemPixels(2), Look(r.dividerrect, r.dividerleftoffset, r.dividerrightoffset, w));

  // Disabled: the caption in the record's disabled colour.
  const Bitmap inactiveLook = Look(r.skinrect, r.itemleftoffset, r.itemrightoffset, w);
  const Ink disabled = InkOver(ItemPixels(4), inactiveLook);
  EXPECT_EQ(disabled.colours, std::set<Colour>{r.unenabledfontcolor});
}

TEST_F(SkinnedMenuPicture, AMorphingItemBlendsInTenSteps) {
  record().morphing = true;
  OpenSkinned();
  skin::TskSkinMenuItem& first = *Level(0).LevelItems[0];
  EXPECT_TRUE(first.Hot);
  EXPECT_EQ(first.MorphFactor, 0);
  headless::AdvanceTime(5 * 20);
  EXPECT_NEAR(first.MorphFactor, 0.5, 1e-9);
  const auto& r = record();
  const int w = first.ItemRect.Width();
  const Bitmap now = ItemPixels(0);
  EXPECT_NE(now.Pixel(1, 1), Look(r.activeskinrect, r.itemleftoffset, r.itemrightoffset, w).Pixel(1, 1));
  headless::AdvanceTime(5 * 20);
  EXPECT_NEAR(first.MorphFactor, 1, 1e-9);
  headless::AdvanceTime(40);
  EXPECT_FALSE(Level(0).ItemMorphTimer.Running());
  ExpectSameColumns(ItemPixels(0), Look(r.activeskinrect, r.itemleftoffset, r.itemrightoffset, w), 20,
                    "fully morphed");
}

TEST_F(SkinnedMenuPicture, ASkinWithoutAMenuItemPictureFallsBackToThePlainLook) {
  record().activepictureindex = 99;
  OpenSkinned();
  EXPECT_FALSE(Level(0).Skinned());
  EXPECT_EQ(Level(0).LevelItems[0]->ItemRect.Height(), 20);
  EXPECT_EQ(headless::WindowImage(Level(0)).Pixel(0, 0), SysColor(SysColour::BtnShadow));
}

}  // namespace
}  // namespace popuptest
