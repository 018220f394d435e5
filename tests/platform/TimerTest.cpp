#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/Timer.h"
#include "platform/headless/Driver.h"

namespace {

class TimerTest : public ::testing::Test {
 protected:
  TimerTest() {
    platform::headless::Reset();
    platform::headless::UseVirtualClock(true);
  }
  ~TimerTest() override { platform::headless::UseVirtualClock(false); }
};

TEST_F(TimerTest, RunsOnlyWithIntervalHandlerAndEnabled) {
  platform::Timer timer;
  EXPECT_FALSE(timer.Running()) << "no handler yet";
  int ticks = 0;
  timer.SetOnTimer([&] { ++ticks; });
  EXPECT_TRUE(timer.Running());
  timer.SetInterval(0);
  EXPECT_FALSE(timer.Running());
  timer.SetInterval(100);
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  platform::headless::AdvanceTime(1000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, TicksOncePerIntervalAndEnablingARunningTimerChangesNothing) {
  platform::Timer timer;
  timer.SetInterval(1000);
  int ticks = 0;
  timer.SetOnTimer([&] { ++ticks; });
  platform::headless::AdvanceTime(999);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);  // already on: the count does not restart
  platform::headless::AdvanceTime(1);
  EXPECT_EQ(ticks, 1);
  platform::headless::AdvanceTime(3000);
  EXPECT_EQ(ticks, 4);
}

TEST_F(TimerTest, AHandlerThatSwitchesItsTimerOffAndOnRestartsTheCount) {
  platform::Timer timer;
  timer.SetInterval(1000);
  std::vector<std::uint64_t> at;
  timer.SetOnTimer([&] {
    at.push_back(platform::headless::NowMs());
    timer.SetEnabled(false);
    platform::headless::AdvanceTime(0);
    timer.SetEnabled(true);
  });
  const std::uint64_t start = platform::headless::NowMs();
  platform::headless::AdvanceTime(3000);
  ASSERT_EQ(at.size(), 3u);
  EXPECT_EQ(at[0] - start, 1000u);
  EXPECT_EQ(at[2] - start, 3000u);
}

TEST_F(TimerTest, ProcessMessagesFiresOnlyWhatIsDue) {
  platform::Application app;
  platform::Timer timer;
  timer.SetInterval(50);
  int ticks = 0;
  timer.SetOnTimer([&] { ++ticks; });
  platform::Application::ProcessMessages();
  EXPECT_EQ(ticks, 0);
}

}  // namespace
