#include <gtest/gtest.h>

#include "platform/Application.h"
#include "platform/Input.h"
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

namespace {

// Writes down the mouse messages a window gets, with their client points.
class MouseLog : public platform::Window {
 public:
  MouseLog(platform::Window& parent, std::vector<std::string>& log, std::string name)
      : platform::Window(parent), log_(log), name_(std::move(name)) {}

 protected:
  void WndProc(platform::Message& m) override {
    namespace msg = platform::msg;
    const platform::Point p = platform::ParamToPoint(m.lParam);
    if (m.msg == msg::kMouseEnter) log_.push_back(name_ + " enter");
    if (m.msg == msg::kMouseLeave) log_.push_back(name_ + " leave");
    if (m.msg == msg::kLButtonDown) log_.push_back(name_ + " down " + std::to_string(p.x) + "," + std::to_string(p.y));
    platform::Window::WndProc(m);
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

TEST(ChildWindow, MouseGoesToTheInnermostChild) {
  platform::headless::Reset();
  platform::headless::SetEcho(false);
  platform::Window form;
  form.SetBorderStyle(platform::BorderStyle::None);
  form.SetBounds({100, 50, 400, 300});
  form.Show();
  std::vector<std::string> log;
  MouseLog outer(form, log, "outer");
  outer.SetBounds({10, 20, 110, 80});
  MouseLog inner(outer, log, "inner");
  inner.SetBounds({5, 5, 25, 25});
  // The top-level window under the point stays the form.
  EXPECT_EQ(platform::WindowAtPoint({116, 77}), &form);

  // Mouse messages go to the innermost child, which hears of entering first.
  platform::headless::ClickAt({116, 77});
  platform::headless::ClickAt({150, 100});
  EXPECT_EQ(log, (std::vector<std::string>{"inner enter", "inner down 1,2", "inner leave", "outer enter",
                                           "outer down 40,30"}));
  // A child shown again stays a child, under its parent.
  inner.Hide();
  inner.ShowNoActivate();
  EXPECT_EQ(platform::WindowAtPoint({116, 77}), &form);
  // A hidden child is passed over.
  log.clear();
  outer.Hide();
  platform::headless::ClickAt({116, 77});
  EXPECT_EQ(log, (std::vector<std::string>{"outer leave"}));
}

TEST(ChildWindow, OutlivesItsParent) {
  std::vector<std::string> log;
  auto form = std::make_unique<platform::Window>();
  MouseLog child(*form, log, "child");
  form.reset();
  EXPECT_EQ(child.Parent(), nullptr);
  child.SetBounds({0, 0, 10, 10});
  EXPECT_EQ(child.ClientSize(), (platform::Point{10, 10}));
}

}  // namespace
