#pragma once
#include "Validator.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace contentgen {

// What the validator knows of a picture a record names: found (its data
// path), and its size when its header reads (width and height -1 when not).
struct PictureInfo {
    bool found = false;
    std::string path;
    int width = -1;
    int height = -1;
};
using PictureLookup = std::function<PictureInfo(const std::string& name)>;

// The rules an animation file (anm\<part>.anm) obeys, each broken one a
// finding named by the record's animation name: the file reads with the
// game's own reader (AnmFile); names have 1 to 63 bytes (room for the NUL);
// the picture lies in the data, below the game's folder (no "..", no root);
// only modes 0 (cycle) and 1 (once), the only ones the game's data uses (the
// game would play 2 once backward); fps above 0 except for a still (one
// frame in mode 0), and above 0 always in the parts of the boss and the
// workers; a once-animation has two frames at least, and an animation whose
// end the game waits for plays once; at least one frame, every
// frame of some size and inside its picture; and every record is found by
// its own name (no earlier record's name contains it); at most 4096 records.
void CheckAnimationFile(const std::string& path, const std::vector<uint8_t>& bytes, const PictureLookup& picture,
                        std::vector<Finding>& findings);

} // namespace contentgen
