// What the control kinds do with the mouse and keyboard, and the label rules:
// which font a skinned label draws in, and how disabled text is engraved.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "platform/Input.h"
#include "skSkinBevel.h"
#include "skSkinControlBar.h"
#include "skSkinEdit.h"
#include "skSkinHeader.h"
#include "skSkinLabels.h"
#include "skSkinMemo.h"
#include "skSkinRichEdit.h"
#include "skSkinScrollBar.h"
#include "skSkinSplitter.h"
#include "skSkinTabs.h"
#include "skSkinUpDown.h"
#include "skSkinViews.h"

namespace controltest {
namespace {

using platform::SysColor;
using platform::SysColour;
namespace hl = platform::headless;

class ControlBehaviourTest : public ControlFixture {
 protected:
  static void Click(skin::TskControl& c, Point p) { hl::ClickAt(c.ClientToScreen(p)); }
  static Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
};

TEST_F(ControlBehaviourTest, ScrollBarStepsPagesAndDrags) {
  skin::TskSkinScrollBar bar(*form);
  bar.SetSkinData(data.get());
  bar.SmallChange = 2;
  bar.LargeChange = 10;
  std::vector<std::string> events;
  bar.OnChange = [&](skin::TskSkinScrollBar& b) { events.push_back("change " + std::to_string(b.Position())); };
  bar.OnLastChange = [&](skin::TskSkinScrollBar&) { events.push_back("last"); };
  bar.OnDownButtonClick = [&](skin::TskSkinScrollBar&) { events.push_back("down button"); };
  bar.OnUpButtonClick = [&](skin::TskSkinScrollBar&) { events.push_back("up button"); };

  Click(bar, Centre(bar.DownButtonRect()));
  Click(bar, {bar.TrackRect().right - 2, 5});  // after the thumb: a page on
  Click(bar, Centre(bar.UpButtonRect()));
  EXPECT_EQ(events, (std::vector<std::string>{"change 2", "down button", "last", "change 12", "last", "change 10",
                                              "up button", "last"}));
  Click(bar, Centre(bar.UpButtonRect()));
  Click(bar, Centre(bar.UpButtonRect()));
  Click(bar, Centre(bar.UpButtonRect()));
  Click(bar, Centre(bar.UpButtonRect()));
  Click(bar, Centre(bar.UpButtonRect()));
  Click(bar, Centre(bar.UpButtonRect()));
  EXPECT_EQ(bar.Position(), 0) << "held at Min";

  // Dragging the thumb to the track's end reaches Max, whatever lies beyond.
  const Point grip = bar.ClientToScreen(Centre(bar.ThumbRect()));
  hl::MouseAt(grip, platform::msg::kLButtonDown);
  hl::MouseAt({grip.x + 1000, grip.y});
  EXPECT_EQ(bar.Position(), 100);
  hl::MouseAt({grip.x + 1000, grip.y}, platform::msg::kLButtonUp);
  EXPECT_EQ(platform::CaptureWindow(), nullptr);

  // A page size shortens the range and lengthens the thumb.
  bar.SetPageSize(50);
  EXPECT_EQ(bar.Position(), 51);
  EXPECT_EQ(bar.ThumbRect().Width(), bar.TrackRect().Width() * 50 / 150);
}

TEST_F(ControlBehaviourTest, ScrollBarSharingACornerUsesItsOwnRecordAndLeavesTheMarker) {
  skin::TskSkinScrollBar bar(*form);
  bar.SetSkinData(data.get());
  bar.SetBoth(true);
  EXPECT_EQ(bar.SkinIndex(), data->GetControlIndex("bothhscrollbar"));
  EXPECT_EQ(bar.DownButtonRect().right, bar.Width() - bar.BothMarkerWidth);
  EXPECT_EQ(hl::WindowImage(bar).Pixel(bar.Width() - 2, 9), BtnFace());
}

TEST_F(ControlBehaviourTest, ATurnedScrollBarSwapsItsSizeAndLook) {
  skin::TskSkinScrollBar bar(*form);
  bar.SetKind(skin::TScrollBarKind::sbVertical);
  EXPECT_EQ(bar.ClientSize(), (Point{19, 200}));
  EXPECT_EQ(bar.SkinDataName, "vscrollbar");
  // Without a record the default thickness now applies to the width.
  bar.SkinChanged();
  EXPECT_EQ(bar.ClientSize(), (Point{19, 200}));
  EXPECT_EQ(bar.DownButtonRect(), (Rect{0, 200 - 19, 19, 200}));
  bar.SkinDataName = "myscrollbar";
  bar.SetKind(skin::TScrollBarKind::sbHorizontal);
  EXPECT_EQ(bar.SkinDataName, "myscrollbar") << "a name of the user's own stays";
  EXPECT_EQ(bar.ClientSize(), (Point{200, 19}));
}

TEST_F(ControlBehaviourTest, UpDownStepsByIncrementWithinItsRange) {
  skin::TskSkinUpDown ud(*form);
  ud.SetRange(0, 5);
  ud.Increment = 2;
  int changes = 0;
  ud.OnChange = [&](skin::TskSkinUpDown&) { ++changes; };
  for (int i = 0; i < 4; ++i) Click(ud, Centre(ud.UpButtonRect()));
  EXPECT_EQ(ud.Position(), 5);
  EXPECT_EQ(changes, 3) << "no change once at Max";
  Click(ud, Centre(ud.DownButtonRect()));
  EXPECT_EQ(ud.Position(), 3);
}

TEST_F(ControlBehaviourTest, EditTakesTypingAtTheCaret) {
  skin::TskSkinCustomEdit edit(*form);
  int changes = 0;
  edit.OnChange = [&](skin::TskCustomEdit&) { ++changes; };
  Click(edit, {5, 5});
  EXPECT_TRUE(edit.Focused());
  for (char32_t ch : std::u32string(U"ac中")) edit.Perform(platform::msg::kChar, ch);
  EXPECT_EQ(edit.Text(), "ac中");
  edit.Perform(platform::msg::kChar, 0x08);  // backspace takes the whole character
  EXPECT_EQ(edit.Text(), "ac");
  hl::PressKey(edit, platform::vk::kLeft);
  edit.Perform(platform::msg::kChar, U'b');
  EXPECT_EQ(edit.Text(), "abc");
  EXPECT_EQ(edit.SelStart(), 2);
  hl::PressKey(edit, 0x2E);  // delete
  EXPECT_EQ(edit.Text(), "ab");
  EXPECT_EQ(changes, 6);

  edit.MaxLength = 2;
  edit.Perform(platform::msg::kChar, U'x');
  EXPECT_EQ(edit.Text(), "ab");
  edit.ReadOnly = true;
  edit.Perform(platform::msg::kChar, 0x08);
  EXPECT_EQ(edit.Text(), "ab");

  // Another edit takes the focus away.
  skin::TskSkinCustomEdit other(*form);
  other.SetBounds(0, 100, 100, 20);
  Click(other, {5, 5});
  EXPECT_FALSE(edit.Focused());
}

// Exposes the font a label draws in.
class ProbeLabel : public skin::TskSkinStdLabel {
 public:
  using TskSkinStdLabel::TskSkinStdLabel;
  skin::TskFont Shown() const { return LabelFont(); }
};

TEST_F(ControlBehaviourTest, LabelFontFollowsTheRecordAndUseSkinFont) {
  auto& rec = Record<skin::TskDataSkinStdLabelControl>("stdlabel");
  rec.fontname = "SkinFace";
  rec.fontheight = 20;
  rec.fontstyle = skin::fsItalic;
  rec.fontcolor = platform::Rgb(1, 2, 3);
  skin::TskFont own;
  own.font.name = "OwnFace";
  own.color = platform::Rgb(4, 5, 6);
  skin::TskFont def;
  def.font.name = "DefaultFace";
  def.font.charset = 134;  // GB2312
  def.color = platform::Rgb(7, 8, 9);

  struct Case {
    bool skinned, useSkinFont;
    std::string face;
    Colour colour;
    int height, charset;
  };
  const Case cases[] = {
      {true, true, "SkinFace", platform::Rgb(1, 2, 3), 20, 134},
      {true, false, "OwnFace", platform::Rgb(1, 2, 3), 14, 1},
      {false, true, "DefaultFace", platform::Rgb(7, 8, 9), 14, 134},
      {false, false, "OwnFace", platform::Rgb(4, 5, 6), 14, 1},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.skinned ? "record" : "no record") + (k.useSkinFont ? ", skin font" : ", own font"));
    ProbeLabel label(*form);
    label.SetFont(own);
    label.SetDefaultFont(def);
    label.UseSkinFont = k.useSkinFont;
    if (k.skinned) label.SetSkinData(data.get());
    const skin::TskFont f = label.Shown();
    EXPECT_EQ(f.font.name, k.face);
    EXPECT_EQ(f.color, k.colour);
    EXPECT_EQ(f.font.height, k.height);
    EXPECT_EQ(f.font.charset, k.charset);
    if (k.skinned && k.useSkinFont) {
      EXPECT_EQ(f.font.style, skin::fsItalic);
    }
  }
}

