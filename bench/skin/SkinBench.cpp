// Mask-to-region and frame stretching at full-HD size, each against a naive
// per-pixel version in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "SkinGenerator.h"
#include "platform/BmpFile.h"
#include "skSkinData.h"
#include "skUtils.h"

namespace {

using platform::Bitmap;
using platform::Rect;

constexpr int kW = 1920, kH = 1080;
constexpr int kCornerRadius = 12;

// A window-shaped mask: black inside, rounded corners and a few cut-out holes.
Bitmap ScreenMask() {
  Bitmap m(kW, kH, 0);
  const platform::Colour white = platform::Rgb(255, 255, 255);
  for (int y = 0; y < kCornerRadius; ++y) {
    const int d = kCornerRadius - y;
    int cut = 0;
    while ((cut - kCornerRadius) * (cut - kCornerRadius) + d * d > kCornerRadius * kCornerRadius) ++cut;
    m.FillRect({0, y, cut, y + 1}, white);
    m.FillRect({kW - cut, y, kW, y + 1}, white);
  }
  for (int i = 0; i < 40; ++i) m.FillRect({40 + 45 * i, 300, 60 + 45 * i, 340 + i}, white);
  return m;
}

// The naive route: one pixel query per pixel and one rectangle per black pixel.
platform::Region NaiveRegion(const Bitmap& mask) {
  std::vector<Rect> rects;
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x)
      if (mask.Pixel(x, y) == 0) rects.push_back({x, y, x + 1, y + 1});
  return platform::Region::FromRects(rects);
}

void BM_MaskToRegion(benchmark::State& state) {
  const Bitmap mask = ScreenMask();
  for (auto _ : state) benchmark::DoNotOptimize(skin::RegionFromBitmap(mask));
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_MaskToRegion)->Unit(benchmark::kMillisecond);

void BM_MaskToRegionNaive(benchmark::State& state) {
  const Bitmap mask = ScreenMask();
  if (NaiveRegion(mask) != *skin::RegionFromBitmap(mask)) state.SkipWithError("regions differ");
  for (auto _ : state) benchmark::DoNotOptimize(NaiveRegion(mask));
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_MaskToRegionNaive)->Unit(benchmark::kMillisecond);

struct Frame {
  skin::TskSkinData data;
  skin::TskStretchGeometry g, t;
  Frame() {
    const auto dir = std::filesystem::temp_directory_path() / "tw-skin-bench";
    const std::u8string name = dir.u8string();
    skin::TskStoredSkin stored;
    stored.LoadFromSkinFile(skingen::GenerateSkinFolder(std::string(name.begin(), name.end())));
    std::filesystem::remove_all(dir);
    data.SetStoredSkin(&stored);
    // Stretch points on the client rectangle's corners, so that the naive
    // version computes exactly the same picture.
    const Rect c = data.clientrect;
    g = {{c.left, c.top}, {c.right, c.top}, {c.left, c.bottom}, {c.right, c.bottom}, c};
    t = g;
    const int dx = kW - data.Picture.Width(), dy = kH - data.Picture.Height();
    t.righttop.x += dx;
    t.leftbottom.y += dy;
    t.rightbottom.x += dx;
    t.rightbottom.y += dy;
    t.client.right += dx;
    t.client.bottom += dy;
  }
};

// Source coordinate of a target coordinate: fixed ends, middle repeated.
int Map(int v, int lo, int hi, int sourceSize, int targetSize) {
  if (v < lo) return v;
  if (v >= targetSize - (sourceSize - hi)) return v - (targetSize - sourceSize);
  return lo + (v - lo) % (hi - lo);
}

// The naive route: every target pixel looks its source pixel up on its own.
void NaiveStretch(const Bitmap& src, const Rect& c, Bitmap& out) {
  out.SetSize(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      out.SetPixel(x, y, src.Pixel(Map(x, c.left, c.right, src.Width(), kW), Map(y, c.top, c.bottom, src.Height(), kH)));
}

void BM_StretchFrame(benchmark::State& state) {
  Frame f;
  Bitmap out;
  for (auto _ : state) {
    skin::BuildStretchImage(f.g, f.data.Picture.BoundsRect(), f.data.Picture, kW, kH, f.t, true, out);
    benchmark::DoNotOptimize(out.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_StretchFrame)->Unit(benchmark::kMillisecond);

void BM_StretchFrameNaive(benchmark::State& state) {
  Frame f;
  Bitmap out, fast;
  NaiveStretch(f.data.Picture, f.data.clientrect, out);
  skin::BuildStretchImage(f.g, f.data.Picture.BoundsRect(), f.data.Picture, kW, kH, f.t, true, fast);
  if (out != fast) state.SkipWithError("pictures differ");
  for (auto _ : state) {
    NaiveStretch(f.data.Picture, f.data.clientrect, out);
    benchmark::DoNotOptimize(out.Row(0));
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_StretchFrameNaive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
