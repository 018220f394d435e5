// The update window on the headless backend: its look, its animation, its timer,
// and what start-up does with a missing or wrong main.ini.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/Application.h"
#include "platform/Resources.h"
#include "platform/headless/Driver.h"
#include "platform/headless/EmbeddedResource.h"
#include "u_update.h"

namespace {

namespace headless = platform::headless;

class UpdateWindowTest : public ::testing::Test {
 protected:
  UpdateWindowTest() {
    headless::Reset();
    headless::UseVirtualClock(true);
    headless::SetEcho(false);
    headless::SetShellStartsPrograms(false);
    headless::SetDesktopSize(1024, 768);
    headless::SetExeName(dir.File("update"));
    app.SetTitle(launcher::kApplicationTitle);
  }
  ~UpdateWindowTest() override { headless::Reset(); }

  testing_support::TempDir dir;
  platform::Application app;
};

TEST_F(UpdateWindowTest, IsAFramelessCentredPanelWithItsCaption) {
  launcher::TForm1 form;
  EXPECT_EQ(form.Caption(), "正在从本地进行升级 . . .");
  EXPECT_EQ(app.Title(), "软件升级 . . .");
  EXPECT_EQ(form.GetBorderStyle(), platform::BorderStyle::None);
  EXPECT_EQ(form.ClientSize(), (platform::Point{474, 271}));
  EXPECT_EQ(form.BoundsRect(), (platform::Rect{275, 248, 275 + 474, 248 + 271}));
  EXPECT_EQ(app.MainForm(), &form);
}

TEST_F(UpdateWindowTest, AnimationLoopsOverItsThirtyOneFramesWithoutEnd) {
  launcher::TForm1 form;
  form.Timer1.SetEnabled(false);  // keep the update sequence out of this
  ASSERT_TRUE(form.Animate1.Active());
  EXPECT_EQ(form.Animate1.CurrentFrame(), 0);
  int highest = 0, wraps = 0, previous = 0;
  for (int i = 0; i < 31 * 5; ++i) {
    headless::AdvanceTime(67);
    const int frame = form.Animate1.CurrentFrame();
    highest = std::max(highest, frame);
    if (frame < previous) ++wraps;
    previous = frame;
  }
  EXPECT_EQ(highest, 30);
  EXPECT_EQ(wraps, 5);
  EXPECT_TRUE(form.Animate1.Active());
}

TEST_F(UpdateWindowTest, FirstTickComesASecondAfterCreationNotAfterShowing) {
  launcher::TForm1 form;
  EXPECT_TRUE(form.Timer1.Running());
  EXPECT_EQ(form.Timer1.Interval(), 1000u);
  headless::AdvanceTime(600);
  form.Show();  // the failed open is reported; the timer keeps its count
  EXPECT_FALSE(form.Closed());
  headless::AdvanceTime(399);
  EXPECT_FALSE(form.Closed()) << "ticked early";
  headless::AdvanceTime(1);
  EXPECT_TRUE(form.Closed()) << "the sequence ran and closed the window";
}

TEST_F(UpdateWindowTest, MissingSettingsShowOneErrorBoxThenTheSequenceEndsTheProgram) {
  launcher::TForm1 form;
  app.Run();
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  const headless::ShownMessageBox& box = headless::MessageBoxes()[0];
  EXPECT_EQ(box.caption, "软件升级 . . .");
  EXPECT_EQ(box.icon, platform::MessageIcon::Error);
  // The empty provider value runs on into the next keyword, and the message says so.
  EXPECT_NE(box.text.find("\"Password=\""), std::string::npos) << box.text;
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(form.t_sys_soft.Active());
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / std::filesystem::path(u8"Tarnwick物流信息管理系统.zip")));
  EXPECT_EQ(std::filesystem::file_size(dir.Path() / std::filesystem::path(u8"Tarnwick物流信息管理系统.zip")), 0u);
}

TEST_F(UpdateWindowTest, AnUnknownProviderIsNamedInTheErrorBox) {
  dir.Write("main.ini", "[database]\nProvider=NoSuchProvider;\nData Source=x\n");
  launcher::TForm1 form;
  form.Show();
  ASSERT_EQ(headless::MessageBoxes().size(), 1u);
  EXPECT_NE(headless::MessageBoxes()[0].text.find("NoSuchProvider"), std::string::npos)
      << headless::MessageBoxes()[0].text;
}

TEST_F(UpdateWindowTest, SettingsInTheWorkingFolderAreNotRead) {
  testing_support::TempDir working;
  working.Write("main.ini", "[database]\nProvider=SQLite;\nData Source=x.db\n");
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(working.Path());
  launcher::TForm1 form;
  form.t_sys_softBeforeOpen(form.t_sys_soft);
  std::filesystem::current_path(previous);
  EXPECT_EQ(form.t_sys_soft.ConnectionString(),
            "Provider=Password=Persist Security Info=User ID=Initial Catalog=Data Source=");
}

// A stored skin that cannot be read leaves the window plain; the update goes on.
TEST_F(UpdateWindowTest, AStoredSkinThatFailsToLoadLeavesTheWindowPlainAndTheSequenceRuns) {
  const std::span<const std::uint8_t> good = platform::ProgramResource(TW_STORED_SKIN_RESOURCE);
  ASSERT_FALSE(good.empty());
  struct Restore {
    std::span<const std::uint8_t> data;
    ~Restore() { headless::RegisterProgramResource(TW_STORED_SKIN_RESOURCE, data); }
  } restore{good};
  // The form data stream intact, the skin inside it damaged.
  std::vector<std::uint8_t> damaged(good.begin(), good.end());
  for (std::size_t i = damaged.size() / 2; i < damaged.size(); ++i) damaged[i] ^= 0x5A;
  std::vector<std::uint8_t> truncated(good.begin(), good.begin() + good.size() / 3);
  for (const std::vector<std::uint8_t>* blob : {&damaged, &truncated}) {
    headless::RegisterProgramResource(TW_STORED_SKIN_RESOURCE, *blob);
    launcher::TForm1 form;
    EXPECT_TRUE(form.skSkinData1.Empty);
    EXPECT_FALSE(form.skSkinForm1.SkinActive());
    EXPECT_EQ(form.ClientSize(), (platform::Point{474, 271}));
    EXPECT_TRUE(form.Animate1.Active());
    form.Show();
    headless::AdvanceTime(launcher::kUpdateIntervalMs);
    EXPECT_TRUE(form.Closed()) << "the update sequence did not run";
  }
}

}  // namespace
