// Fuzzes the readers of stored skins. The first byte picks the reader: the
// "Pictures" blob, compressed data as stored, the inflated layout of a compressed
// stored skin, a BMP file, or a form-data stream.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/BmpFile.h"
#include "platform/FormData.h"
#include "skSkinData.h"

namespace {

// Inflated data beyond this is rejected before loading, to keep runs fast.
constexpr std::size_t kFuzzInflateLimit = 16u << 20;

void Load(const skin::TskCompressedStoredSkin& packed) {
  skin::Bytes probe;
  packed.DecompressTo(probe, kFuzzInflateLimit);
  skin::TskSkinData skinData;
  skinData.LoadFromCompressedStoredSkin(packed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  try {
    switch (data[0] % 5) {
      case 0: {
        skin::TskStoredSkin stored;
        stored.ReadPicturesBlob(input);
        break;
      }
      case 1: {
        skin::TskCompressedStoredSkin packed;
        packed.SetCompressedData(skin::Bytes(input.begin(), input.end()));
        Load(packed);
        break;
      }
      case 2: {
        skin::TskCompressedStoredSkin packed;
        packed.SetCompressedData(skin::DeflateSkin(input));
        Load(packed);
        break;
      }
      case 3: {
        std::size_t used = 0;
        const platform::Bitmap b = platform::ReadBmp(input, &used);
        if (used > input.size() || b.Empty()) __builtin_trap();
        break;
      }
      case 4: {
        const platform::FormData form = platform::FormData::Load(input);
        if (platform::FormData::Load(form.Save()) != form) __builtin_trap();
        break;
      }
    }
  } catch (const platform::Exception&) {
  }
  return 0;
}
