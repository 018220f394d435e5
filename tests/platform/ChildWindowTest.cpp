// Child windows on either backend: placed in the parent's client coordinates,
// listed by their parent, shown and hidden on their own.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Window.h"

namespace {

TEST(ChildWindow, BoundsAreInTheParentsClientArea) {
  platform::Window form;
  form.SetBorderStyle(platform::BorderStyle::None);
  form.SetBounds({100, 50, 400, 300});
  platform::Window outer(form);
  platform::Window inner(outer);
  outer.SetBounds({10, 20, 110, 80});
  inner.SetBounds({5, 5, 25, 25});

  EXPECT_EQ(outer.Kind(), platform::WindowKind::Child);
  EXPECT_EQ(form.Children(), (std::vector<platform::Window*>{&outer}));
  EXPECT_EQ(outer.Children(), (std::vector<platform::Window*>{&inner}));
  EXPECT_EQ(inner.Parent(), &outer);
  EXPECT_EQ(outer.BoundsRect(), (platform::Rect{10, 20, 110, 80}));
  EXPECT_EQ(outer.ClientSize(), (platform::Point{100, 60}));
  const platform::Point origin = form.ClientToScreen({0, 0});
  EXPECT_EQ(inner.ClientToScreen({1, 2}), (platform::Point{origin.x + 16, origin.y + 27}));
  EXPECT_EQ(inner.ScreenToClient({origin.x + 16, origin.y + 27}), (platform::Point{1, 2}));

  EXPECT_TRUE(inner.Visible()) << "a child is visible by its own state";
  inner.Hide();
  EXPECT_FALSE(inner.Visible());
  inner.ShowNoActivate();
  EXPECT_TRUE(inner.Visible());
}

TEST(ChildWindow, LeavesItsParentsListWhenDestroyed) {
  platform::Window form;
  auto a = std::make_unique<platform::Window>(form);
  platform::Window b(form);
  a.reset();
  EXPECT_EQ(form.Children(), (std::vector<platform::Window*>{&b}));
}

}  // namespace
