#pragma once
#include "tools/makeanm/AnmFile.h"

#include <string>

namespace makeanm {

// Reads the text form (AnmWriter.h describes it) into records; false with a
// message naming the line for a statement it cannot read. Values are not
// judged here: WriteAnm refuses what a sound file cannot hold.
bool ParseAnmText(const std::string& text, AnmFile& file, std::string& error);

} // namespace makeanm
