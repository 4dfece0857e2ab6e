#pragma once
#include <cstdint>

// Sizes the unit refuses before allocating: a file of a few bytes may ask for
// 65535 x 65535 pixels per frame.
namespace GIFImage::GIFLimits {

// A frame of one colour takes 2 bytes per 8000 pixels, and drawing it needs
// several bitmaps of its size: 2048 x 2048 per frame and 32 Mi pixels in all
// keep a file under a megabyte within a quarter of a gigabyte.
inline constexpr uint64_t kMaxFramePixels = 4ull << 20;
inline constexpr uint64_t kMaxImagePixels = 32ull << 20;
inline constexpr int kMaxScreenSize = 65535;

} // namespace GIFImage::GIFLimits
