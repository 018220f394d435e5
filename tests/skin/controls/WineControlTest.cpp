// Under Wine: skinned controls are real child windows of their form. A control
// paints its skin pieces to the screen, takes the shape of its record's mask,
// hears of the mouse entering and leaving, and answers real clicks.
// Needs an X display (tools/with-xvfb).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/Application.h"
#include "platform/Window.h"
#include "skSkinCtrls.h"
#include "skSkinData.h"
#include "skSkinScrollBar.h"

namespace {

// Lets the message loop run until `done` or about two seconds have passed.
template <typename F>
bool PumpUntil(F done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    platform::Application::ProcessMessages();
    Sleep(10);
  }
  return done();
}

struct SkinnedForm {
  SkinnedForm() {
    form.SetClientSize(400, 300);
    form.Show();
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
    data.LoadFromStoredSkin(stored);
  }
  template <class R>
  R& Record(const std::string& name) {
    return dynamic_cast<R&>(*data.SkinControls[std::size_t(data.GetControlIndex(name))]);
  }
  platform::Application app;
  platform::Window form;
  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  skin::TskSkinData data{&form};
};

TEST(WineControl, AScrollBarIsAChildWindowThatPaintsItsSkinAndTakesClicks) {
  SkinnedForm f;
  skin::TskSkinScrollBar bar(f.form);
  bar.SetBounds(10, 20, 200, 19);
  bar.SetSkinData(&f.data);
  HWND hwnd = static_cast<HWND>(bar.NativeHandle());
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(GetParent(hwnd), static_cast<HWND>(f.form.NativeHandle()));
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(hwnd));
  EXPECT_EQ(bar.BoundsRect(), (platform::Rect{10, 20, 210, 39}));

  PumpUntil([] { return false; });
  const auto& r = f.Record<skin::TskDataSkinScrollBarControl>("hscrollbar");
  const platform::Bitmap& picture = *f.data.GetActivePicture(r.pictureindex);
  HDC dc = GetDC(hwnd);
  const COLORREF corner = GetPixel(dc, 0, 0);
  ReleaseDC(hwnd, dc);
  EXPECT_EQ(platform::Colour(corner), picture.Pixel(r.upbuttonrect.left, r.upbuttonrect.top));

  // A real click on the down button steps the position.
  const platform::Rect down = bar.DownButtonRect();
  const LPARAM at = MAKELPARAM((down.left + down.right) / 2, 9);
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(bar.Position(), 1);
}

TEST(WineControl, AMaskShapesTheControlAndTheMouseIsTracked) {
  SkinnedForm f;
  platform::Bitmap mask(60, 24, 0);
  mask.FillRect({0, 0, 4, 4}, platform::Rgb(255, 255, 255));
  f.data.ActivePictures.push_back(mask);
  auto& rec = f.Record<skin::TskDataSkinCustomControl>("hscrollbar");
  rec.maskpictureindex = int(f.data.ActivePictures.size()) - 1;
  rec.lefttoppoint = rec.righttoppoint = rec.leftbottompoint = rec.rightbottompoint = {};
  skin::TskSkinCustomControl c(f.form);
  c.SkinDataName = "hscrollbar";
  c.SetSkinData(&f.data);
  HWND hwnd = static_cast<HWND>(c.NativeHandle());
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(hwnd, rgn), ERROR);
  EXPECT_FALSE(PtInRegion(rgn, 1, 1));
  EXPECT_TRUE(PtInRegion(rgn, 5, 1));
  DeleteObject(rgn);

  std::vector<std::string> events;
  c.OnMouseEnter = [&](skin::TskControl&) { events.push_back("enter"); };
  c.OnMouseLeave = [&](skin::TskControl&) { events.push_back("leave"); };
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(11, 10));
  SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave"}));
}

}  // namespace
