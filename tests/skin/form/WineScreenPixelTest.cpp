// Under Wine: what the skinned windows put on the real screen, read back from
// the screen's device context as a screenshot takes it, against the same scene
// painted by the portable core for the windows' current state and size. Every
// pixel inside the windows' shapes must match: the frame, caption buttons,
// client background, menu bar, controls, popup menus and hints.
//
// Text: the core paints text through the same platform fonts into the same
// off-screen bitmaps whose copies reach the screen, so text areas are held to
// the same exact match (a tolerance of zero pixels). A difference there means
// stale, misplaced or system-drawn text, which is what these tests are for.
// Needs an X display (tools/with-xvfb).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ScenePicture.h"
#include "SkinDemo.h"
#include "SkinGenerator.h"
#include "TempDir.h"
#include "platform/Application.h"
#include "platform/BmpFile.h"
#include "platform/Screen.h"
#include "platform/SysColors.h"
#include "skSkinHint.h"
// Last: its macros carry the same names as the frame's message constants.
#include <windows.h>

namespace {

using platform::Bitmap;
using platform::Point;
using platform::Rect;

// Away from the corner where the system tray's stand-in window sits.
constexpr Point kFormAt{80, 60};
// Where the cursor waits when no scene needs it: over no window of the test.
constexpr Point kCursorAway{1200, 1000};
// How long the windows are given to paint, and the screen to show it.
constexpr std::chrono::milliseconds kSettleTime{300}, kStep{10};
constexpr std::chrono::milliseconds kPatience{5000};

void Pump(std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
    platform::Application::ProcessMessages();
    std::this_thread::sleep_for(kStep);
  }
}

template <typename F>
bool PumpUntil(F done) {
  const auto until = std::chrono::steady_clock::now() + kPatience;
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    platform::Application::ProcessMessages();
    std::this_thread::sleep_for(kStep);
  }
  return true;
}

