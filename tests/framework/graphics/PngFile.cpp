#include "PngFile.h"

#include <cstdio>
#include <png.h>

namespace Zelk {
namespace test {

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = uint32_t(width);
    image.height = uint32_t(height);
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba;
    for (uint32_t p : pixels) {
        rgba.push_back(uint8_t(p >> 16));
        rgba.push_back(uint8_t(p >> 8));
        rgba.push_back(uint8_t(p));
        rgba.push_back(uint8_t(p >> 24));
    }
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& pixels)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
        return false;
    width = int(image.width);
    height = int(image.height);
    pixels.clear();
    for (size_t i = 0; i + 3 < rgba.size(); i += 4)
        pixels.push_back(uint32_t(rgba[i + 3]) << 24 | uint32_t(rgba[i]) << 16 | uint32_t(rgba[i + 1]) << 8 |
                         rgba[i + 2]);
    return true;
}

} // namespace test
} // namespace Zelk
