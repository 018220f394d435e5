// MDI frames and children on either backend: a child placed in its frame's
// client coordinates, the frame's list of children and the activation passed
// among them (and told to them) as they are shown and closed.
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/Window.h"

namespace {

using platform::FormStyle;
using platform::Window;

// Records the activation messages and the end a window hears.
struct Recorder {
  explicit Recorder(Window& w) {
    w.AddMessageHook([this](Window& window, platform::Message& m) {
      if (m.msg == platform::msg::kNCActivate) events.emplace_back(&window, int(m.wParam));
      if (m.msg == platform::msg::kDestroy) events.emplace_back(&window, -1);
      return false;
    });
  }
  std::vector<std::pair<Window*, int>> events;
};

TEST(MDIWindow, ChildrenLiveInTheFramesClientArea) {
  Window frame(FormStyle::MDIForm, nullptr);
  frame.SetBounds({100, 50, 600, 450});
  frame.Show();
  Window child(FormStyle::MDIChild, &frame);
  child.SetBorderStyle(platform::BorderStyle::None);
  child.SetBounds({10, 20, 210, 170});
  EXPECT_EQ(frame.Style(), FormStyle::MDIForm);
  EXPECT_EQ(child.Style(), FormStyle::MDIChild);
  EXPECT_EQ(child.MDIFrame(), &frame);
  EXPECT_EQ(child.Kind(), platform::WindowKind::Form);
  EXPECT_EQ(child.BoundsRect(), (platform::Rect{10, 20, 210, 170}));
  const platform::Point origin = frame.ClientToScreen({0, 0});
  EXPECT_EQ(child.ClientToScreen({1, 2}), (platform::Point{origin.x + 11, origin.y + 22}));
  EXPECT_EQ(child.ScreenToClient({origin.x + 11, origin.y + 22}), (platform::Point{1, 2}));
  EXPECT_FALSE(child.Visible());
  child.Show();
  EXPECT_TRUE(child.Visible());
}

TEST(MDIWindow, ActivationFollowsShowingAndClosing) {
  Window frame(FormStyle::MDIForm, nullptr);
  frame.Show();
  Window a(FormStyle::MDIChild, &frame), b(FormStyle::MDIChild, &frame), c(FormStyle::MDIChild, &frame);
  Recorder ra(a), rb(b), rc(c);
  EXPECT_EQ(frame.MDIChildren(), (std::vector<Window*>{&a, &b, &c}));
  EXPECT_EQ(frame.ActiveMDIChild(), nullptr);
  a.Show();
  b.Show();
  EXPECT_EQ(frame.ActiveMDIChild(), &b);
  EXPECT_EQ(ra.events, (std::vector<std::pair<Window*, int>>{{&a, 1}, {&a, 0}}));
  EXPECT_EQ(rb.events, (std::vector<std::pair<Window*, int>>{{&b, 1}}));
  // Shown again, a child takes the activation back.
  a.Show();
  EXPECT_EQ(frame.ActiveMDIChild(), &a);
  // The active one closes: it hears of its end, and the last visible one (c is hidden) takes over.
  rb.events.clear();
  a.Close();
  EXPECT_EQ(ra.events.back(), (std::pair<Window*, int>{&a, -1}));
  EXPECT_EQ(frame.MDIChildren(), (std::vector<Window*>{&b, &c}));
  EXPECT_EQ(frame.ActiveMDIChild(), &b);
  EXPECT_EQ(rb.events, (std::vector<std::pair<Window*, int>>{{&b, 1}}));
  EXPECT_TRUE(rc.events.empty());
}

TEST(MDIWindow, ChildAndFrameOutliveEachOther) {
  auto frame = std::make_unique<Window>(FormStyle::MDIForm, nullptr);
  auto a = std::make_unique<Window>(FormStyle::MDIChild, frame.get());
  Window b(FormStyle::MDIChild, frame.get());
  a->Show();
  a.reset();
  EXPECT_EQ(frame->MDIChildren(), std::vector<Window*>{&b});
  EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
  frame.reset();
  EXPECT_EQ(b.MDIFrame(), nullptr);
}

}  // namespace
