#include "skUtils.h"

namespace skin {

TskFBitmap::TskFBitmap(const Bitmap& source) : Width(source.Width()), Height(source.Height()) {
  RowPadding = Width % 4;
  RowStride = TskFBitmap::kBytesPerPixel * Width + RowPadding;
  ImageSize = RowStride * Height;
  pixels_.assign(std::size_t(ImageSize), 0);
  PixelData = pixels_.data();
  Rows.resize(std::size_t(Height));
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* row = PixelData + std::size_t(y) * std::size_t(RowStride);
    Rows[std::size_t(y)] = row;
    const Colour* in = source.Row(y);
    for (int x = 0; x < Width; ++x) {
      row[3 * x] = std::uint8_t(in[x] >> 16);    // blue
      row[3 * x + 1] = std::uint8_t(in[x] >> 8);  // green
      row[3 * x + 2] = std::uint8_t(in[x]);       // red
    }
  }
}

}  // namespace skin