// The real mouse, through the system's input queue.
void MouseInput(Point screen, DWORD buttons = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((screen.x * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((screen.y * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

// The screen against the core's picture of `form` and `popups`, once the
// windows have painted; returns the number of differing pixels and the screen.
// A busy machine may show a change late: the screen gets a few settling times
// to catch up before a difference counts.
int ScreenMismatches(skin::TskSkinForm& form, const std::vector<platform::Window*>& popups, const char* scene,
                     Bitmap* shown = nullptr) {
  constexpr int kReported = 5, kAttempts = 3;
  for (int attempt = 1;; ++attempt) {
    Pump(kSettleTime);
    const Rect area = skindemo::SceneBounds(form, popups);
    const Bitmap screen = platform::CaptureScreen(area);
    // The expected picture starts as the screen itself: outside the windows'
    // shapes it shows whatever lies behind them, which is not compared.
    Bitmap expected = screen;
    skindemo::DrawScene(expected, {area.left, area.top}, form, popups);
    if (shown) *shown = screen;
    if (screen == expected) return 0;
    if (attempt < kAttempts) continue;
    // TW_PIXEL_PICTURES=FOLDER keeps both pictures of a scene that differs, to look at.
    if (const char* keep = std::getenv("TW_PIXEL_PICTURES")) {
      platform::SaveBmpFile(screen, std::string(keep) + "/" + scene + "-screen.bmp");
      platform::SaveBmpFile(expected, std::string(keep) + "/" + scene + "-core.bmp");
    }
    int differing = 0;
    for (int y = 0; y < screen.Height(); ++y)
      for (int x = 0; x < screen.Width(); ++x) {
        if (screen.Pixel(x, y) == expected.Pixel(x, y)) continue;
        if (differing++ < kReported)
          ADD_FAILURE() << scene << ": pixel (" << area.left + x << ", " << area.top + y << ") on screen "
                        << std::hex << screen.Pixel(x, y) << ", painted " << expected.Pixel(x, y) << std::dec;
      }
    return differing;
  }
}

class WineScreenPixels : public testing::Test {
 protected:
  void SetUp() override {
    MouseInput(kCursorAway);
    demo = std::make_unique<skindemo::SkinDemo>(dir.File("skin"));
    // Without a shell, the system shows tray icons in a window of its own.
    demo->tray.SetIconVisible(false);
    demo->form.SetPosition(kFormAt.x, kFormAt.y);
    demo->form.Show();
    ASSERT_TRUE(PumpUntil([&] { return demo->skinForm.IsFormActive(); })) << "the form never became active";
  }

  // The screen against the core's picture of the form and `popups` (the
  // form's hint window is added while it shows). Returns the differing pixels.
  int Mismatches(std::vector<platform::Window*> popups, const char* scene) {
    auto& hintWindow = demo->hint.OwnHintWindow();
    if (hintWindow.Visible()) popups.push_back(&hintWindow);
    return ScreenMismatches(demo->skinForm, popups, scene);
  }

  // The screen centre of a frame object.
  Point ObjectCentre(const std::string& name) {
    for (const auto& o : demo->skinForm.ObjectList)
      if (o->IDName == name) {
        const Rect b = demo->form.BoundsRect();
        const Rect r = o->ObjectRect;
        return {b.left + (r.left + r.right) / 2, b.top + (r.top + r.bottom) / 2};
      }
    ADD_FAILURE() << "no object " << name;
    return {};
  }

  platform::Application app;
  testing_support::TempDir dir;
  std::unique_ptr<skindemo::SkinDemo> demo;
};

TEST_F(WineScreenPixels, ActiveFormWithItsMenuBarAndControls) {
  EXPECT_EQ(Mismatches({}, "active form"), 0);
  // No system caption to draw: a new text shows in the skin's caption only.
  HWND hwnd = static_cast<HWND>(demo->form.NativeHandle());
  EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  demo->form.SetCaption("运单 TW-2026-0001 — Tarnwick");
  EXPECT_EQ(Mismatches({}, "new caption"), 0);
}

TEST_F(WineScreenPixels, ResizedSmallerAndLarger) {
  const Rect b = demo->form.BoundsRect();
  demo->form.SetBounds({b.left, b.top, b.left + 520, b.top + 360});
  EXPECT_EQ(Mismatches({}, "smaller"), 0);
  demo->form.SetBounds({b.left, b.top, b.left + 900, b.top + 640});
  EXPECT_EQ(Mismatches({}, "larger"), 0);

  // The user drags the bottom-right corner through the system's sizing loop.
  const Point corner{b.left + 900 - 2, b.top + 640 - 2};
  MouseInput(corner);
  MouseInput(corner, MOUSEEVENTF_LEFTDOWN);
  MouseInput({corner.x - 60, corner.y - 40});
  MouseInput({corner.x - 120, corner.y - 80});
  MouseInput({corner.x - 120, corner.y - 80}, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return demo->form.BoundsRect().Width() == 900 - 120; }))
      << "the drag did not size the window: " << demo->form.BoundsRect().Width();
  EXPECT_EQ(demo->form.BoundsRect().Height(), 640 - 80);
  MouseInput(kCursorAway);
  EXPECT_EQ(Mismatches({}, "dragged smaller"), 0);
}

TEST_F(WineScreenPixels, InactiveForm) {
  platform::Window other;
  other.SetBounds({900, 700, 1100, 850});
  other.Show();
  ASSERT_TRUE(PumpUntil([&] { return !demo->skinForm.IsFormActive(); })) << "the form stayed active";
  EXPECT_EQ(Mismatches({}, "inactive form"), 0);
}

TEST_F(WineScreenPixels, CloseButtonHotMorphingAndPressed) {
  skin::TskActiveSkinObject* close = nullptr;
  for (const auto& o : demo->skinForm.ObjectList)
    if (o->IDName == "closebutton") close = o.get();
  ASSERT_NE(close, nullptr);
  const Point centre = ObjectCentre("closebutton");

  // Halfway through its morph: the morph is held there while the screen is read.
  MouseInput(centre);
  ASSERT_TRUE(PumpUntil([&] { return close->MorphFactor > 0.25; })) << "the close button never lit up";
  demo->skinForm.MorphTimer.SetEnabled(false);
  EXPECT_LT(close->MorphFactor, 1.0);
  EXPECT_EQ(Mismatches({}, "close button morphing"), 0);

  demo->skinForm.MorphTimer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return close->MorphFactor >= 1.0; }));
  EXPECT_EQ(Mismatches({}, "close button hot"), 0);

  MouseInput(centre, MOUSEEVENTF_LEFTDOWN);
  auto* button = dynamic_cast<skin::TskSkinButtonObject*>(close);
  ASSERT_NE(button, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return button->Down; })) << "the press never reached the button";
  EXPECT_EQ(Mismatches({}, "close button pressed"), 0);

  // Released away from the button: it pops up and the form stays.
  MouseInput(kCursorAway);
  Pump(kSettleTime);
  MouseInput(kCursorAway, MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !button->Down; }));
  EXPECT_FALSE(demo->form.Closed());
  ASSERT_TRUE(PumpUntil([&] { return close->MorphFactor <= 0.0; }));
  EXPECT_EQ(Mismatches({}, "close button released"), 0);
}

