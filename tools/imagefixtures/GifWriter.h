#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A small GIF writer for fixtures: one or more frames, optional transparency,
// frame delays and disposal, a loop block, interlacing, and an LZW encoder that either clears a full code table or
// keeps coding with it (a deferred clear).
namespace fixtures {

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> indices; // width x height, rows from the top
    bool interlaced = false;
    int transparent = -1;
    std::vector<uint32_t> localPalette; // empty: the global one
    int delay = 10;    // hundredths of a second
    int disposal = 0;  // the control block's disposal method
};

struct GifFile {
    int screenWidth = 0, screenHeight = 0;
    std::vector<uint32_t> palette; // 2, 4, ..., 256 entries
    int minCodeSize = 8;
    bool deferredClear = false;
    bool extras = false; // a comment and a looping extension before the frames
    int loopCount = -1;  // a NETSCAPE2.0 loop block with this count; -1: none
    std::vector<GifFrame> frames;
};

std::string EncodeGif(const GifFile& gif);

} // namespace fixtures
