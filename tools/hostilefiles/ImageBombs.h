#pragma once
#include <cstdint>
#include <string>

namespace hostile {

// Valid pictures of one colour, as large as their few bytes can describe.
// A PNG of black RGBA pixels (deflate holds about 1000 bytes in one).
std::string PngOfBlack(uint32_t width, uint32_t height);
// A grey JPEG of black (one code per 8 x 8 block).
std::string JpegOfBlack(uint32_t width, uint32_t height);
// A GIF of frames of one colour: LZW codes growing to the longest string
// the table holds (4091 pixels in 12 bits) and kept there. The screen is
// given apart, so that it may be larger than the frames.
std::string GifOfOneColour(uint16_t screenWidth, uint16_t screenHeight, uint16_t frameWidth, uint16_t frameHeight,
                           int frames);

// Headers that claim a picture and bring almost no data.
std::string TgaClaiming(uint16_t width, uint16_t height);
std::string BmpClaiming(int32_t width, int32_t height, uint16_t bits);

} // namespace hostile