TEST_F(WineScreenPixels, MaximizedRestoredAndRolledUp) {
  demo->skinForm.SetSkinWindowState(skin::TWindowState::wsMaximized);
  EXPECT_EQ(Mismatches({}, "maximized"), 0);
  demo->skinForm.SetSkinWindowState(skin::TWindowState::wsNormal);
  EXPECT_EQ(Mismatches({}, "restored"), 0);
  demo->skinForm.SetRollUp(true);
  ASSERT_TRUE(demo->skinForm.RolledUp());
  EXPECT_EQ(Mismatches({}, "rolled up"), 0);
  demo->skinForm.SetRollUp(false);
  EXPECT_EQ(Mismatches({}, "rolled down"), 0);
}

TEST_F(WineScreenPixels, PopupMenuWithItsSubmenuOpen) {
  const Point at = demo->form.ClientToScreen({60, 60});
  demo->menu.Popup(at.x, at.y);
  skin::TskSkinMenu& controller = demo->skinForm.SkinMenu();
  ASSERT_FALSE(controller.Levels.empty());
  controller.Levels.front()->HandleKey(VK_DOWN);  // from the first item to "Views"
  controller.Levels.front()->HandleKey(VK_RIGHT);
  ASSERT_EQ(controller.Levels.size(), 2u);
  std::vector<platform::Window*> levels;
  for (auto& level : controller.Levels) levels.push_back(level.get());
  EXPECT_EQ(Mismatches(levels, "popup menu and submenu"), 0);
  controller.CloseAllMenus();
  EXPECT_EQ(Mismatches({}, "menus closed"), 0);
}

TEST_F(WineScreenPixels, MenuBarItemOpen) {
  ASSERT_GT(demo->menuBar.ItemCount(), 0u);
  const Rect item = demo->menuBar.Item(0)->ObjectRect;
  const Point press = demo->menuBar.ClientToScreen({item.left + 3, item.top + 3});
  MouseInput(press);
  MouseInput(press, MOUSEEVENTF_LEFTDOWN);
  skin::TskSkinMenu& controller = demo->skinForm.SkinMenu();
  ASSERT_TRUE(PumpUntil([&] { return !controller.Levels.empty(); })) << "the bar's menu never opened";
  MouseInput(press, MOUSEEVENTF_LEFTUP);
  std::vector<platform::Window*> levels;
  for (auto& level : controller.Levels) levels.push_back(level.get());
  EXPECT_EQ(Mismatches(levels, "menu bar item open"), 0);
  controller.CloseAllMenus();
}

TEST_F(WineScreenPixels, HintOfACaptionButton) {
  MouseInput(ObjectCentre("maxbutton"));
  auto& hintWindow = demo->hint.OwnHintWindow();
  ASSERT_TRUE(PumpUntil([&] { return hintWindow.Visible(); })) << "no hint appeared";
  EXPECT_EQ(Mismatches({}, "hint"), 0);
}

// A skin whose frame picture cannot hold its frame (here: too small for its
// corner points) presents the plain frame on the screen, never a black one.
TEST(WineScreenPixelsBadSkin, MisfitFramePictureShowsThePlainFrame) {
  platform::Application app;
  testing_support::TempDir dir;
  skin::TskStoredSkin stored;
  stored.LoadFromSkinFile(skingen::GenerateSkinFolder(dir.File("skin")));
  platform::Window form;
  form.SetBounds({kFormAt.x, kFormAt.y, kFormAt.x + 400, kFormAt.y + 300});
  form.SetCaption("Tarnwick");
  skin::TskSkinData data(&form);
  data.LoadFromStoredSkin(stored);
  data.Picture = Bitmap(20, 20);
  skin::TskSkinForm skinForm(form);
  skinForm.SetSkinData(&data);
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return skinForm.IsFormActive(); }));
  EXPECT_FALSE(skinForm.SkinActive());
  Bitmap shown;
  EXPECT_EQ(ScreenMismatches(skinForm, {}, "plain frame", &shown), 0);
  // A frame drawn from missing pixels would be black all over its borders; the
  // plain frame's third bevel line is the button face all along.
  const platform::Colour face = platform::SysColor(platform::SysColour::BtnFace);
  int faceOnFrame = 0;
  for (int x = 2; x < shown.Width() - 2; ++x) faceOnFrame += shown.Pixel(x, 2) == face;
  EXPECT_EQ(faceOnFrame, shown.Width() - 4) << "the frame is not the plain frame";
}

}  // namespace
