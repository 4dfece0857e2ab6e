#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace Zelk {

// The video-memory report of the debug keys.
struct VideoStats {
    bool is3D = false;       // the display draws in 3D
    bool haveTester = false; // a 3D capability test exists
    bool testFailed = false; // it gave a failure reason
    bool testWarned = false; // it gave a warning
    int32_t numImages = 0;
    int32_t numSounds = 0;
    int64_t videoTotal = 0; // bytes; 0 without a display that can tell
    int64_t videoFree = 0;
    struct Textures {
        int32_t count = 0;
        int64_t bytes = 0;
    };
    std::map<int32_t, Textures> textures; // by pixel format code

    // "Unsupported", "Supported" (a warning only) or "Recommended".
    std::string SupportWord() const;
    // The report's text; sizes in KB (truncated), with thousands separated.
    std::string Text() const;
};

} // namespace Zelk