TEST_F(ControlBehaviourTest, DisabledLabelTextIsEngraved) {
  skin::TskSkinStdLabel label(*form);
  label.SetCaption("Disabled");
  label.SetSkinData(data.get());
  label.SetEnabled(false);
  const Bitmap& shown = hl::WindowImage(label);
  auto bounds = [&](Colour c) {
    Rect r{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x)
        if (shown.Pixel(x, y) == c) r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 1),
                                          std::max(r.bottom, y + 1)};
    return r;
  };
  const Rect light = bounds(SysColor(SysColour::BtnHighlight)), dark = bounds(SysColor(SysColour::BtnShadow));
  ASSERT_GT(dark.right, 0) << "the text in clBtnShadow";
  EXPECT_EQ(light.right, dark.right + 1) << "the highlight copy lies one pixel right";
  EXPECT_EQ(light.bottom, dark.bottom + 1) << "and one pixel down";
  EXPECT_FALSE(HasColour(shown, Record<skin::TskDataSkinStdLabelControl>("stdlabel").fontcolor));
}

TEST_F(ControlBehaviourTest, TabsSwitchOnAClickAndShowTheirPage) {
  skin::TskSkinPageControl pages(*form);
  pages.SetSkinData(data.get());
  pages.AddPage("One");
  pages.AddPage("Two");
  int changes = 0;
  pages.OnChange = [&](skin::TskCustomTabs&) { ++changes; };
  Click(pages, Centre(pages.TabRect(1)));
  EXPECT_EQ(pages.ActivePageIndex(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(pages.Page(0).Visible());
  EXPECT_TRUE(pages.Page(1).Visible());
  Click(pages, Centre(pages.TabRect(1)));
  EXPECT_EQ(changes, 1) << "the active tab again changes nothing";
}

// A sheet on a skinned page shows the page's background picture through it, lined
// up with the page's own tiling; on a plain page it shows its colour.
TEST_F(ControlBehaviourTest, SheetShowsTheSkinnedPageBehindIt) {
  skin::TskSkinPageControl pages(*form);
  pages.SetBounds(0, 0, 200, 120);
  pages.AddPage("One");
  auto sheetPixels = [&] {
    skin::TskTabSheet& sheet = pages.Page(0);
    Bitmap image(sheet.Width(), sheet.Height());
    sheet.Perform(platform::msg::kPaint, 0, reinterpret_cast<std::intptr_t>(&image));
    return image;
  };
  EXPECT_EQ(sheetPixels().Pixel(10, 10), pages.Page(0).Color()) << "plain";
  pages.SetSkinData(data.get());
  const Bitmap sheet = sheetPixels();
  Bitmap whole(pages.Width(), pages.Height());
  pages.Perform(platform::msg::kPaint, 0, reinterpret_cast<std::intptr_t>(&whole));
  const Rect b = pages.Page(0).BoundsRect();
  for (const platform::Point p : {platform::Point{0, 0}, platform::Point{7, 5}, platform::Point{b.Width() - 1, b.Height() - 1}})
    EXPECT_EQ(sheet.Pixel(p.x, p.y), whole.Pixel(b.left + p.x, b.top + p.y)) << p.x << ", " << p.y;
  const auto& r = Record<skin::TskDataSkinTabControl>("tab");
  const Bitmap* bg = data->GetActivePicture(r.bgpictureindex);
  ASSERT_NE(bg, nullptr);
  EXPECT_TRUE(HasColour(sheet, bg->Pixel(0, 0)));
}

TEST_F(ControlBehaviourTest, HeaderSectionClickNeedsPressAndReleaseOnIt) {
  skin::TskSkinHeaderControl header(*form);
  header.SetSkinData(data.get());
  header.SetSections({{"Name", 80}, {"Size", 60}});
  std::vector<int> clicks;
  header.OnSkinSectionClick = [&](skin::TskSkinHeaderControl&, int i) { clicks.push_back(i); };
  Click(header, {100, 5});
  hl::MouseAt(header.ClientToScreen({10, 5}), platform::msg::kLButtonDown);
  hl::MouseAt(header.ClientToScreen({100, 5}), platform::msg::kLButtonUp);
  EXPECT_EQ(clicks, (std::vector<int>{1}));
}

TEST_F(ControlBehaviourTest, SplitterResizesTheControlBesideIt) {
  skin::TskSkinCustomEdit left(*form);
  left.SetBounds(0, 0, 100, 50);
  skin::TskSkinSplitter splitter(*form);
  splitter.SetBounds(100, 0, 3, 50);
  splitter.Control = &left;
  splitter.MinSize = 40;
  int moved = 0;
  splitter.OnMoved = [&](skin::TskSplitter&) { ++moved; };
  const Point grip = splitter.ClientToScreen({1, 10});
  hl::MouseAt(grip, platform::msg::kLButtonDown);
  hl::MouseAt({grip.x + 20, grip.y});
  EXPECT_EQ(left.Width(), 120);
  EXPECT_EQ(splitter.Left(), 120);
  hl::MouseAt({grip.x - 200, grip.y});
  EXPECT_EQ(left.Width(), 40) << "MinSize";
  EXPECT_EQ(splitter.Left(), 40);
  hl::MouseAt({grip.x - 200, grip.y}, platform::msg::kLButtonUp);
  EXPECT_EQ(moved, 1);
}

TEST_F(ControlBehaviourTest, MemoScrollsWithItsLinkedBar) {
  skin::TskSkinMemo memo(*form);
  memo.SetSkinData(data.get());
  skin::TskSkinScrollBar bar(*form);
  memo.SetVScrollBar(&bar);
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back("line " + std::to_string(i));
  memo.SetLines(lines);
  EXPECT_EQ(bar.Kind(), skin::TScrollBarKind::sbVertical);
  EXPECT_EQ(bar.Max(), 40 - memo.VisibleLineCount());
  bar.SetPosition(7);
  EXPECT_EQ(memo.TopLine(), 7);
  // Text round trip: line breaks of any kind split, a final one adds no line.
  memo.SetText("a\r\nb\nc\r");
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(memo.Text(), "a\r\nb\r\nc");
}

TEST_F(ControlBehaviourTest, TreeNodesOpenWithTheirBoxAndAreSelectedByAClick) {
  skin::TskSkinCustomTreeView tree(*form);
  tree.SetSkinData(data.get());
  auto& root = tree.AddChild(nullptr, "Root");
  auto& leaf = tree.AddChild(&root, "Leaf");
  tree.AddChild(nullptr, "Second");
  const int h = tree.RowHeight();
  EXPECT_EQ(tree.VisibleNodes().size(), 2u);
  Click(tree, {2 + 4, 2 + h / 2});  // the box of the first row
  EXPECT_TRUE(root.Expanded);
  ASSERT_EQ(tree.VisibleNodes().size(), 3u);
  Click(tree, {2 + skin::TskTreeView::kIndent * 2 + 5, 2 + h + h / 2});  // the text of the second row
  EXPECT_EQ(tree.Selected(), &leaf);
  // Closing the branch moves the selection up to the node that hides it.
  tree.SetExpanded(root, false);
  EXPECT_EQ(tree.Selected(), &root);
}

TEST_F(ControlBehaviourTest, ListRowIsSelectedByAClickBelowTheHeader) {
  skin::TskSkinCustomListView list(*form);
  list.SetSkinData(data.get());
  list.Columns = {{"Name", 100}};
  list.AddItem({"a"});
  list.AddItem({"b"});
  EXPECT_EQ(list.HeaderHeight(), skin::RectHeight(Record<skin::TskDataSkinButtonControl>("resizebutton").skinrect));
  int changes = 0;
  list.OnChange = [&](skin::TskListView&) { ++changes; };
  Click(list, {10, 5});  // on the header
  EXPECT_EQ(list.ItemIndex(), -1);
  Click(list, {10, list.HeaderHeight() + list.RowHeight() + 1});
  EXPECT_EQ(list.ItemIndex(), 1);
  EXPECT_EQ(changes, 1);
}

TEST_F(ControlBehaviourTest, ControlBarWrapsBandsThatDoNotFit) {
  skin::TskControlBar bar(*form);
  bar.SetBounds(0, 0, 120, 80);
  skin::TskBevel a(bar), b(bar), c(bar);
  for (skin::TskBevel* band : {&a, &b, &c}) band->SetBounds(0, 0, 40, 20);
  bar.AlignControls();
  const int step = skin::TskControlBar::kGrip + 40 + 2;
  EXPECT_EQ(a.BoundsRect().left, skin::TskControlBar::kGrip);
  EXPECT_EQ(b.BoundsRect().left, step + skin::TskControlBar::kGrip);
  EXPECT_EQ(c.BoundsRect().left, skin::TskControlBar::kGrip) << "the third band starts a row";
  EXPECT_EQ(c.BoundsRect().top, a.BoundsRect().top + bar.RowSize);
}

TEST_F(ControlBehaviourTest, RichEditWithoutSkinSupportStaysPlain) {
  skin::TskSkinRichEdit rich(*form);
  rich.SetSkinData(data.get());
  EXPECT_NE(rich.SkinIndex(), -1);
  rich.SetDefaultColor(platform::Rgb(1, 1, 1));
  rich.SetSkinSupport(false);
  EXPECT_EQ(rich.SkinIndex(), -1);
  EXPECT_EQ(hl::WindowImage(rich).Pixel(rich.Width() / 2, rich.Height() / 2), platform::Rgb(1, 1, 1));
}

}  // namespace
}  // namespace controltest
