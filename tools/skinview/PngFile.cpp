#include "PngFile.h"

#include <png.h>

#include <string>

#include "platform/Exception.h"

namespace skinview {

std::vector<std::uint8_t> EncodePng(const platform::Bitmap& bitmap) {
  if (bitmap.Empty()) throw platform::Exception("An empty picture cannot be written as PNG");
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<std::uint8_t> rgb;
  rgb.reserve(std::size_t(h) * 3 * std::size_t(w));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const platform::Colour c = bitmap.Row(y)[x];  // 0x00BBGGRR
      rgb.insert(rgb.end(), {std::uint8_t(c), std::uint8_t(c >> 8), std::uint8_t(c >> 16)});
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(w);
  image.height = png_uint_32(h);
  image.format = PNG_FORMAT_RGB;
  // The first call measures the file, the second writes it.
  png_alloc_size_t size = 0;
  std::vector<std::uint8_t> out;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
    out.resize(size);
    if (png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr)) {
      out.resize(size);
      return out;
    }
  }
  const std::string why = image.message;
  png_image_free(&image);
  throw platform::Exception("The picture could not be written as PNG: " + why);
}

}  // namespace skinview
