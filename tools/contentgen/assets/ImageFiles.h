#pragma once
#include "assets/Picture.h"

#include <cstdint>
#include <vector>

// Pictures as the files the game reads. PNG and JPEG go through the
// framework's own writers, GIF through the image fixtures' writer.
namespace contentgen {

std::vector<uint8_t> EncodePng(const Picture& p);
// Opaque: alpha is dropped (JPEG has none).
std::vector<uint8_t> EncodeJpeg(const Picture& p);
// 32-bit true colour, rows from the top (descriptor 0x28: 8 alpha bits).
std::vector<uint8_t> EncodeTga(const Picture& p);
// At most 255 colours (the most used ones; the rest take the nearest) and a
// transparent index for pixels with alpha below one half.
std::vector<uint8_t> EncodeGif(const Picture& p);
// JPEG-2000 in its JP2 box format, lossless, opaque.
std::vector<uint8_t> EncodeJp2(const Picture& p);
// The alpha channel alone as a grey PNG (the loaders' separate alpha image:
// its blue channel is the alpha).
std::vector<uint8_t> EncodeAlphaMask(const Picture& p);

} // namespace contentgen
