// Every control kind drawn with the sample skin, without a skin, with a record
// of another class (which it must refuse), and again after its form relays a
// skin load that leaves the skin empty: the record's picture pieces land where
// the control puts them, its colours are the record's, and the plain look is
// in system colours.
#include <functional>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "skSkinBevel.h"
#include "skSkinControlBar.h"
#include "skSkinCtrls.h"
#include "skSkinEdit.h"
#include "skSkinForm.h"
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

using platform::Rgb;
using platform::SysColor;
using platform::SysColour;

// A colour no sample picture uses, given to a record's text colour, and one
// for the records' background colours.
constexpr Colour kMagenta = Rgb(255, 0, 255);
constexpr Colour kRecordBackground = Rgb(11, 22, 33);

// A control bar holding the band it lays out.
struct BarWithBand : skin::TskSkinControlBar {
  explicit BarWithBand(platform::Window& parent) : TskSkinControlBar(parent), band(*this) {
    band.SetBounds(0, 0, 30, 20);
    AlignControls();
  }
  skin::TskBevel band;
};

class ControlKindsTest : public ControlFixture {
 public:
  using ControlFixture::Picture;
  using ControlFixture::Record;
  const Bitmap& ControlsPicture() { return Picture(Record<skin::TskDataSkinControl>("edit").pictureindex); }
  // The picture's pixel at a piece's top-left corner.
  Colour PieceCorner(const Rect& piece) { return ControlsPicture().Pixel(piece.left, piece.top); }
};

struct Kind {
  const char* name;
  // Makes the control on `parent` bound to the record `record` (empty: its default).
  std::function<std::unique_ptr<skin::TskControl>(platform::Window& parent)> make;
  // A record of another class than the kind accepts.
  const char* wrongRecord;
  std::function<void(ControlKindsTest&, skin::TskControl&, const Bitmap&)> skinned, plain;
};

template <class T>
std::unique_ptr<skin::TskControl> Make(platform::Window& parent, const std::function<void(T&)>& setUp = {}) {
  auto c = std::make_unique<T>(parent);
  c->SetBounds(20, 20, c->Width(), c->Height());
  if (setUp) setUp(*c);
  return c;
}

void ExpectTextIn(const Bitmap& shown, Colour colour, bool present) {
  EXPECT_EQ(HasColour(shown, colour), present) << "text colour " << std::hex << colour;
}

