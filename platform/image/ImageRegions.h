#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// A readable range of the program's own loaded image.
struct ImageRegion {
    const uint8_t* start = nullptr;
    size_t length = 0;
};

// The loaded segments of the running executable (not of the shared libraries
// it uses), in address order. Every byte of every region can be read.
std::vector<ImageRegion> LoadedImageRegions();

} // namespace plat
