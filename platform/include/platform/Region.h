// A region: a set of pixels kept as horizontal bands of x-spans, in one canonical
// form (no empty band, spans merged, equal touching bands merged), so that two
// regions covering the same pixels compare equal.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Types.h"

namespace platform {

class Region {
 public:
  enum class Mode { And, Or, Xor, Diff };

  Region() = default;
  explicit Region(const Rect& rect);
  // The union of the rectangles, in any order and overlapping or not.
  static Region FromRects(std::span<const Rect> rects);

  bool Empty() const { return bands_.empty(); }
  Rect Bounds() const;
  bool Contains(int x, int y) const;
  // The region as rectangles sorted by top, then left (Win32 region data order).
  std::vector<Rect> Rects() const;
  void Offset(int dx, int dy);

  static Region Combine(const Region& a, const Region& b, Mode mode);
  Region& operator|=(const Region& other) { return *this = Combine(*this, other, Mode::Or); }
  Region& operator&=(const Region& other) { return *this = Combine(*this, other, Mode::And); }
  Region& operator-=(const Region& other) { return *this = Combine(*this, other, Mode::Diff); }
  Region& operator^=(const Region& other) { return *this = Combine(*this, other, Mode::Xor); }

  struct Band {
    std::int32_t top = 0, bottom = 0;
    std::vector<std::int32_t> xs;  // left0, right0, left1, right1, ... ascending, disjoint
    friend bool operator==(const Band&, const Band&) = default;
  };
  const std::vector<Band>& Bands() const { return bands_; }
  // Appends a band below every existing one; used by builders that scan top to bottom.
  void AppendBand(std::int32_t top, std::int32_t bottom, std::vector<std::int32_t> xs);

  friend bool operator==(const Region&, const Region&) = default;

 private:
  std::vector<Band> bands_;
};

}  // namespace platform
