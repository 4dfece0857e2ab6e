#pragma once
#include <cstdint>
#include <vector>

namespace contentgen {

// A PNG of one colour (0xAARRGGBB) at width x height: the stand-in
// pictures of the fixture office.
std::vector<uint8_t> PlainPng(int width, int height, uint32_t argb);

} // namespace contentgen
