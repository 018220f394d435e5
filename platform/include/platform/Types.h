// Geometry and colour types shared by every layer.
#pragma once
#include <cstdint>

namespace platform {

struct Point {
  std::int32_t x = 0, y = 0;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive; a rectangle is empty when its width or height is below 1.
struct Rect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  constexpr std::int32_t Width() const { return right - left; }
  constexpr std::int32_t Height() const { return bottom - top; }
  constexpr bool Empty() const { return Width() < 1 || Height() < 1; }
  // The left and top edges are inside, the right and bottom ones not.
  constexpr bool Contains(Point p) const { return left <= p.x && p.x < right && top <= p.y && p.y < bottom; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// 0x00BBGGRR, red in the lowest byte, as skin definitions write it (in decimal).
using Colour = std::int32_t;

constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Colour(r | (g << 8) | (b << 16));
}

}  // namespace platform
