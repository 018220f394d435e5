// Windows BMP files: reading 1, 4, 8, 16, 24 and 32-bit uncompressed pictures with
// strict header checks, writing 8-bit (up to 256 colours) or 24-bit pictures.
// Also the whole-file helpers the skin tools read and write pictures with.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/Bitmap.h"

namespace platform {

using Bytes = std::vector<std::uint8_t>;

// Reads one BMP file image from the start of `data`. The image is exactly as long
// as its header's size field says; that length is stored in `consumed` when given.
// Throws EInvalidBitmap naming what is wrong.
Bitmap ReadBmp(std::span<const std::uint8_t> data, std::size_t* consumed = nullptr);
// A complete BMP file: 8 bits per pixel with a palette when the picture has at most
// 256 colours (palette in order of first appearance), 24 bits otherwise.
Bytes WriteBmp(const Bitmap& bitmap);

Bitmap LoadBmpFile(const std::string& path);
void SaveBmpFile(const Bitmap& bitmap, const std::string& path);

// Whole-file helpers on UTF-8 paths. Writing goes to a temporary file first and
// replaces the target only when complete, so no half-written file is left.
Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);
// Creates a folder and any missing parents.
void CreateFolders(const std::string& path);

}  // namespace platform
