#pragma once
#include <cstdint>
#include <string>

namespace hostile {

// The shape of a JPEG-2000 codestream made by hand: one tile-part per tile,
// one quality layer, one precinct per resolution, and nothing coded (every
// packet empty), so a picture of any size takes a few bytes plus padding.
struct J2kShape {
    uint32_t width = 16, height = 16;
    uint32_t tileWidth = 0, tileHeight = 0; // 0: the whole picture
    uint16_t components = 3;
    int codeBlockExponent = 6;              // 2 to 10: code-blocks of 2^n x 2^n
    int decompositions = 0;                 // resolution levels - 1
    size_t padding = 0;                     // bytes of a comment segment in the main header
    // A code-block size for the tile-part headers alone (their own COD
    // segment); 0: the tiles take the main header's.
    int tileCodeBlockExponent = 0;
};

// A bare J2K codestream (SOC ... EOC) of that shape.
std::string J2kCodestream(const J2kShape& shape);
// The same with no decomposition, in tiles of tile x tile pixels (0: one
// tile).
std::string J2kCodestream(uint32_t width, uint32_t height, uint16_t components, int codeBlockExponent,
                          int tileCodeBlockExponent, size_t padding, uint32_t tile = 0);

} // namespace hostile
