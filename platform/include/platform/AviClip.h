// The frames of an AVI clip of the kind the animation control plays: one video
// stream, uncompressed (8, 16, 24 or 32 bits a pixel) or run-length encoded
// with 8 bits a pixel, each frame decoded into a bitmap.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Exception.h"

namespace platform {

// A clip that is not an AVI, is damaged, or uses a format this decoder does not read.
class EInvalidClip : public Exception {
 public:
  using Exception::Exception;
};

// Every frame of the clip's first video stream, in order. An empty frame
// chunk repeats the frame before it, as AVI files drop unchanged frames.
std::vector<Bitmap> DecodeAviFrames(std::span<const std::uint8_t> clip);

}  // namespace platform
