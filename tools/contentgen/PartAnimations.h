#pragma once
#include "DataSet.h"
#include "OfficeModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace contentgen {

// The animation files of the parts and their pictures, from the office
// model's tables: anm\<part>.anm through the makeanm writer, and one picture
// per part and skin, images\anm\<part>.png or images\anm\<part>_<skin>.png.
// A picture has a row per clip and a frame per column, each frame a plain
// colour of its own (PartFrameColour), so a drawing tells frames apart; the
// orientations of a clip share its row. False with a message when the
// writer refuses a table or warns about it.
bool AddPartAnimations(const std::vector<PartAnimationTable>& tables, DataSet& data, std::string& error);

// The colour 0xAARRGGBB of frame `frame` of the clip in row `clip` of a
// part's pictures: opaque, red from the row, green from the frame, blue from
// the part's name.
uint32_t PartFrameColour(const std::string& part, size_t clip, int frame);

} // namespace contentgen