std::vector<Kind> Kinds() {
  const Colour text = SysColor(SysColour::WindowText);
  auto labelSkinned = [](ControlKindsTest&, skin::TskControl&, const Bitmap& shown) {
    ExpectTextIn(shown, kMagenta, true);
  };
  auto labelPlain = [text](ControlKindsTest&, skin::TskControl&, const Bitmap& shown) {
    ExpectTextIn(shown, kMagenta, false);
    ExpectTextIn(shown, text, true);
  };
  return {
      {"scroll bar", [](platform::Window& p) { return Make<skin::TskSkinScrollBar>(p); }, "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinScrollBarControl>("hscrollbar");
         auto& bar = static_cast<skin::TskSkinScrollBar&>(c);
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.upbuttonrect));
         EXPECT_EQ(shown.Pixel(bar.DownButtonRect().left, 0), t.PieceCorner(r.downbuttonrect));
         EXPECT_EQ(shown.Pixel(bar.ThumbRect().left, 0), t.PieceCorner(r.thumbrect));
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         auto& bar = static_cast<skin::TskSkinScrollBar&>(c);
         const Rect track = bar.TrackRect();
         EXPECT_EQ(shown.Pixel(track.right - 5, 9), BtnFace());
         EXPECT_EQ(shown.Pixel(0, 0), SysColor(SysColour::BtnHighlight));
       }},
      {"up-down", [](platform::Window& p) { return Make<skin::TskSkinUpDown>(p); }, "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinUpDownControl>("hupdown");
         EXPECT_EQ(c.Width(), skin::RectWidth(r.skinrect)) << "no stretch points: the skin rectangle's size";
         auto& ud = static_cast<skin::TskSkinUpDown&>(c);
         EXPECT_EQ(shown.Pixel(ud.DownButtonRect().left, 0), t.PieceCorner(r.downbuttonrect));
         EXPECT_EQ(shown.Pixel(ud.UpButtonRect().left, 0), t.PieceCorner(r.upbuttonrect));
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 4, 2), BtnFace());
         EXPECT_TRUE(HasColour(shown, SysColor(SysColour::BtnText))) << "arrows";
       }},
      {"edit", [](platform::Window& p) { return Make<skin::TskSkinCustomEdit>(p, [](auto& e) { e.SetText("Wg"); }); },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl&, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(t.Record<skin::TskDataSkinEditControl>("edit").skinrect));
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() - 4, c.Height() / 2), SysColor(SysColour::WindowBackground));
         EXPECT_EQ(shown.Pixel(0, 0), SysColor(SysColour::BtnShadow)) << "sunken";
         ExpectTextIn(shown, text, true);
       }},
      {"memo",
       [](platform::Window& p) { return Make<skin::TskSkinMemo>(p, [](auto& m) { m.SetText("one\r\ntwo"); }); },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinMemoControl>("memo");
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.skinrect));
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 6), r.bgcolor);
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 6), SysColor(SysColour::WindowBackground));
         ExpectTextIn(shown, text, true);
       }},
      {"memo with two bars",
       [](platform::Window& p) { return Make<skin::TskSkinMemo2>(p, [](auto& m) { m.SetText("one"); }); }, "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 6), t.Record<skin::TskDataSkinMemoControl>("memo").bgcolor);
         ExpectTextIn(shown, kMagenta, true);
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 6), SysColor(SysColour::WindowBackground));
       }},
      {"standard label",
       [](platform::Window& p) { return Make<skin::TskSkinStdLabel>(p, [](auto& l) { l.SetCaption("Label"); }); },
       "bevel", labelSkinned, labelPlain},
      {"link label",
       [](platform::Window& p) { return Make<skin::TskSkinLinkLabel>(p, [](auto& l) { l.SetCaption("Link"); }); },
       "bevel", labelSkinned, labelPlain},
      {"text label",
       [](platform::Window& p) {
         return Make<skin::TskSkinTextLabel>(p, [](auto& l) { l.SetLines({"first", "second"}); });
       },
       "bevel", labelSkinned, labelPlain},
      {"button label",
       [](platform::Window& p) { return Make<skin::TskSkinButtonLabel>(p, [](auto& l) { l.SetCaption("Go"); }); },
       "bevel", labelSkinned, labelPlain},
      {"bevel", [](platform::Window& p) { return Make<skin::TskSkinBevel>(p); }, "edit",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinBevel>("bevel");
         EXPECT_EQ(shown.Pixel(0, 0), r.darkcolor) << "lowered: dark at the top left";
         EXPECT_EQ(shown.Pixel(c.Width() - 1, c.Height() - 1), r.lightcolor);
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(0, 0), SysColor(SysColour::BtnShadow));
         EXPECT_EQ(shown.Pixel(c.Width() - 1, c.Height() - 1), SysColor(SysColour::BtnHighlight));
       }},
      {"splitter", [](platform::Window& p) { return Make<skin::TskSkinSplitter>(p); }, "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinSplitterControl>("vsplitter");
         EXPECT_EQ(c.Width(), skin::RectWidth(r.skinrect));
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.skinrect));
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(c.Width(), 3) << "DefaultSize";
         EXPECT_EQ(shown.Pixel(1, c.Height() / 2), BtnFace());
       }},
      {"tab control",
       [](platform::Window& p) { return Make<skin::TskSkinTabControl>(p, [](auto& t) { t.SetTabs({"One", "Two"}); }); },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinTabControl>("tab");
         auto& tabs = static_cast<skin::TskCustomTabs&>(c);
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.activetabrect)) << "the first tab is the active one";
         EXPECT_EQ(shown.Pixel(tabs.TabRect(1).left, 0), t.PieceCorner(r.tabrect));
         EXPECT_TRUE(HasColour(shown, kMagenta, tabs.TabRect(0)));
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         auto& tabs = static_cast<skin::TskCustomTabs&>(c);
         EXPECT_EQ(tabs.TabRect(0).Height(), tabs.DefaultItemHeight());
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() / 2), BtnFace());
       }},
      {"page control",
       [](platform::Window& p) {
         return Make<skin::TskSkinPageControl>(p, [](auto& t) {
           t.AddPage("One");
           t.AddPage("Two");
         });
       },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinTabControl>("tab");
         auto& pages = static_cast<skin::TskSkinPageControl&>(c);
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.activetabrect));
         EXPECT_EQ(pages.Page(0).BoundsRect().top, skin::RectHeight(r.tabrect) + 4) << "pages sit below the skinned tabs";
         EXPECT_TRUE(pages.Page(0).Visible());
         EXPECT_FALSE(pages.Page(1).Visible());
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         auto& pages = static_cast<skin::TskSkinPageControl&>(c);
         EXPECT_EQ(pages.Page(0).BoundsRect().top, pages.DefaultItemHeight() + 4);
         EXPECT_EQ(shown.Pixel(2, c.Height() - 3), BtnFace());
       }},
      {"header",
       [](platform::Window& p) {
         return Make<skin::TskSkinHeaderControl>(p, [](auto& h) { h.SetSections({{"Name", 80}, {"Size", 60}}); });
       },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinButtonControl>("resizebutton");
         EXPECT_EQ(c.Height(), skin::RectHeight(r.skinrect));
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.skinrect));
         EXPECT_EQ(shown.Pixel(80, 0), t.PieceCorner(r.skinrect)) << "the second section";
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(c.Height(), 17) << "DefaultHeight";
         EXPECT_EQ(shown.Pixel(0, 0), SysColor(SysColour::BtnHighlight));
         EXPECT_EQ(shown.Pixel(40, 2), BtnFace());
         ExpectTextIn(shown, text, true);
       }},
      {"control bar", [](platform::Window& p) { return Make<BarWithBand>(p); }, "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& r = t.Record<skin::TskDataSkinControlBar>("controlbar");
         auto& bar = static_cast<BarWithBand&>(c);
         const Rect band = bar.BandRect(bar.band);
         EXPECT_EQ(band.left, r.clientrect.left) << "bands start inside the skin's frame";
         EXPECT_EQ(shown.Pixel(band.left, band.top), t.PieceCorner(r.itemrect));
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(r.skinrect)) << "SkinBevel: the frame";
         const Bitmap& bg = t.Picture(r.bgpictureindex);
         const Point free{c.Width() - 10, c.Height() - 8};
         EXPECT_EQ(shown.Pixel(free.x, free.y),
                   bg.Pixel((free.x - band.left) % bg.Width(), (free.y - band.top) % bg.Height()));
       },
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         auto& bar = static_cast<BarWithBand&>(c);
         const Rect band = bar.BandRect(bar.band);
         EXPECT_EQ(band.left, 0);
         EXPECT_EQ(shown.Pixel(band.left, band.top), SysColor(SysColour::BtnHighlight));
         EXPECT_EQ(shown.Pixel(c.Width() - 10, c.Height() - 8), BtnFace());
       }},
      {"tree view",
       [](platform::Window& p) {
         return Make<skin::TskSkinCustomTreeView>(p, [](auto& t) {
           auto& root = t.AddChild(nullptr, "Root");
           t.AddChild(&root, "Leaf");
           t.SetExpanded(root, true);
         });
       },
       "bevel",
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() - 4, c.Height() - 4), kRecordBackground);
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() - 4, c.Height() - 4), SysColor(SysColour::WindowBackground));
         ExpectTextIn(shown, text, true);
       }},
      {"list view",
       [](platform::Window& p) {
         return Make<skin::TskSkinCustomListView>(p, [](auto& l) {
           l.Columns = {{"Name", 100}, {"Size", 60}};
           l.AddItem({"file", "12"});
         });
       },
       "bevel",
       [](ControlKindsTest& t, skin::TskControl& c, const Bitmap& shown) {
         auto& header = t.Record<skin::TskDataSkinButtonControl>("resizebutton");
         EXPECT_EQ(shown.Pixel(0, 0), t.PieceCorner(header.skinrect));
         EXPECT_EQ(shown.Pixel(100, 0), t.PieceCorner(header.skinrect));
         EXPECT_EQ(shown.Pixel(c.Width() - 4, c.Height() - 4), kRecordBackground);
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(0, 0), SysColor(SysColour::BtnHighlight));
         EXPECT_EQ(shown.Pixel(c.Width() - 4, c.Height() - 4), SysColor(SysColour::WindowBackground));
         ExpectTextIn(shown, text, true);
       }},
      {"rich edit",
       [](platform::Window& p) { return Make<skin::TskSkinRichEdit>(p, [](auto& r) { r.SetText("rich"); }); },
       "bevel",
       [](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 5), kRecordBackground);
         ExpectTextIn(shown, kMagenta, true);
       },
       [text](ControlKindsTest&, skin::TskControl& c, const Bitmap& shown) {
         EXPECT_EQ(shown.Pixel(c.Width() / 2, c.Height() - 5), SysColor(SysColour::WindowBackground));
         ExpectTextIn(shown, text, true);
       }},
  };
}

