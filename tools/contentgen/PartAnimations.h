#pragma once
#include "DataSet.h"
#include "OfficeModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace contentgen {

// How the parts' frames look: drawn by the art kit (the game's data), or each
// frame a plain colour of its own (PartFrameColour), so that a test's drawing
// tells frames apart (the fixture office).
enum class PartArtStyle { Drawn, PlainColours };

// The animation files of the parts and their pictures, from the office
// model's tables: anm\<part>.anm through the makeanm writer, and one sprite
// sheet per part and skin, images\anm\<part>.png or
// images\anm\<part>_<skin>.png, its frames packed shelf by shelf (plain
// frames are shared by a clip's orientations). False with a message when the
// writer refuses a table or warns about it.
bool AddPartAnimations(const std::vector<PartAnimationTable>& tables, PartArtStyle style, DataSet& data,
                       std::string& error);

// The colour 0xAARRGGBB of frame `frame` of the clip in row `clip` of a
// part's pictures: opaque, red from the row, green from the frame, blue from
// the part's name.
uint32_t PartFrameColour(const std::string& part, size_t clip, int frame);

} // namespace contentgen
