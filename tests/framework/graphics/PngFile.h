#pragma once
// Reading and writing 8-bit RGBA PNG files for the golden images of the tests.
#include <cstdint>
#include <string>
#include <vector>

namespace Zelk {
namespace test {

// Pixels are 0xAARRGGBB.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels);
bool ReadPng(const std::string& path, int& width, int& height, std::vector<uint32_t>& pixels);

} // namespace test
} // namespace Zelk