TEST_F(ControlKindsTest, EachKindDrawsFromItsRecordAndPlainWithoutOne) {
  // The records' text colours become one no picture has.
  for (auto& rec : data->SkinControls) {
    if (auto* r = dynamic_cast<skin::TskDataSkinStdLabelControl*>(rec.get())) r->fontcolor = kMagenta;
    if (auto* r = dynamic_cast<skin::TskDataSkinEditControl*>(rec.get())) r->fontcolor = kMagenta;
    if (auto* r = dynamic_cast<skin::TskDataSkinButtonControl*>(rec.get())) r->fontcolor = kMagenta;
    if (auto* r = dynamic_cast<skin::TskDataSkinTabControl*>(rec.get())) r->activefontcolor = kMagenta;
    if (auto* r = dynamic_cast<skin::TskDataSkinMemoControl*>(rec.get())) r->bgcolor = Rgb(10, 20, 30);
    auto viewColours = [](auto* r) {
      if (!r) return;
      r->fontcolor = kMagenta;
      r->bgcolor = kRecordBackground;
    };
    viewColours(dynamic_cast<skin::TskDataSkinTreeView*>(rec.get()));
    viewColours(dynamic_cast<skin::TskDataSkinListView*>(rec.get()));
    viewColours(dynamic_cast<skin::TskDataSkinRichEdit*>(rec.get()));
  }
  skin::TskSkinForm frame(*form);
  frame.SetSkinData(data.get());
  for (const Kind& k : Kinds()) {
    SCOPED_TRACE(k.name);
    auto c = k.make(*form);
    {
      SCOPED_TRACE("without a skin");
      k.plain(*this, *c, platform::headless::WindowImage(*c));
    }
    c->SetSkinData(data.get());
    {
      SCOPED_TRACE("with the sample skin");
      ASSERT_NE(c->SkinIndex(), -1);
      k.skinned(*this, *c, platform::headless::WindowImage(*c));
    }
    {
      SCOPED_TRACE("with a record of another class");
      const std::string own = c->SkinDataName;
      c->SkinDataName = k.wrongRecord;
      c->SkinChanged();
      EXPECT_EQ(c->SkinIndex(), -1);
      k.plain(*this, *c, platform::headless::WindowImage(*c));
      c->SkinDataName = own;
      c->SkinChanged();
    }
    c.reset();
  }
}

TEST_F(ControlKindsTest, EachKindFollowsTheSkinChangesItsFormRelays) {
  skin::TskSkinForm frame(*form);
  frame.SetSkinData(data.get());
  skin::TskStoredSkin empty;
  for (const Kind& k : Kinds()) {
    SCOPED_TRACE(k.name);
    data->LoadFromStoredSkin(stored);
    auto c = k.make(*form);
    c->SetSkinData(data.get());
    ASSERT_NE(c->SkinIndex(), -1);
    data->LoadFromStoredSkin(empty);  // ends without a skin
    EXPECT_EQ(c->SkinIndex(), -1);
    k.plain(*this, *c, platform::headless::WindowImage(*c));
    data->LoadFromStoredSkin(stored);
    EXPECT_NE(c->SkinIndex(), -1);
  }
}

}  // namespace
}  // namespace controltest
