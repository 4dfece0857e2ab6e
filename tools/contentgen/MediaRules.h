#pragma once
#include "DataSet.h"
#include "Validator.h"

#include <cstdint>
#include <string>
#include <vector>

namespace contentgen {

// Loads the image library's JPEG-2000 codec in this process, as the game does
// at start; safe to call again. The tool runs without the game's platform,
// so it lends the loader a module table for the call.
void LoadPictureCodecs();

// A picture as the game's image library decodes it: 0xAARRGGBB pixels,
// rows from the top.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[size_t(y) * size_t(width) + size_t(x)]; }
};
// Decodes a picture file of the set by its extension; false when it does
// not decode.
bool DecodePicture(const std::string& path, const std::vector<uint8_t>& bytes, DecodedPicture& out);

// Every picture, sound and font of the set decodes with the game's own
// readers: pictures (.png .jpg .tga .gif .jp2) through the image library,
// waves through the wave reader and Ogg streams through the Ogg decoder,
// to their last sample; every picture a font description layers on is in
// the set. Each failure is one finding naming the file and the reason.
void CheckMediaDecode(const DataSet& data, std::vector<Finding>& findings);

} // namespace contentgen
