// The smaller pieces around the menu levels: the popup menu component and its
// host, fading in, the menu-closing messages, accelerators and the headless
// text that every test reads positions from.
#include "MenuFixture.h"
#include "platform/Font.h"

namespace popuptest {
namespace {

class Host : public skin::TskSkinMenuHost {
 public:
  explicit Host(platform::Window& form) : menu(&form) {}
  skin::TskSkinMenu& SkinMenu() override { return menu; }
  skin::TskSkinData* MenusSkinData() const override { return nullptr; }
  skin::TskSkinData* SkinData() const override { return nullptr; }
  void MenuOpening() override { ++openings; }
  skin::TskSkinMenu menu;
  int openings = 0;
};

TEST_F(MenuFixture, APopupMenuShowsThroughItsFormsHostAndNothingWithoutOne) {
  skin::TskSkinPopupMenu popup(&form);
  int popups = 0;
  popup.OnPopup = [&](skin::TskSkinPopupMenu&) { ++popups; };
  popup.Items.Add("One");
  popup.Popup(50, 60);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(VisiblePopups(), 0) << "no frame: the menu shows nothing";

  Host host(form);
  skin::RegisterMenuHost(form, &host);
  popup.Popup(50, 60);
  ASSERT_EQ(host.menu.Levels.size(), 1u);
  EXPECT_EQ(host.openings, 1);
  EXPECT_EQ(host.menu.Levels[0]->BoundsRect().left, 50);
  EXPECT_EQ(host.menu.Levels[0]->BoundsRect().top, 60);
  host.menu.CloseAllMenus();

  // A menu hosted by another form (a tray menu) finds that form's host.
  platform::Window other;
  skin::TskSkinPopupMenu tray(&other);
  tray.HostForm = &form;
  tray.Items.Add("Two");
  skin::SkinPopupInRect(tray, {100, 100, 140, 120}, true);
  ASSERT_EQ(host.menu.Levels.size(), 1u);
  EXPECT_EQ(host.menu.Levels[0]->BoundsRect().bottom, 100) << "placed above the rectangle";
  skin::UnregisterMenuHost(form);
}

TEST_F(MenuFixture, TheFirstLevelFadesInToTheBlendValueAndSubmenusStartThere) {
  menu.BlendOn = true;
  menu.BlendAnimation = true;
  menu.BlendValue = 200;
  Open();
  EXPECT_EQ(Level(0).Alpha(), std::optional<std::uint8_t>(200));
  Key(platform::vk::kDown);
  Key(platform::vk::kDown);
  Key(platform::vk::kRight);
  ASSERT_EQ(menu.Levels.size(), 2u);
  EXPECT_EQ(Level(1).Alpha(), std::optional<std::uint8_t>(200));
  menu.BlendOn = false;
  Open();
  EXPECT_EQ(Level(0).Alpha(), std::nullopt);
}

TEST(MenuCloseMessages, AreTheMovesActivationsAndButtonPressesOnly) {
  for (std::uint32_t m : {3u, 5u, 6u, 8u, 31u, 33u, 161u, 164u, 167u, 513u, 516u, 519u, 528u})
    EXPECT_TRUE(skin::IsMenuCloseMessage(m)) << m;
  for (std::uint32_t m : {0u, 2u, 15u, 256u, 512u, 514u, 517u, 520u, 1228u})
    EXPECT_FALSE(skin::IsMenuCloseMessage(m)) << m;
}

TEST(Accelerators, AreTheLetterAfterASingleAmpersandWithoutCase) {
  struct Case {
    std::uint32_t key;
    const char* caption;
    bool expected;
  } cases[] = {{'O', "&Open", true},   {'o', "&Open", true},  {'P', "&Open", false},
               {'X', "E&xit", true},   {'&', "A && B", false}, {'B', "A && &B", true},
               {'A', "Plain", false},  {'-', "-", false}};
  for (const Case& c : cases) EXPECT_EQ(platform::IsAccel(c.key, c.caption), c.expected) << c.caption;
}

TEST(HeadlessText, ExtentsArePrefixAwareAndFollowTheFontHeight) {
  const platform::Font font{"Arial", 14, 0, 1};
  const platform::Point abc = platform::TextExtent(font, "abc");
  EXPECT_EQ(abc.y, 14) << "a positive height is the cell height";
  EXPECT_GT(abc.x, 0);
  EXPECT_EQ(platform::TextExtent(font, "&abc"), abc);
  EXPECT_GT(platform::TextExtent(font, "&abc", platform::textflag::kNoPrefix).x, abc.x);
  EXPECT_EQ(platform::TextExtent(font, "ab\ncdef").y, 28);
  EXPECT_GT(platform::TextExtent(font, "ab\ncdef").x, abc.x);
  // A Chinese character is about a square of the character height.
  const platform::Font song{"宋体", -12, 0, 134};
  const platform::Point cjk = platform::TextExtent(song, "物流");
  EXPECT_GE(cjk.y, 12) << "a negative height is the character height; the cell adds the ascent and descent";
  EXPECT_GE(cjk.x, 2 * 11);
  EXPECT_LE(cjk.x, 2 * 13);
  // Drawn text stays inside its rectangle; the underlined accelerator inks the row under the baseline.
  platform::Bitmap b(40, 20, 0xFFFFFF);
  platform::PaintText(b, font, {5, 2, 19, 16}, "&xyz", 0);
  bool underline = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x)
      if (b.Pixel(x, y) != 0xFFFFFF) {
        EXPECT_TRUE(x >= 5 && x < 19 && y >= 2 && y < 16) << x << ", " << y;
      }
  for (int y = 2; y < 16; ++y) underline = underline || (b.Pixel(5, y) == 0 && b.Pixel(6, y) == 0 && b.Pixel(7, y) == 0);
  EXPECT_TRUE(underline);
}

}  // namespace
}  // namespace popuptest
