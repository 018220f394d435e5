#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/Window.h"
#include "platform/headless/Driver.h"

namespace {

constexpr std::uint32_t kProbe = platform::msg::kUser + 1;

class ProbeWindow : public platform::Window {
 public:
  std::vector<std::string> seen;

 protected:
  void WndProc(platform::Message& m) override {
    if (m.msg == kProbe) {
      seen.push_back("window");
      m.result = 7;
      return;
    }
    platform::Window::WndProc(m);
  }
};

TEST(Window, HooksRunNewestFirstAndCanHandleAMessage) {
  platform::Application app;
  ProbeWindow w;
  const int first = w.AddMessageHook([&](platform::Window&, platform::Message& m) {
    if (m.msg == kProbe) w.seen.push_back("first");
    return false;
  });
  w.AddMessageHook([&](platform::Window&, platform::Message& m) {
    if (m.msg == kProbe) w.seen.push_back("second");
    return false;
  });
  EXPECT_EQ(w.Perform(kProbe), 7);
  EXPECT_EQ(w.seen, (std::vector<std::string>{"second", "first", "window"}));

  w.seen.clear();
  w.RemoveMessageHook(first);
  w.AddMessageHook([&](platform::Window&, platform::Message& m) {
    if (m.msg != kProbe) return false;
    w.seen.push_back("taker");
    m.result = 9;
    return true;
  });
  EXPECT_EQ(w.Perform(kProbe), 9);
  EXPECT_EQ(w.seen, (std::vector<std::string>{"taker"}));
}

TEST(Window, AHookMayRemoveItselfWhileItRuns) {
  platform::Application app;
  ProbeWindow w;
  int id = 0;
  int calls = 0;
  id = w.AddMessageHook([&](platform::Window& self, platform::Message&) {
    ++calls;
    self.RemoveMessageHook(id);
    return false;
  });
  w.Perform(kProbe);
  w.Perform(kProbe);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(w.seen.size(), 2u);
}

TEST(Application, ListsFormsInCreationOrderAndEndsWithTheMainForm) {
  platform::Application app;
  auto main = std::make_unique<platform::Window>();
  {
    platform::Window second;
    ASSERT_EQ(app.Forms().size(), 2u);
    EXPECT_EQ(app.Forms()[0], main.get());
    EXPECT_EQ(app.Forms()[1], &second);
  }
  EXPECT_EQ(app.Forms().size(), 1u);
  EXPECT_EQ(app.MainForm(), main.get());
  main->Perform(platform::msg::kClose);
  EXPECT_TRUE(main->Closed());
  EXPECT_TRUE(app.Terminated());
}

TEST(Window, ShowReportsAnErrorOfTheShowHandler) {
  platform::headless::Reset();
  platform::headless::SetEcho(false);
  platform::Application app;
  app.SetTitle("Title");
  platform::Window w;
  w.OnShow = [] { throw std::runtime_error("cannot open"); };
  w.Show();
  EXPECT_TRUE(w.Visible());
  ASSERT_EQ(platform::headless::MessageBoxes().size(), 1u);
  EXPECT_EQ(platform::headless::MessageBoxes()[0].text, "cannot open.");
  EXPECT_EQ(platform::headless::MessageBoxes()[0].caption, "Title");
  EXPECT_EQ(platform::headless::MessageBoxes()[0].icon, platform::MessageIcon::Error);
}

}  // namespace
