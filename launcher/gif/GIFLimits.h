#pragma once
#include <cstdint>

// Sizes the unit refuses before allocating: a file of a few bytes may ask for
// 65535 x 65535 pixels per frame.
namespace GIFImage::GIFLimits {

inline constexpr uint64_t kMaxFramePixels = 64ull << 20;
inline constexpr uint64_t kMaxImagePixels = 512ull << 20;
inline constexpr int kMaxScreenSize = 65535;

} // namespace GIFImage::GIFLimits
