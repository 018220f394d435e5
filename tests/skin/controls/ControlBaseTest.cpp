// The skinned bases: stretch kinds, the sizes a record allows, the mask region,
// the plain and skinned paints, and skin changes relayed by the skinned form.
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "skSkinCtrls.h"
#include "skSkinForm.h"

namespace controltest {
namespace {

using skin::TskStretchKind;

class ControlBaseTest : public ControlFixture {
 protected:
  // "hscrollbar" is a custom-control record (a scroll bar) in the sample skin:
  // 60 x 24, picture 4, no mask.
  skin::TskDataSkinCustomControl& Custom() { return Record<skin::TskDataSkinCustomControl>("hscrollbar"); }
  void SetPoints(Point lt, Point rt, Point lb, Point rb) {
    auto& r = Custom();
    r.lefttoppoint = lt;
    r.righttoppoint = rt;
    r.leftbottompoint = lb;
    r.rightbottompoint = rb;
  }
  std::unique_ptr<skin::TskSkinCustomControl> MakeCustom(const std::string& name = "hscrollbar") {
    auto c = std::make_unique<skin::TskSkinCustomControl>(*form);
    c->SkinDataName = name;
    c->SetBounds(10, 10, 100, 40);
    return c;
  }
};

TEST_F(ControlBaseTest, StretchKindFollowsTheRecordsPointsInOrder) {
  struct Case {
    const char* what;
    Rect skinrect;
    Point rt, lb, rb;
    TskStretchKind kind;
  };
  const Rect cell{0, 0, 60, 24};
  const Case cases[] = {
      {"null skin rectangle", {0, 0, 0, 24}, {57, 3}, {3, 21}, {57, 21}, TskStretchKind::skNone},
      {"right-bottom point set", cell, {57, 3}, {3, 21}, {57, 21}, TskStretchKind::skBoth},
      {"right-bottom with one zero coordinate", cell, {57, 3}, {3, 21}, {57, 0}, TskStretchKind::skHorizontal},
      {"right-top x only", cell, {57, 0}, {0, 0}, {0, 0}, TskStretchKind::skHorizontal},
      {"left-bottom y only", cell, {0, 0}, {0, 21}, {0, 0}, TskStretchKind::skVertical},
      {"no points", cell, {0, 0}, {0, 0}, {0, 0}, TskStretchKind::skFixed},
  };
  auto c = MakeCustom();
  c->SetSkinData(data.get());
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    Custom().skinrect = k.skinrect;
    SetPoints({3, 3}, k.rt, k.lb, k.rb);
    c->ReadSkinRecord();
    EXPECT_EQ(c->StretchKind(), k.kind);
  }
}

TEST_F(ControlBaseTest, ARecordOfAnotherClassGivesAFixedKindWithoutPictures) {
  auto c = MakeCustom("bevel");  // a bevel record is no custom-control record
  c->SetSkinData(data.get());
  c->ReadSkinRecord();
  EXPECT_NE(c->SkinIndex(), -1);
  EXPECT_EQ(c->StretchKind(), TskStretchKind::skFixed);
  EXPECT_EQ(c->Picture, nullptr);
  EXPECT_EQ(c->MaskPicture, nullptr);
}

TEST_F(ControlBaseTest, SetBoundsKeepsWhatTheStretchKindFixes) {
  struct Case {
    const char* what;
    Point rt, lb, rb;
    int w, h;        // requested
    int wantW, wantH;
  };
  const Case cases[] = {
      {"kind 0 keeps the skin rectangle's size", {0, 0}, {0, 0}, {0, 0}, 150, 50, 60, 24},
      {"kind 1 is free", {57, 3}, {3, 21}, {57, 21}, 150, 50, 150, 50},
      {"kind 2 keeps the height", {57, 3}, {0, 0}, {0, 0}, 150, 50, 150, 24},
      {"kind 3 keeps the width", {0, 0}, {3, 21}, {0, 0}, 150, 50, 60, 50},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    SetPoints({3, 3}, k.rt, k.lb, k.rb);
    auto c = MakeCustom();
    c->SetSkinData(data.get());
    c->SetBounds(5, 6, k.w, k.h);
    EXPECT_EQ(c->BoundsRect(), (Rect{5, 6, 5 + k.wantW, 6 + k.wantH}));
  }
}

TEST_F(ControlBaseTest, AdjustSizeMovesThePointsAndClientRectangle) {
  SetPoints({3, 3}, {57, 3}, {3, 21}, {57, 21});
  Custom().clientrect = {3, 3, 57, 21};
  auto c = MakeCustom();
  c->SetSkinData(data.get());
  int w = 100, h = 40;
  c->AdjustSizeToSkin(w, h);
  EXPECT_EQ(c->NewLTPoint, (Point{3, 3}));
  EXPECT_EQ(c->NewRTPoint, (Point{97, 3}));
  EXPECT_EQ(c->NewLBPoint, (Point{3, 37}));
  EXPECT_EQ(c->NewRBPoint, (Point{97, 37}));
  EXPECT_EQ(c->NewClRect, (Rect{3, 3, 97, 37}));
}

TEST_F(ControlBaseTest, DefaultSizeAppliesOnlyWithoutARecord) {
  auto plain = MakeCustom();
  plain->SetDefaultWidth(0);
  plain->SetDefaultHeight(0);
  EXPECT_EQ(plain->BoundsRect(), (Rect{10, 10, 110, 50})) << "0 leaves the size alone";
  plain->SetDefaultWidth(120);
  plain->SetDefaultHeight(30);
  EXPECT_EQ(plain->BoundsRect(), (Rect{10, 10, 130, 40}));

  SetPoints({3, 3}, {57, 3}, {3, 21}, {57, 21});
  auto skinned = MakeCustom();
  skinned->SetSkinData(data.get());
  skinned->SetDefaultWidth(120);
  EXPECT_EQ(skinned->Width(), 100);
  // A skin change without a record applies both defaults.
  skinned->SkinDataName = "nosuchrecord";
  skinned->SetDefaultHeight(33);
  skinned->SkinChanged();
  EXPECT_EQ(skinned->Width(), 120);
  EXPECT_EQ(skinned->Height(), 33);
}

TEST_F(ControlBaseTest, TheWindowTakesTheShapeOfTheMask) {
  // A mask 60 x 24 with its top-left 4 x 4 corner white (outside).
  Bitmap mask(60, 24, 0);
  mask.FillRect({0, 0, 4, 4}, platform::Rgb(255, 255, 255));
  data->ActivePictures.push_back(mask);
  Custom().maskpictureindex = int(data->ActivePictures.size()) - 1;

  SetPoints({0, 0}, {0, 0}, {0, 0}, {0, 0});  // kind 0: the mask as it is
  auto c = MakeCustom();
  c->SetSkinData(data.get());
  ASSERT_TRUE(c->WindowRegion().has_value());
  EXPECT_EQ(*c->WindowRegion(), *skin::RegionFromBitmap(mask));
  EXPECT_FALSE(c->WindowRegion()->Contains(1, 1));
  EXPECT_TRUE(c->WindowRegion()->Contains(5, 1));

  // Kind 1 at a larger size: the corner stays cut, the rest is stretched.
  SetPoints({6, 6}, {54, 6}, {6, 18}, {54, 18});
  Custom().clientrect = {6, 6, 54, 18};
  c->SkinChanged();
  c->SetBounds(10, 10, 120, 48);
  ASSERT_TRUE(c->WindowRegion().has_value());
  EXPECT_FALSE(c->WindowRegion()->Contains(1, 1));
  EXPECT_TRUE(c->WindowRegion()->Contains(119, 47));
  EXPECT_TRUE(c->WindowRegion()->Contains(60, 30));

  // Without a record the shape goes.
  c->SkinDataName = "nosuchrecord";
  c->SkinChanged();
  EXPECT_FALSE(c->WindowRegion().has_value());
}

TEST_F(ControlBaseTest, PaintsPlainWithoutSkinAndThePictureWithIt) {
  auto c = MakeCustom();
  const Bitmap& plain = platform::headless::WindowImage(*c);
  ASSERT_EQ(plain.Width(), 100);
  EXPECT_EQ(plain.Pixel(50, 20), BtnFace());

  SetPoints({3, 3}, {57, 3}, {3, 21}, {57, 21});
  Custom().clientrect = {3, 3, 57, 21};
  c->SetSkinData(data.get());
  const Bitmap& pic = Picture(Custom().pictureindex);
  const Rect s = Custom().skinrect;
  const Bitmap& shown = platform::headless::WindowImage(*c);
  // Corners 1:1 from the skin rectangle's corners, at the control's corners.
  EXPECT_EQ(shown.Pixel(0, 0), pic.Pixel(s.left, s.top));
  EXPECT_EQ(shown.Pixel(99, 39), pic.Pixel(s.right - 1, s.bottom - 1));
  EXPECT_EQ(shown.Pixel(99, 0), pic.Pixel(s.right - 1, s.top));
  // The centre is the skin's centre colour, not the plain face.
  EXPECT_EQ(shown.Pixel(50, 20), pic.Pixel(s.left + 30, s.top + 12));
}

TEST_F(ControlBaseTest, LeavingASkinTakesItsShapeAway) {
  Bitmap mask(60, 24, 0);
  mask.FillRect({0, 0, 4, 4}, platform::Rgb(255, 255, 255));
  data->ActivePictures.push_back(mask);
  Custom().maskpictureindex = int(data->ActivePictures.size()) - 1;
  SetPoints({3, 3}, {57, 3}, {3, 21}, {57, 21});
  Custom().clientrect = {3, 3, 57, 21};

  // Destroyed: forgotten, plain at once, no shape left.
  auto c = MakeCustom();
  c->SetSkinData(data.get());
  ASSERT_TRUE(c->WindowRegion().has_value());
  skin::TskSkinData empty(form.get());
  auto d = MakeCustom();
  d->SetSkinData(data.get());
  d->SetSkinData(&empty);  // unbound by hand: the same
  EXPECT_EQ(d->SkinIndex(), -1);
  EXPECT_FALSE(d->WindowRegion().has_value());

  data.reset();
  EXPECT_EQ(c->SkinData(), nullptr);
  EXPECT_EQ(c->SkinIndex(), -1);
  EXPECT_EQ(c->Picture, nullptr);
  EXPECT_FALSE(c->WindowRegion().has_value());
  EXPECT_EQ(platform::headless::WindowImage(*c).Pixel(50, 20), BtnFace());
}

TEST_F(ControlBaseTest, ANewRecordNameTakesEffectAtTheNextPaint) {
  auto c = MakeCustom();
  c->SetSkinData(data.get());
  const int before = c->SkinIndex();
  c->SkinDataName = "vscrollbar";
  EXPECT_EQ(c->SkinIndex(), before);
  c->Repaint();
  EXPECT_EQ(c->SkinIndex(), data->GetControlIndex("vscrollbar"));
}

TEST_F(ControlBaseTest, MouseEnteringAndLeavingFireTheEvents) {
  auto c = MakeCustom();
  std::vector<std::string> events;
  c->OnMouseEnter = [&](skin::TskControl&) { events.push_back("enter"); };
  c->OnMouseLeave = [&](skin::TskControl&) { events.push_back("leave"); };
  const Point inside = c->ClientToScreen({5, 5});
  platform::headless::MouseAt(inside);
  platform::headless::MouseAt({inside.x + 1, inside.y});
  platform::headless::MouseAt(c->ClientToScreen({150, 5}));  // the form, beside the control
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

// A control that writes down what the frame tells it.
class RecordingControl : public skin::TskSkinControl {
 public:
  RecordingControl(platform::Window& parent, std::vector<std::string>& log, std::string name)
      : TskSkinControl(parent), log_(log), name_(std::move(name)) {
    SkinDataName = "hscrollbar";
  }
  void SkinChanging() override {
    TskSkinControl::SkinChanging();
    log_.push_back(name_ + " changing");
  }
  void SkinChanged() override {
    TskSkinControl::SkinChanged();
    log_.push_back(name_ + " changed " + (SkinIndex() == -1 ? "without" : "with") + " record");
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

TEST_F(ControlBaseTest, TheFormRelaysSkinChangesToItsControlsInTreeOrder) {
  std::vector<std::string> log;
  skin::TskSkinForm frame(*form);
  frame.SetSkinData(data.get());
  RecordingControl a(*form, log, "a");
  RecordingControl inner(a, log, "inner");
  RecordingControl b(*form, log, "b");
  skin::TskSkinData other(form.get());
  RecordingControl elsewhere(*form, log, "elsewhere");
  a.SetSkinData(data.get());
  inner.SetSkinData(data.get());
  b.SetSkinData(data.get());
  elsewhere.SetSkinData(&other);
  log.clear();

  data->LoadFromStoredSkin(stored);
  EXPECT_EQ(log, (std::vector<std::string>{"a changing", "inner changing", "b changing", "a changed with record",
                                           "inner changed with record", "b changed with record"}));

  // A load that ends without a skin leaves the controls plain.
  log.clear();
  skin::TskStoredSkin broken;
  data->LoadFromStoredSkin(broken);
  EXPECT_EQ(log.back(), "b changed without record");
  EXPECT_EQ(a.SkinIndex(), -1);
}

}  // namespace
}  // namespace controltest
