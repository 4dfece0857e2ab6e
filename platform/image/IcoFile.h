#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// One picture of an icon file as 0xAARRGGBB rows, top row first.
struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
};

// Reads a Windows icon file (.ico): the directory of 16-byte entries and the
// largest picture in it, a device-independent bitmap (1, 4, 8, 24 or 32 bits
// per pixel, with its AND mask) or a PNG stream. Every size and offset is
// checked against the bytes there; false when nothing readable is found.
bool ReadIco(const uint8_t* data, size_t size, IconImage& out);

} // namespace plat
